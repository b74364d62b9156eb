#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz/ and runs each for the given
# number of seconds (default 60), one after another, on one core. Seeds: fuzz/corpus/<target> and,
# for the RTF reader, tests/data/rtf; what a run learns stays in build-fuzz/corpus/<target>.
# A crash, leak or hang leaves its input in build-fuzz/findings/<target>/ and fails the script.
# Usage: scripts/fuzz.sh [seconds] [target...]
#   FUZZ_TIMEOUT  seconds one input may take before it counts as a hang (default 10; raise it for a
#                 long run at low priority on a busy machine, where a starved process looks hung)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
all=(fuzz_packet fuzz_changeset fuzz_envelope fuzz_wire fuzz_router fuzz_rtf fuzz_web)
targets=("${@:-${all[@]}}")
[ $# -gt 0 ] || targets=("${all[@]}")
dir=${FUZZ_BUILD_DIR:-build-fuzz}
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$PWD")}
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CXX=clang++ cmake -S fuzz -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}" >/dev/null
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
for t in "${targets[@]}"; do
  work="$dir/corpus/$t" findings="$dir/findings/$t"
  mkdir -p "$work" "$findings"
  seeds=()
  [ -d "fuzz/corpus/$t" ] && seeds+=("fuzz/corpus/$t")
  [ "$t" = fuzz_rtf ] && seeds+=(tests/data/rtf)
  log="$dir/$t.log"
  if "$dir/$t" "$work" "${seeds[@]}" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-10}" -report_slow_units="${FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1; then
    status=ok
  else
    status=FAILED; failed=1
  fi
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo 0)
  echo "$t: $status, ${seconds}s, $execs executions, coverage $cov, corpus $(ls "$work" | wc -l), findings $(ls "$findings" | wc -l)"
  [ $status = ok ] || tail -40 "$log"
done
exit $failed
