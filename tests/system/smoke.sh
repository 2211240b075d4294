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
#   SMOKE_DATA=<dir> reuses (and keeps) a program folder built before.
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

data="${SMOKE_DATA:-$work/data}"
if [ ! -f "$data/Data/grwin.bc" ]; then
  echo "smoke: building the program folder (about a minute)"
  (cd "$root" && "$datagen" --source data --out "$data" --work "$data/.work" >"$work/datagen.log" 2>&1) ||
    { tail -20 "$work/datagen.log" >&2; exit 1; }
fi

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
exe="$1"; data="$2"; shots="$3"; W="$4"; H="$5"; work="$6"
unset QT_QPA_PLATFORM
prog="$work/prog-$W"
rm -rf "$prog"; mkdir -p "$prog"
# The program folder: the material (linked), a fresh patient database, no
# recordings. Only Data/ is linked: a linked executable would run in the
# folder it links to and use that folder's patients.
ln -s "$data/Data" "$prog/Data"
cp "$data/pacmem.qp" "$prog/pacmem.qp"
mkdir -m 700 "$prog/Nagrane"
cp "$exe" "$prog/loquena"

# Where things are on this screen: design values of 1024x768, scaled and
# centred as the program does.
geo() { python3 - "$W" "$H" "$1" <<'PY'
import sys
W, H, what = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
if W >= 1280 and H >= 960: dw, dh = 1280, 960
elif W >= 1024 and H >= 768: dw, dh = 1024, 768
else: dw, dh = 800, 600
ox, oy = (W - dw) // 2, (H - dh) // 2
def s(v, frm=1024): return v * dw // frm
# page control (centred), the patients page's add button (anchored bottom)
pcx, pcy, pcw, pch = s(250) + ox, s(100) + oy, s(582), s(554)
pts = {
  "add":   (pcx + 16 + 24, pcy + 364 + (pch - 544) + 24),
  "list":  (pcx + 60, pcy + 40 + 35),
}
# the WY square on the bookmark strip (1280 values; 800 derives from them)
if dw == 1024: strip, sq, tick = (21, 73), (44, 142), 20
else: strip, sq, tick = (28 * dw // 1280, 92 * dw // 1280), (54 * dw // 1280, 177 * dw // 1280), 26 * dw // 1280
pts["wy"] = (ox + strip[0] + sq[0] + tick // 2, oy + strip[1] + sq[1] + tick // 2)
pts["stats"] = (ox + strip[0] + 100 * dw // 1024, oy + strip[1] + 110 * dw // 1024)
if dw == 1024: start, size = (914, 349), (100, 200)
else: start, size = (1148 * dw // 1280, 435 * dw // 1280), (100 * dw // 1024, 200 * dw // 1024)
pts["start"] = (ox + start[0] + size[0] // 2, oy + start[1] + size[1] // 2)
# the therapy window's stop button (64 x 64 in every mode)
if dw == 1024: stop = (950, 4)
else: stop = (1199 * dw // 1280, 13 * dw // 1280)
pts["stop"] = (ox + stop[0] + 32, oy + stop[1] + 32)
bw, bh = 88 * dw // 1024, 70 * dw // 1024
pts["grey"] = (ox + s(920) + bw // 2, oy + s(570) + bh // 2)
pts["exit"] = (ox + s(920) + bw // 2, oy + s(646) + bh // 2)
x, y = pts[what]
print(x, y)
PY
}
click() { local p; p=($(geo "$1")); xdotool mousemove --sync "${p[0]}" "${p[1]}" click 1; }
shot() { import -window root "$shots/smoke-$W-$1.png"; echo "  screenshot smoke-$W-$1.png"; }
alive() { kill -0 "$pid" 2>/dev/null || { echo "FAIL $W: the program is gone ($1)" >&2; exit 1; }; }
settle() { sleep "${1:-0.5}"; alive "$2"; }
# The visible window of the given size (the message window: 615x283).
window_of_size() {
  local want="$1" id
  for _ in $(seq 1 50); do
    for id in $(xdotool search --onlyvisible --classname loquena 2>/dev/null || true); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      [ "${WIDTH}x${HEIGHT}" = "$want" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
answer() { # answer Tak|Nie|OK on the message window
  local id x; id="$(window_of_size 615x283)" || { echo "FAIL $W: no message window" >&2; exit 1; }
  case "$1" in Tak) x=192;; Nie) x=368;; OK) x=280;; esac
  eval "$(xdotool getwindowgeometry --shell "$id")"
  shot "message-$1"
  xdotool mousemove --sync $((X + x + 32)) $((Y + 172 + 32)) click 1
  sleep 0.3
  # The keyboard back to the main window (no window manager gives it back).
  xdotool windowfocus "$main" 2>/dev/null || true
}

cd "$prog"
./loquena >"$work/out-$W.log" 2>&1 & pid=$!
if [ "$W" -lt 1024 ]; then
  # Below 1024x768 the program asks first; "Cancel" runs it all the same.
  box="$(xdotool search --sync --name '^Loquena Cz\. I$' | head -1)"
  sleep 0.5; shot lowres
  xdotool windowfocus --sync "$box"; xdotool key Escape
  # ... and a second box, answered "OK", accepts the poorer look.
  sleep 0.7
  box="$(xdotool search --sync --onlyvisible --name '^Loquena Cz\. I$' | head -1)"
  xdotool windowfocus --sync "$box"; xdotool key Return
fi
main="$(window_of_size "${W}x${H}")" || { shot no-main; echo "FAIL $W: no main window" >&2; exit 1; }
settle 1 "start"
# No window manager here: give the program the keyboard as a desktop would.
xdotool windowfocus --sync "$main"
shot main

click start; settle 0.5 "start without a patient"
answer OK
click add; settle 0.5 "add"
xdotool type --delay 60 "  Łukasiewicz Żaneta Gęślą  "; xdotool key Return
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
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "FAIL $W: still running after Tak" >&2; kill "$pid"; exit 1; fi
wait "$pid" && rc=0 || rc=$?
[ "$rc" -eq 0 ] || { echo "FAIL $W: exit code $rc" >&2; cat "$work/out-$W.log" >&2; exit 1; }
echo "ok $W x $H"
INNER

export XDG_RUNTIME_DIR="$work/runtime"
export XDG_CONFIG_HOME="$work/config"
export LOQUENA_INSTANCE_NAME="loquena-smoke-$$"
sizes="1280x1024"
[ "${SMOKE_ALL_SIZES:-0}" = 1 ] && sizes="1280x1024 1024x768 800x600"
for size in $sizes; do
  W="${size%x*}"; H="${size#*x}"
  xvfb-run -a -s "-screen 0 ${W}x${H}x24" bash "$work/inside.sh" "$exe" "$data" "$shots" "$W" "$H" "$work"
done
echo "screenshots in $shots"
