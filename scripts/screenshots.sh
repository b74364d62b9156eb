#!/usr/bin/env bash
# Pictures of the screens, headless under Xvfb, into screenshots/, on a demo database and server
# started here on a free port. Each picture is a drive_<name> function below that does what a person
# would do from the opened main screen; add yours as another function and name it in PICTURES.
#   scripts/screenshots.sh [name...]   the pictures to take (default: all of PICTURES)
#   QMV_SHOT_NO_BUILD=1   use the programs already built in BUILD_DIR
#   instructions   the "Instruções de Montagem" sheet of a demo sub-group that has instructions, with
#                  its formatting bar (screenshots/instructions.png)
#   photo_fitted, photo_own_size   the "Foto Sub-Grupo" page on a demo sub-group with a photo, the
#                  picture fitted to its area and at its own size (screenshots/photo_*.png)
#   photo_auto_display   the automatic display one tick after its start, on the next sub-group,
#                  one with a photo (screenshots/photo_auto_display.png)
#   lists          taken by tests/Cli_qmv00500/screenshots_test.cpp on the test selection, under
#                  openbox: "Inclusão de Equipamentos" with ticked and unticked rows
#                  (equipment-inclusion.png), the "Equipamentos" sheet (equipment-list.png) and the
#                  "Produto/Receita" page (products-list.png)
#   dates          also from the tests: "Dados Adicionais" with the weekdays shown
#                  (additional-data.png) and the observation editor with formatted text
#                  (observation-editor.png)
#   dialogs        also from the tests: the filter with its choices (filter.png) and the photo import
#                  filled in for an origin manual (import.png)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
case "$BUILD_DIR" in /*) build="$BUILD_DIR" ;; *) build="$root/$BUILD_DIR" ;; esac
PICTURES=(instructions photo_fitted photo_own_size photo_auto_display lists dates dialogs)

# --- inside the headless display ---------------------------------------------------------------

type_field() {
  xdotool type --delay 60 "$1"
  sleep 0.3
  xdotool key Tab
  sleep 1
}

# The demo selection typed into the panel of a fresh main screen, then the panel left.
load_demo_service() {
  xdotool mousemove 120 133 click 1
  sleep 0.5
  type_field CAZUL
  type_field 1
  type_field 104001
  xdotool key Tab
  sleep 2
}

# The page "Foto Sub-Grupo" on the sub-group of the grid row given (0-based). A click on the grid's
# first row leaves the panel (the sub-groups load) and the keys move down from there.
open_photo_page() {
  load_demo_service
  xdotool mousemove 60 241 click 1
  sleep 2.5
  for _ in $(seq 1 "$1"); do
    xdotool key Down
    sleep 0.4
  done
  xdotool mousemove 151 213 click 1
  sleep 2.5
}

# The inner sheet at creation is "Instruções de Montagem": the first sub-group with instructions.
drive_instructions() {
  open_photo_page "$QMV_SHOT_ROW"
}

drive_photo_fitted() {
  open_photo_page "$QMV_SHOT_PHOTO_ROW"
}

# "Ajustar" unticked.
drive_photo_own_size() {
  open_photo_page "$QMV_SHOT_PHOTO_ROW"
  read -r ax ay <<<"${QMV_SHOT_FIT_BOX:-79 240}"
  xdotool mousemove "$ax" "$ay" click 1
  sleep 1
}

# Started on the first sub-group, "Exibição Automática" down until it reaches the later sub-group
# with a photo of QMV_SHOT_AUTO_ROW, one row every 2 s.
drive_photo_auto_display() {
  open_photo_page 0
  read -r bx by <<<"${QMV_SHOT_AUTO_BUTTON:-237 77}"
  xdotool mousemove "$bx" "$by" click 1
  xdotool mousemove 1000 700
  sleep "$((2 * QMV_SHOT_AUTO_ROW)).8"
}

if [ "${1:-}" = "--drive" ]; then
  name=$2
  shot=$3
  shift 3
  "$@" &
  host_pid=$!
  trap 'kill "$host_pid" 2>/dev/null || true; wait "$host_pid" 2>/dev/null || true' EXIT
  sleep 3
  kill -0 "$host_pid" 2>/dev/null || { echo "screenshots: the host program ended early" >&2; exit 1; }
  "drive_$name"
  import -window root "$shot"
  exit 0
fi

# --- outside: build, demo database, server ------------------------------------------------------

if [ -z "${QMV_SHOT_NO_BUILD:-}" ]; then
  bash scripts/deps.sh
  BUILD_DIR="$build" bash scripts/build.sh --target appserver qmvhost qmv00500 screenshots_test
fi
# Pictures that a test takes on the in-process server, under a window manager so the screens become active.
shoot_from_tests() {
  QMV_SCREENSHOTS="$root/screenshots" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    openbox >/dev/null 2>&1 & wm=$!
    sleep 1
    "$@"; rc=$?
    kill "$wm" 2>/dev/null
    exit "$rc"' screenshots "$build/tests/Cli_qmv00500/screenshots_test" --gtest_filter="$1"
}

work=$(mktemp -d)
source scripts/demoserver.sh
trap 'stop_demo_server; rm -rf "$work"' EXIT
demo_server "$build" "$work" 8411 8499

# The grid row of the demo service's first sub-group with instructions (the list is in code order).
if [ -z "${QMV_SHOT_ROW:-}" ]; then
  QMV_SHOT_ROW=$(sqlite3 "$db" "
    SELECT COUNT(*) FROM SUBGRUSEMA SM JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
      JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
     WHERE SM.CDFILIAL = '0001' AND SM.CDCIA = '0001' AND SM.CDMANCIA = '0001'
       AND S.CDARVSERV = '1.04.001'
       AND SG.CDSUBARV < (SELECT MIN(SG2.CDSUBARV) FROM SUBGRUSEMA SM2
                            JOIN SUBGRUPO SG2 ON SG2.CDSUBGRU = SM2.CDSUBGRU
                            JOIN SERVICO S2 ON S2.CDSERVICO = SM2.CDSERVICO
                            JOIN FOTOSUBMA I ON I.CDPRODUTO = SM2.CDSUBGRU AND I.CDESPEPROD = SM2.CDESPEPRODSG
                           WHERE SM2.CDFILIAL = '0001' AND SM2.CDCIA = '0001' AND SM2.CDMANCIA = '0001'
                             AND S2.CDARVSERV = '1.04.001')")
  export QMV_SHOT_ROW
fi

# The grid rows of the demo service's sub-groups with a photo: the first after the first row for the
# photo pictures, a later one for the automatic display.
photo_rows=$(sqlite3 "$db" "
  SELECT row FROM (
    SELECT ROW_NUMBER() OVER (ORDER BY SG.CDSUBARV) - 1 AS row,
           EXISTS (SELECT 1 FROM FOTOSEMA F WHERE F.CDPRODUTO = SM.CDSUBGRU
                      AND F.CDESPEPROD = SM.CDESPEPRODSG AND F.FGESPEPROD IS NOT NULL) AS photo
      FROM SUBGRUSEMA SM JOIN SUBGRUPO SG ON SG.CDSUBGRU = SM.CDSUBGRU
      JOIN SERVICO S ON S.CDSERVICO = SM.CDSERVICO
     WHERE SM.CDFILIAL = '0001' AND SM.CDCIA = '0001' AND SM.CDMANCIA = '0001'
       AND S.CDARVSERV = '1.04.001')
   WHERE photo AND row >= 1 ORDER BY row LIMIT 2")
: "${QMV_SHOT_PHOTO_ROW:=$(sed -n 1p <<<"$photo_rows")}"
: "${QMV_SHOT_AUTO_ROW:=$(sed -n 2p <<<"$photo_rows")}"
export QMV_SHOT_PHOTO_ROW QMV_SHOT_AUTO_ROW
echo "screenshots: photo rows $QMV_SHOT_PHOTO_ROW and $QMV_SHOT_AUTO_ROW"

mkdir -p screenshots
host=("$build/bin/qmvhost" --config "$ini" --packages "$build/bin" --open QMV00500)
names=("$@")
[ ${#names[@]} -gt 0 ] || names=("${PICTURES[@]}")
for name in "${names[@]}"; do
  case "$name" in
    lists) shoot_from_tests 'Screenshots.EquipmentInclusionAndProducts'; continue ;;
    dates) shoot_from_tests 'Screenshots.AdditionalDataAndObservation'; continue ;;
    dialogs) shoot_from_tests 'Screenshots.FilterAndImport'; continue ;;
  esac
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --drive "$name" "$root/screenshots/$name.png" "${host[@]}"
  echo "screenshots: screenshots/$name.png"
done
