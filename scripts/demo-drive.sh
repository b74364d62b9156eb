#!/usr/bin/env bash
# Runs inside a headless display of scripts/demo.sh: opens the host with the screen, does what a person
# would do first and saves pictures of the screen.
#   demo-drive.sh full  <folder> <host command...>   the company's list opened by "..." from the empty
#                                                    panel (qmv00500-lista.png), then a demo selection
#                                                    typed and loaded (qmv00500.png), then the order
#                                                    of the second sub-group edited, the row left and
#                                                    the list verified (qmv00500-ordem.png)
#   demo-drive.sh small <folder> <host command...>   on a 640x480 screen: a demo selection loaded in the
#                                                    maximised screen (qmv00500-640x480.png)
set -euo pipefail
mode=$1
folder=$2
shift 2
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1
"$@" &
host_pid=$!
trap 'kill "$host_pid" "$wm_pid" 2>/dev/null || true; wait "$host_pid" 2>/dev/null || true' EXIT
sleep "${QMV_DEMO_START_WAIT:-3}"
kill -0 "$host_pid" 2>/dev/null || { echo "demo: the host program ended early" >&2; exit 1; }

type_field() {
  xdotool type --delay 80 "$1"
  sleep 0.3
  xdotool key Tab
  sleep 1
}
# The screen opens with the focus on the company: the selection is typed from there.
load_selection() {
  type_field "${QMV_DEMO_COMPANY:-CAZUL}"
  type_field "${QMV_DEMO_MANUAL:-1}"
  type_field "${QMV_DEMO_SERVICE:-104001}"   # leaving the panel loads the sub-groups
  sleep 2
}

case "$mode" in
  full)
    # The company's "..." button of the screen as the maximised shell places it.
    xdotool mousemove "${QMV_DEMO_LIST_X:-189}" "${QMV_DEMO_LIST_Y:-148}" click 1
    sleep 2
    import -window root "$folder/qmv00500-lista.png"
    xdotool key Escape
    sleep 1
    load_selection
    import -window root "$folder/qmv00500.png"
    # Leaving the panel puts the focus on the page tabs; Tab enters the sub-group grid on the first
    # row's order. The second row's order is typed over, the row left (which sends it) and the list
    # read again from the server.
    xdotool key Tab
    sleep 0.5
    xdotool key Down
    sleep 0.5
    xdotool type --delay 80 "${QMV_DEMO_ORDER:-9}"
    xdotool key Return Down
    sleep 1
    xdotool key alt+m
    sleep 0.5
    xdotool key v
    sleep 2
    import -window root "$folder/qmv00500-ordem.png"
    ;;
  small)
    load_selection
    import -window root "$folder/qmv00500-640x480.png"
    ;;
  *) echo "demo: unknown mode $mode" >&2; exit 2 ;;
esac
