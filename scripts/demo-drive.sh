#!/usr/bin/env bash
# Runs inside the headless display of scripts/demo.sh: opens the host with the screen, then does what a
# person would do first (types company, manual and service of the demo and leaves the panel, which
# loads the service's sub-groups) and saves a picture of the screen.
#   demo-drive.sh <screenshot.png> <host command...>
set -euo pipefail
shot=$1
shift
"$@" &
host_pid=$!
trap 'kill "$host_pid" 2>/dev/null || true; wait "$host_pid" 2>/dev/null || true' EXIT
sleep "${QMV_DEMO_START_WAIT:-3}"
kill -0 "$host_pid" 2>/dev/null || { echo "demo: the host program ended early" >&2; exit 1; }

type_field() {
  xdotool type --delay 80 "$1"
  sleep 0.3
  xdotool key Tab
  sleep 1
}
# The company box of the screen's child window as the shell places it on a fresh desktop.
xdotool mousemove 120 133 click 1
sleep 0.5
type_field "${QMV_DEMO_COMPANY:-CAZUL}"
type_field "${QMV_DEMO_MANUAL:-1}"
type_field "${QMV_DEMO_SERVICE:-104001}"
xdotool key Tab   # leaving the panel loads the sub-groups
sleep 2
import -window root "$shot"
