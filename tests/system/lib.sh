# Helpers of the system scripts that drive the real program on a virtual
# screen. Sourced twice: on the host side, where the script has set root (the
# checkout) and build (the build folder), for what every script checks and
# makes before it starts; and inside the Xvfb session, where W and H (the
# screen), shots (the screenshot folder), SHOT_PREFIX and, once started, pid
# and main (the program and its main window) are set by the script.

# --- The host side -------------------------------------------------------------

# Ends the script unless every file is there and executable (what the build makes).
need_files() { # need_files <script-name> <file>...
  local name="$1" f
  shift
  for f in "$@"; do
    [ -x "$f" ] || { echo "$name: no $f (build the project first: scripts/build.sh)" >&2; exit 1; }
  done
}

# Ends the script unless every tool is on PATH.
need_tools() { # need_tools <script-name> <tool>...
  local name="$1" tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null ||
      { echo "$name: $tool missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
  done
}

# The script's work folder under /tmp, removed when the script ends, with the
# program's config/ and runtime/ (mode 700, as a runtime folder must be). Sets
# work; called as it is, never in $(...), so that the removal is the script's
# own exit trap and not that of a subshell.
make_work_dir() { # make_work_dir <script-name>
  work="$(mktemp -d "/tmp/loquena-$1-XXXXXX")"
  trap remove_work_dir EXIT
  mkdir -p "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
}
# Write permission first: a test may leave read-only folders behind.
remove_work_dir() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }

# The screenshot folder of the build (made). Prints it.
shots_dir() { mkdir -p "$build/screenshots" && echo "$build/screenshots"; }

# The program's settings and runtime folders in the work folder, and, when
# given, an instance name of its own, so that runs side by side do not meet.
# shellcheck disable=SC2120 # the instance name is optional
export_work_env() { # export_work_env [<instance name>]
  export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
  [ -z "${1:-}" ] || export LOQUENA_INSTANCE_NAME="$1"
}

# Runs the command on a virtual screen of its own, of the given size. A display
# number of its own: xvfb-run -a alone starts every search at 99, so runs that
# start together can meet there; the search goes on upwards from a random one.
# The screen is not reset when the program under test ends, so its next start
# finds it. Options for xvfb-run may come before the command.
on_virtual_screen() { # on_virtual_screen <W>x<H> [xvfb-run option...] <command>...
  local size="$1"
  shift
  xvfb-run -a -n $((200 + RANDOM % 700)) -s "-noreset -screen 0 ${size}x24" "$@"
}

# The program folder's material (Data/ and pacmem.qp): <folder> when it holds
# it, else the data build makes it into <folder to build in> (default:
# <folder>, which then keeps it for the next run). Prints the folder.
program_data() { # program_data <script-name> <folder> [<folder to build in>]
  local name="$1" data="$2" datagen="$build/tools/datagen/loquena-data"
  if [ ! -f "$data/Data/grwin.bc" ]; then
    need_files "$name" "$datagen"
    data="${3:-$2}"
    echo "$name: building the program folder (about a minute)" >&2
    mkdir -p "$data"
    (cd "$root" && "$datagen" --source data --out "$data" --work "$data/.work" >"$data/datagen.log" 2>&1) ||
      { tail -20 "$data/datagen.log" >&2; return 1; }
  fi
  echo "$data"
}

# The opening of a script that drives a therapist's session: the program
# built, its tools on PATH, a work folder, the screenshot folder and a program
# folder (SYSTEM_DATA reuses one built before). Sets exe, work, shots, data.
start_drive_script() { # start_drive_script <script-name> <tool>...
  local name="$1"
  shift
  exe="$build/loquena"
  need_files "$name" "$exe" "$build/tools/datagen/loquena-data"
  need_tools "$name" xvfb-run xdotool import "$@"
  make_work_dir "$name"
  shots="$(shots_dir)"
  data="$(program_data "$name" "${SYSTEM_DATA:-$work/data}")"
}

# Runs the script's $work/inside.sh on a virtual screen of each size in turn.
drive_on_sizes() { # drive_on_sizes <W>x<H>...
  local size start
  for size in "$@"; do
    W="${size%x*}"; H="${size#*x}"
    start=$SECONDS
    on_virtual_screen "$size" bash "$work/inside.sh" "$root/tests/system/lib.sh" \
      "$exe" "$data" "$shots" "$W" "$H" "$work"
    echo "  ($((SECONDS - start)) s)"
  done
  echo "screenshots in $shots"
}

