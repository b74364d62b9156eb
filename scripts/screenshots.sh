#!/usr/bin/env bash
# Pictures of the screens, headless under Xvfb, into screenshots/. Builds the picture tests
# (tests/Cli_qmv00500/screenshots_test.cpp: the main screen on the in-process server with the test
# selection loaded) and runs them on a real X display, so that widgets paint as a person sees them.
# Add a screen's pictures as another test there; they are saved as:
#   equipment-inclusion.png  "Inclusão de Equipamentos" with ticked and unticked rows
#   equipment-list.png       the "Equipamentos" sheet with the equipment of the first sub-group
#   products-list.png        the "Produto/Receita" page of the first sub-group
#   QMV_SHOTS_FILTER  a GoogleTest filter to take only some pictures (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
case "$BUILD_DIR" in /*) build="$BUILD_DIR" ;; *) build="$root/$BUILD_DIR" ;; esac

BUILD_DIR="$build" bash scripts/build.sh --target screenshots_test
mkdir -p "$root/screenshots"
# Under a window manager, so that the screens become active as on a desktop.
QMV_SCREENSHOTS="$root/screenshots" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    openbox >/dev/null 2>&1 & wm=$!
    sleep 1
    "$@"; rc=$?
    kill "$wm" 2>/dev/null
    exit "$rc"' screenshots \
  "$build/tests/Cli_qmv00500/screenshots_test" --gtest_filter="${QMV_SHOTS_FILTER:-*}"
echo "screenshots: saved in $root/screenshots"
