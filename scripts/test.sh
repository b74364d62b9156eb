#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds, starts PostgreSQL, runs every test, in CI
# the Debian packages' test (scripts/packaging-test.sh) and a short fuzzing round.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
bash scripts/check-graph.sh
source scripts/postgres.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j "$(nproc)" --timeout 300
# The Debian packages installed, upgraded and purged on this machine: only where that is wanted.
if [ "${CI:-}" = true ] || [ "${QMV_PACKAGING_TEST:-}" = 1 ]; then
  bash scripts/packaging-test.sh
fi
# Each fuzz target for 20 s from its seeds (its own clang build, only the targets and their libraries).
bash scripts/fuzz.sh 20
