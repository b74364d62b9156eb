#!/usr/bin/env bash
# Pictures of the manual emission (QMV01200), headless under Xvfb, into screenshots/:
#   emission-window.png   the emission screen opened from the main screen's "Emissão do Manual" with the
#                         demo selection loaded (the shell loads libqmv01200.so through LoadBPL)
#   emission-page-1.png, emission-page-2.png   the first two pages of the largest demo manual's PDF,
#                         written by bench_emission (which also prints its time and memory) and
#                         rendered by pdftoppm
# Uses the demo database and server of scripts/demo.sh's kind on a free port.
#   QMV_SHOT_BUTTON   "x y" of the main screen's "Emissão do Manual" button on the 1280x800 desktop
set -euo pipefail
self="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
cd "$(dirname "$0")/.."
root=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
case "$BUILD_DIR" in /*) build="$BUILD_DIR" ;; *) build="$root/$BUILD_DIR" ;; esac
shots="$root/screenshots"

if [ "${1:-}" = "--drive" ]; then
  # Inside the headless display: the main screen, the demo selection typed, then the emission button.
  shift
  shot=$1
  shift
  "$@" &
  host_pid=$!
  trap 'kill "$host_pid" 2>/dev/null || true; wait "$host_pid" 2>/dev/null || true' EXIT
  sleep 3
  kill -0 "$host_pid" 2>/dev/null || { echo "screenshots: the host program ended early" >&2; exit 1; }
  xdotool mousemove 120 133 click 1
  sleep 0.5
  for field in CAZUL 1 104001; do
    xdotool type --delay 60 "$field"
    sleep 0.3
    xdotool key Tab
    sleep 1
  done
  xdotool key Tab
  sleep 2
  read -r bx by <<<"${QMV_SHOT_BUTTON:-260 77}"
  xdotool mousemove "$bx" "$by" click 1
  sleep 3
  import -window root "$shot"
  exit 0
fi

bash scripts/deps.sh
BUILD_DIR="$build" bash scripts/build.sh --target appserver qmvhost qmv00500 qmv01200 bench_emission

work=$(mktemp -d)
source scripts/demoserver.sh
trap 'stop_demo_server; rm -rf "$work"' EXIT
demo_server "$build" "$work" 8311 8399

mkdir -p "$shots"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$self" --drive "$shots/emission-window.png" \
  "$build/bin/qmvhost" --config "$ini" --packages "$build/bin" --open QMV00500

QMV_EMISSION_PDF="$shots/emission-demo.pdf" "$build/bench/emission/bench_emission"
for page in 1 2; do
  pdftoppm -f "$page" -l "$page" -singlefile -r 70 -png "$shots/emission-demo.pdf" "$shots/emission-page-$page"
done
echo "screenshots: emission-window.png, emission-page-1.png, emission-page-2.png in $shots"