# The opening of inside.sh (after `source "$1"`, given its arguments): a
# program folder of this screen size's own, the test probe's file and the
# program's log. Letters, not bytes, in the texts the scripts take apart.
# Sets lib, exe, data, shots, W, H, work, SHOT_PREFIX, prog and log.
begin_drive() { # begin_drive <shot prefix> <lib> <exe> <data> <shots> <W> <H> <work>
  set -euo pipefail
  # shellcheck disable=SC2034 # for inside.sh
  SHOT_PREFIX="$1"; lib="$2"; exe="$3"; data="$4"; shots="$5"; W="$6"; H="$7"; work="$8"
  unset QT_QPA_PLATFORM
  export LC_ALL=C.UTF-8
  prog="$work/prog-$W"
  make_program_folder "$data" "$exe" "$prog"
  export LOQUENA_TEST_PROBE="$work/probe-$W.txt"
  # shellcheck disable=SC2034 # for inside.sh
  log="$work/out-$W.log"
}

# A program folder: the material (linked), a fresh patient database, no
# recordings. Only Data/ is linked: a linked executable would run in the
# folder it links to and use that folder's patients.
make_program_folder() { # make_program_folder <data> <exe> <folder>
  rm -rf "$3"; mkdir -p "$3"
  ln -s "$1/Data" "$3/Data"
  cp "$1/pacmem.qp" "$3/pacmem.qp"
  mkdir -m 700 "$3/Nagrane"
  cp "$2" "$3/loquena"
}

# The program's scale on this screen (the design shown larger on a screen
# larger than it; LOQUENA_NO_SCALING=1 when the program runs with
# --no-scaling): Python that sets dw, dh (the design), f (screen pixels per
# design pixel), LW, LH (the screen in design pixels) and scr(v) (a design
# position to the screen pixel that shows it).
SCALE_PY='
import math, os
def design_for(w, h):
    if w < 1024 or h < 768: return 800, 600
    if w < 1280 or h < 960: return 1024, 768
    return 1280, 960
