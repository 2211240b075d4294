#!/usr/bin/env bash
# Peak resident memory of the whole program during a therapy, on a virtual
# screen of the given size: a patient with all eleven exercises ticked (made
# by loquena-therapy), the program started, Start pressed, the therapy paged
# through with the right arrow key, then VmHWM read from /proc.
#
#   SIZE=3840x2160 STEPS=130 PROGRAM_DIR=<folder made by loquena-data> \
#       BUILD_DIR=build bench/therapymemory.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
exe="$build/loquena"
therapy="${THERAPY_TOOL:-$build/tools/therapyrun/loquena-therapy}"
need_files therapymemory "$exe" "$therapy"
need_tools therapymemory xvfb-run xdotool
[ -f "${PROGRAM_DIR:-}/Data/grwin.bc" ] || { echo "therapymemory: set PROGRAM_DIR" >&2; exit 2; }
make_work_dir therapymemory
size="${SIZE:-3840x2160}"

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
lib="$1"; exe="$2"; therapy="$3"; data="$4"; W="$5"; H="$6"; work="$7"; steps="$8"
unset QT_QPA_PLATFORM
source "$lib"
shots="$work"; SHOT_PREFIX=memory
prog="$work/prog"
make_program_folder "$data" "$exe" "$prog"
"$therapy" "$prog" --exercises 0,1,2,3,4,5,6,7,8,9,10 --walk 0 >/dev/null
export LOQUENA_TEST_PROBE="$work/probe.txt"
cd "$prog"
start_program "$work/out.log"
click_widget tbStart
wait_widget tbStop 10 >/dev/null
for _ in $(seq 1 "$steps"); do
  click_widget tbDalej; sleep 0.4
  alive "paging"
done
awk '/^VmHWM|^VmRSS/ { printf "%s %d MiB  ", $1, $2 / 1024 } END { print "" }' "/proc/$pid/status"
kill "$pid"
INNER

export_work_env "loquena-memory-$$"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
echo "$size:"
on_virtual_screen "$size" bash "$work/inside.sh" "$root/tests/system/lib.sh" "$exe" "$therapy" \
  "$PROGRAM_DIR" "${size%x*}" "${size#*x}" "$work" "${STEPS:-130}"
