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
exe="$build/loquena"
datagen="$build/tools/datagen/loquena-data"
for f in "$exe" "$datagen"; do
  [ -x "$f" ] || { echo "smoke: no $f (build the targets loquena and loquena-data)" >&2; exit 1; }
done
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool missing" >&2; exit 1; }
done

work="$(mktemp -d /tmp/loquena-smoke-XXXXXX)"
trap 'rm -rf "$work"' EXIT
shots="$build/screenshots"
mkdir -p "$shots" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"

source "$root/tests/system/lib.sh"
data="$(program_data "$datagen" "$root" "${SMOKE_DATA:-$work/data}")"

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
  id="$(window_of_size 524x554)" || { echo "FAIL $W: no result window" >&2; exit 1; }
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

export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/config"
export LOQUENA_INSTANCE_NAME="loquena-smoke-$$"
sizes="1280x1024"
[ "${SMOKE_ALL_SIZES:-0}" = 1 ] && sizes="1280x1024 1024x768 800x600"
for size in $sizes; do
  W="${size%x*}"; H="${size#*x}"
  xvfb-run -a -s "-noreset -screen 0 ${W}x${H}x24" bash "$work/inside.sh" "$root/tests/system/lib.sh" "$exe" "$data" "$shots" "$W" "$H" "$work"
done
echo "screenshots in $shots"