dw, dh = design_for(W, H)
units = min(W // 4, H // 3)
f = units * 4 / dw if units * 4 >= dw and os.environ.get("LOQUENA_NO_SCALING") != "1" else 1.0
def qround(v): return int(math.floor(v + 0.5))
LW, LH = qround(W / f), qround(H / f)
def scr(v): return int(math.ceil(v * f - 0.5))
'

# Screen pixels of design values: to_screen <value>... (one per line).
to_screen() { python3 -c "import sys
W, H = int(sys.argv[1]), int(sys.argv[2])
$SCALE_PY
for v in sys.argv[3:]: print(scr(int(v)))" "$W" "$H" "$@"; }
# A window of design size w x h on the screen: <W>x<H> as the window system has it.
screen_size() { python3 -c "import sys
W, H = int(sys.argv[1]), int(sys.argv[2])
$SCALE_PY
print(f'{qround(int(sys.argv[3]) * f)}x{qround(int(sys.argv[4]) * f)}')" "$W" "$H" "$1" "$2"; }
# Whether two sizes <w>x<h> are the same within a pixel of rounding.
same_size() { python3 -c "import sys
a, b = [tuple(map(int, s.split('x'))) for s in sys.argv[1:3]]
sys.exit(0 if abs(a[0] - b[0]) <= 1 and abs(a[1] - b[1]) <= 1 else 1)" "$1" "$2"; }

# Where things are on this screen: design values of 1024x768, scaled and
# centred as the program does, then to screen pixels.
geo() { python3 - "$W" "$H" "$1" <<PY
import sys
W, H, what = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
$SCALE_PY
ox, oy = (LW - dw) // 2, (LH - dh) // 2
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
print(scr(x), scr(y))
PY
}

click_xy() { xdotool mousemove --sync "$1" "$2" click 1; }
click() { local p; p=($(geo "$1")); click_xy "${p[0]}" "${p[1]}"; }
shot() { import -window root "$shots/$SHOT_PREFIX-$W-$1.png"; echo "  screenshot $SHOT_PREFIX-$W-$1.png"; }
fail() { echo "FAIL $W x $H: $*" >&2; shot "failed" >/dev/null 2>&1 || true; exit 1; }
alive() { kill -0 "$pid" 2>/dev/null || fail "the program is gone ($1)"; }
settle() { sleep "${1:-0.5}"; alive "$2"; }

# The visible window of the given size in screen pixels, within a pixel
# (the message window: screen_size 615 283).
window_of_size() {
  local want="$1" id
  for _ in $(seq 1 50); do
    for id in $(xdotool search --onlyvisible --classname loquena 2>/dev/null || true); do
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
      same_size "${WIDTH}x${HEIGHT}" "$want" && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# The keyboard back to the main window (no window manager gives it back).
focus_main() { xdotool windowfocus "$main" 2>/dev/null || true; }

answer() { # answer Tak|Nie|OK on the message window
  local id x p; id="$(window_of_size "$(screen_size 615 283)")" || fail "no message window"
  case "$1" in Tak) x=192;; Nie) x=368;; OK) x=280;; esac
  eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
  shot "message-$1"
  p=($(to_screen $((x + 32)) $((172 + 32))))
  xdotool mousemove --sync $((X + p[0])) $((Y + p[1])) click 1
  sleep 0.3
  focus_main
}

# Starts ./loquena in the current folder (output to $1); below 1024x768 it
# answers the two questions about the poorer look. Sets pid and main.
start_program() {
  polish_keyboard
  ./loquena >"$1" 2>&1 & pid=$!
  if [ "$W" -lt 1024 ]; then
    # Below 1024x768 the program asks first; "Anuluj" runs it all the same.
    local box
    box="$(xdotool search --sync --name '^Loquena Cz\. I$' | head -1)"
    sleep 0.5; shot lowres
    xdotool windowfocus --sync "$box"; xdotool key Escape
    # ... and a second box, answered "OK", accepts the poorer look.
    sleep 0.7
    box="$(xdotool search --sync --onlyvisible --name '^Loquena Cz\. I$' | head -1)"
    xdotool windowfocus --sync "$box"; xdotool key Return
  fi
  main="$(window_of_size "${W}x${H}")" || fail "no main window"
  settle 1 "start"
  # No window manager here: give the program the keyboard as a desktop would.
  xdotool windowfocus --sync "$main"
}

# Waits for the program to end by itself; fails unless its exit code is 0.
wait_exit() {
  local rc
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then kill "$pid"; fail "still running after Tak"; fi
  wait "$pid" && rc=0 || rc=$?
  [ "$rc" -eq 0 ] || { cat "$1" >&2; fail "exit code $rc"; }
}

# Types text as a person does, on a Polish keyboard (see polish_keyboard).
type_text() { xdotool type --delay 60 -- "$1"; }

# The Polish keyboard on the virtual screen: its letters are then typed with
# AltGr. Without it xdotool remaps a spare key for each such letter, and a
# program that has not yet read one remapping drops the letter.
polish_keyboard() { setxkbmap pl 2>/dev/null || echo "  (no Polish keyboard map: Polish letters may be lost)"; }

# --- The test probe (LOQUENA_TEST_PROBE): tab-separated lines describing the
# screen, rewritten by the program ten times a second.

# A snapshot newer than any taken before (waits up to 5 s).
probe() {
  local seq
  for _ in $(seq 1 50); do
    seq="$(head -1 "$LOQUENA_TEST_PROBE" 2>/dev/null | cut -f2)"
    if [ -n "$seq" ] && [ "$seq" != "${probe_seen:-}" ]; then
      probe_seen="$seq"
      cat "$LOQUENA_TEST_PROBE"
      return 0
    fi
    sleep 0.1
  done
  fail "the probe is not written (is the program busy?)"
}
# The fields of the lines with a tag, from a fresh snapshot.
ptag() { probe | awk -F'\t' -v t="$1" '$1 == t'; }
# The centre "x y" of the visible widget of that object name (empty when none).
pwidget() { probe | awk -F'\t' -v n="$1" '$1 == "W" && $3 == n { print $4 + int($6 / 2), $5 + int($7 / 2); exit }'; }
# The whole W line of the visible widget of that name.
pwline() { probe | awk -F'\t' -v n="$1" '$1 == "W" && $3 == n { print; exit }'; }
# Waits (up to $2 s) for the widget to be visible; prints its centre.
wait_widget() {
  local p end=$((SECONDS + ${2:-5}))
  while [ $SECONDS -le $end ]; do
    p="$(pwidget "$1")"
    [ -n "$p" ] && { echo "$p"; return 0; }
    sleep 0.2
  done
  fail "no widget $1"
}
# Waits (up to 3 s) for a widget to show a text.
wait_text() {
  local end=$((SECONDS + 3))
  while [ $SECONDS -le $end ]; do
    [ "$(pwline "$1" | cut -f9)" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}
click_widget() { local p; p=($(wait_widget "$1" "${2:-5}")); click_xy "${p[0]}" "${p[1]}"; }

# --- The main window and the therapy window, as the drives work them.

# A bookmark line: BM index x y w h squareX squareY squareW squareH ticked current.
bookmark() { ptag BM | awk -F'\t' -v i="$1" '$2 == i'; }
# Raises a bookmark: a click on it away from its square.
raise() {
  local f; IFS=$'\t' read -r -a f <<<"$(bookmark "$1")"
  [ "${#f[@]}" -ge 12 ] || fail "no bookmark $1"
  local x=$((f[2] + f[4] / 2)) y=$((f[3] + f[5] / 2))
  if [ "${f[8]}" -gt 0 ]; then
    # Clear of the square: the far side of the bookmark from it.
    if [ $((f[6] + f[8] / 2)) -lt "$x" ]; then x=$((f[2] + f[4] - 8)); else x=$((f[2] + 8)); fi
  fi
  click_xy "$x" "$y"; settle 0.3 "bookmark $1"
  [ "$(bookmark "$1" | cut -f12)" = 1 ] || fail "bookmark $1 not raised"
}
tick() {
  local f; IFS=$'\t' read -r -a f <<<"$(bookmark "$1")"
  click_xy $((f[6] + f[8] / 2)) $((f[7] + f[9] / 2)); settle 0.2 "tick $1"
  [ "$(bookmark "$1" | cut -f11)" = 1 ] || fail "bookmark $1 not ticked"
}

checked() { pwline "$1" | cut -f8 | grep -q c; }
set_check() { # set_check <name> 0|1
  local want="$2" now=0
  checked "$1" && now=1
  if [ "$now" != "$want" ]; then
    # On the indicator: a button takes clicks on its box and caption only.
    local f; IFS=$'\t' read -r -a f <<<"$(pwline "$1")"
    click_xy $((f[3] + 8)) $((f[4] + f[6] / 2))
  fi
  sleep 0.2
  now=0; checked "$1" && now=1
  [ "$now" = "$want" ] || fail "$1 is not $want"
}

# Adds a patient by the patients page's add button and makes it the active one.
add_patient() { # add_patient <name>
  local name="$1"
  click_widget tbDodaj; settle 0.5 "add"
  # Typed into the list's editor once it is open, and again should a busy
  # machine have lost a letter.
  editor_text() { probe | awk -F'\t' '$1 == "W" && $2 ~ /LineEdit$/ { print $9; found = 1; exit } END { exit !found }'; }
  for _ in 1 2 3; do
    for _ in $(seq 1 25); do editor_text >/dev/null && break; sleep 0.2; done
    type_text "$name"; sleep 0.3
    [ "$(editor_text)" = "$name" ] && break
    echo "  (typed '$(editor_text)', again)"
    xdotool key ctrl+a BackSpace
  done
  xdotool key Return; settle 0.5 "name"
  wait_text lbImieNazwisko "$name" || fail "the patient's name is not shown"
}

ex_line() { ptag EX; } # EX exercise task count
forward() { click_widget tbDalej; settle 0.4 "forward"; }

# Waits for the therapy to leave a task (a click is taken a moment later);
# the script's codes name the exercises.
moved_from() { # moved_from <exercise> <task> [<seconds>]
  local end=$((SECONDS + ${3:-5}))
  while [ $SECONDS -le $end ]; do
    [ "$(ex_line | cut -f2,3)" != "$1"$'\t'"$2" ] && return 0
    sleep 0.2
  done
  fail "still at task $2 of ${codes[$1]}"
}

# The therapy window: the other full-screen window.
therapy_window() {
  local id
  therapy=""
  for id in $(xdotool search --onlyvisible --classname loquena 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
    [ "$id" != "$main" ] && same_size "${WIDTH}x${HEIGHT}" "${W}x${H}" && therapy="$id"
  done
  [ -n "$therapy" ] || fail "no therapy window"
  xdotool windowfocus "$therapy" 2>/dev/null || true
}

stop_therapy() { # stop_therapy Nie|Tak
  click_widget tbStop; settle 1 "stop"
  local p; p=($(wait_widget "tb$1"))
  shot "results-$1"
  click_xy "${p[0]}" "${p[1]}"; settle 1.5 "$1"
}

