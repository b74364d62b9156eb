#!/usr/bin/env bash
# The main job: builds everything, creates a demo database, starts the application server on it and
# opens the "Foto Montagem do Manual" screen (QMV00500) in the host shell. Without a display the shell
# runs under Xvfb with openbox and saves four pictures in screenshots/: the company list opened by "..."
# from the empty panel (qmv00500-lista.png), a demo selection typed and loaded (qmv00500.png), the order
# of its second sub-group edited, sent and read back by Verify (qmv00500-ordem.png), and the same
# selection on a 640x480 screen (qmv00500-640x480.png). The server is stopped on exit.
#   QMV_DEMO_DIR   where the demo database and the host's INI go (default: a temporary folder)
#   QMV_DEMO_PORT  the server's port (default: a free one)
#   QMV_DEMO_COMPANY, QMV_DEMO_MANUAL, QMV_DEMO_SERVICE  what the headless run types (default CAZUL, 1, 104001)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
case "$BUILD_DIR" in /*) build="$BUILD_DIR" ;; *) build="$root/$BUILD_DIR" ;; esac

bash scripts/deps.sh
BUILD_DIR="$build" bash scripts/build.sh

work=${QMV_DEMO_DIR:-$(mktemp -d)}
mkdir -p "$work"
source scripts/demoserver.sh
cleanup() {
  stop_demo_server
  [ -n "${QMV_DEMO_DIR:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
demo_server "$build" "$work" 8211 8299

host=("$build/bin/qmvhost" --config "$ini" --packages "$build/bin" --open QMV00500)
if [ -n "${DISPLAY:-}" ]; then
  "${host[@]}"
else
  mkdir -p screenshots
  export XDG_CONFIG_HOME="$work/config"   # the shell's remembered size stays with the demo
  xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" \
    bash scripts/demo-drive.sh full "$root/screenshots" "${host[@]}"
  rm -rf "$XDG_CONFIG_HOME"
  xvfb-run -a -s "-screen 0 640x480x24 -dpi 96" \
    bash scripts/demo-drive.sh small "$root/screenshots" "${host[@]}"
  echo "demo: screenshots/qmv00500-lista.png, qmv00500.png, qmv00500-ordem.png and qmv00500-640x480.png saved"
fi
