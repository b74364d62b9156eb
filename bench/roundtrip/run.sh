#!/usr/bin/env bash
# The round-trip benchmark with the peer endpoint: installs the peer's dependencies when they are
# missing (bench/peer/install.sh), then runs bench_roundtrip, which starts the peer on its own
# database and stops it at the end. Builds nothing: build bench_roundtrip first
# (bash scripts/build.sh --target bench_roundtrip). Extra arguments go to the benchmark.
#   bench/roundtrip/run.sh [--benchmark_filter=...]
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${BUILD_DIR:-build}
if [ ! -x "$BUILD_DIR/bench/roundtrip/bench_roundtrip" ]; then
  echo "bench/roundtrip: no $BUILD_DIR/bench/roundtrip/bench_roundtrip; build it with" \
       "bash scripts/build.sh --target bench_roundtrip" >&2
  exit 1
fi
bash bench/peer/install.sh
QMV_BENCH_PEER="$PWD/bench/peer" "$BUILD_DIR/bench/roundtrip/bench_roundtrip" "$@"
