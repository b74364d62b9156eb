#!/usr/bin/env bash
# Configures and builds everything into build/ (BUILD_DIR overrides). Uses ccache when the machine
# has it, with paths taken relative to the checkout's parent so that worktrees share the cache.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$PWD")}
  export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}  # worktrees share hits despite -g
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
