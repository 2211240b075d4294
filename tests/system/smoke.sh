#!/usr/bin/env bash
# The smoke test of the whole program: builds a program folder with the full
# material, starts the real program on a virtual screen and uses it as a
# therapist does: adds a patient, types a name with Polish letters, ticks WY,
# starts a therapy (answers tasks, stops, "Tak" when a therapy window is
# there), sees the statistics page, switches to grey and back, and leaves with
# "Tak". Screenshots of each screen go to $BUILD_DIR/screenshots/smoke-*.png.
#
#   BUILD_DIR=build tests/system/smoke.sh               # 1280x1024
#   SMOKE_ALL_SIZES=1 BUILD_DIR=build tests/system/smoke.sh   # also 1024x768, 800x600
#   SMOKE_DATA=<dir> (or SYSTEM_DATA=<dir>, shared by the system scripts)
#   reuses (and keeps) a program folder built before.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
exe="$build/loquena"
need_files smoke "$exe" "$build/tools/datagen/loquena-data"
need_tools smoke xvfb-run xdotool import
make_work_dir smoke
shots="$(shots_dir)"
data="$(program_data smoke "${SYSTEM_DATA:-${SMOKE_DATA:-$work/data}}")"

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
lib="$1"; exe="$2"; data="$3"; shots="$4"; W="$5"; H="$6"; work="$7"
unset QT_QPA_PLATFORM
source "$lib"
SHOT_PREFIX=smoke
prog="$work/prog-$W"
make_program_folder "$data" "$exe" "$prog"

cd "$prog"
start_program "$work/out-$W.log"
shot main

click start; settle 0.5 "start without a patient"
answer OK
click add; settle 0.5 "add"
type_text "  Łukasiewicz Żaneta Gęślą  "; xdotool key Return
settle 0.5 "name"
shot patient
click wy; settle 0.3 "tick WY"
shot ticked
click start; settle 2 "therapy"
shot therapy
# The therapy window covers the screen while the therapy runs: answer a few
# tasks by clicking on the names under the picture, then stop and confirm
# the end with "Tak" on the result window.
therapy=""
for id in $(xdotool search --onlyvisible --classname loquena 2>/dev/null || true); do
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$id" != "$main" ] && [ "${WIDTH}x${HEIGHT}" = "${W}x${H}" ] && therapy="$id"
done
if [ -n "$therapy" ]; then
  xdotool windowfocus "$therapy" 2>/dev/null || true
  # The three names' places (left, right, below): one of them is right.
  for task in 1 2; do
    for p in "26 74" "73 74" "50 88"; do
      set -- $p
      xdotool mousemove --sync $((W * $1 / 100)) $((H * $2 / 100)) click 1
      sleep 0.4; alive "task $task"
    done
    sleep 2.5
  done
  shot task
  p=($(geo stop)); xdotool mousemove --sync "${p[0]}" "${p[1]}" click 1; settle 1 "stop"
  shot results
  id="$(window_of_size "$(screen_size 524 554)")" || { echo "FAIL $W: no result window" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove --sync $((X + 152 + 32)) $((Y + 428 + 32)) click 1; settle 1.5 "Tak"
  xdotool windowfocus "$main" 2>/dev/null || true
else
  echo "  (no therapy window in this build)"
fi
shot statistics
click grey; settle 1.5 "grey"
shot grey
click grey; settle 1.5 "colour"
shot colour
click exit; settle 0.5 "exit question"
answer Tak
wait_exit "$work/out-$W.log"
echo "ok $W x $H"
INNER

export_work_env "loquena-smoke-$$"
sizes="1280x1024"
[ "${SMOKE_ALL_SIZES:-0}" = 1 ] && sizes="1280x1024 1024x768 800x600"
for size in $sizes; do
  W="${size%x*}"; H="${size#*x}"
  on_virtual_screen "$size" bash "$work/inside.sh" "$root/tests/system/lib.sh" "$exe" "$data" "$shots" "$W" "$H" "$work"
done
echo "screenshots in $shots"
