#!/usr/bin/env bash
# Fails when the project's own libraries depend on each other in a circle. Static libraries would
# otherwise link such a circle silently. Reads the dependency graph that `cmake --graphviz` writes for
# the build directory (BUILD_DIR, default build).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cmake --graphviz="$out/graph.dot" "$BUILD_DIR" >/dev/null
python3 - "$out/graph.dot" <<'PY'
import re, sys
nodes, edges = {}, {}
for line in open(sys.argv[1]):
    if m := re.match(r'\s*"(node\d+)" \[ label = "([^"]+)"', line):
        nodes[m[1]] = m[2]
    elif m := re.match(r'\s*"(node\d+)" -> "(node\d+)"', line):
        edges.setdefault(m[1], set()).add(m[2])
# Only targets built from this checkout take part; Qt and system libraries cannot close a circle here.
ours = {n for n, name in nodes.items() if re.match(r'(qmv|Cli_qmv)', name)}
state, stack, cycles = {}, [], []
def visit(n):
    state[n] = 1
    stack.append(n)
    for m in sorted(edges.get(n, ())):
        if m not in ours:
            continue
        if state.get(m) == 1:
            cycles.append(stack[stack.index(m):] + [m])
        elif m not in state:
            visit(m)
    stack.pop()
    state[n] = 2
sys.setrecursionlimit(10000)
for n in sorted(ours):
    if n not in state:
        visit(n)
for c in cycles:
    print("dependency cycle: " + " -> ".join(nodes[n] for n in c), file=sys.stderr)
sys.exit(1 if cycles else 0)
PY
echo "library graph: no cycle"
