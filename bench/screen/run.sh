#!/usr/bin/env bash
# The screen benchmark of this build against a baseline build of the same benchmark (the commit
# before a change, built from the same bench/ sources), run one after the other on this machine;
# prints each median of five repetitions, the ratio after/before, and the targets (1,000 sub-groups <= 100 ms, 10,000 <= 1 s,
# page switch <= 50 ms). Builds nothing.
#   bench/screen/run.sh BASELINE_BENCH_SCREEN [CURRENT_BENCH_SCREEN]
set -euo pipefail
cd "$(dirname "$0")/../.."
baseline=${1:?usage: bench/screen/run.sh BASELINE_BENCH_SCREEN [CURRENT_BENCH_SCREEN]}
current=${2:-${BUILD_DIR:-build}/bench/screen/bench_screen}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
repeat=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
"$baseline" "${repeat[@]}" --benchmark_format=json >"$out/before.json" 2>"$out/before.err" || { cat "$out/before.err" >&2; exit 1; }
"$current" "${repeat[@]}" --benchmark_format=json >"$out/after.json" 2>"$out/after.err" || { cat "$out/after.err" >&2; exit 1; }
python3 - "$out/before.json" "$out/after.json" <<'PY'
import json, sys
def times(path):
    return {b["run_name"].split("/iterations")[0]: b["real_time"]
            for b in json.load(open(path))["benchmarks"] if b.get("aggregate_name") == "median"}
before, after = times(sys.argv[1]), times(sys.argv[2])
labels = {"BM_LeaveServiceToGridPainted/1": ("10 sub-grupos", None),
          "BM_LeaveServiceToGridPainted/2": ("1.000 sub-grupos", 100),
          "BM_LeaveServiceToGridPainted/3": ("10.000 sub-grupos", 1000),
          "BM_PageSwitchWithPhoto": ("troca de página com foto", 50)}
ok = True
print(f"{'medida':28} {'antes ms':>10} {'depois ms':>10} {'depois/antes':>13}  meta")
for name, (label, target) in labels.items():
    b, a = before.get(name), after.get(name)
    if b is None or a is None:
        print(f"{label:28} sem medida"); ok = False; continue
    verdict = "" if target is None else (f"<= {target} ms " + ("OK" if a <= target else "FALHOU"))
    ok = ok and (target is None or a <= target)
    print(f"{label:28} {b:10.1f} {a:10.1f} {a / b:13.2f}  {verdict}")
sys.exit(0 if ok else 1)
PY
