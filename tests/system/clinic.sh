#!/usr/bin/env bash
# Two real programs on one clinic database: a throw-away PostgreSQL cluster,
# the program started twice (workstations "Sala 1" and "Sala 3", each on a
# virtual screen of its own). A patient open in Sala 1 is shown busy in Sala 3
# with Sala 1's name and can be neither chosen, edited nor started there;
# patients added, renamed and deleted on one workstation (and by the server's
# own client) appear on the other without a restart; once the program of
# Sala 1 is killed, its patient is free in Sala 3 at once. Screenshots go to
# $BUILD_DIR/screenshots/clinic-*.png. About a minute.
#   BUILD_DIR=build tests/system/clinic.sh     (SYSTEM_DATA=<dir>: a program
#                                               folder built before)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
exe="$build/loquena"
need_files clinic "$exe"
need_tools clinic xvfb-run Xvfb xdotool import psql python3
make_work_dir clinic
shots="$(shots_dir)"
data="$(program_data clinic "${SYSTEM_DATA:-$work/data}")"
conninfo="$(bash "$root/tests/common/pgcluster.sh" start "$work/pg")"
trap 'bash "$root/tests/common/pgcluster.sh" stop "$work/pg" >/dev/null 2>&1 || true; remove_work_dir' EXIT
psql "$conninfo dbname=postgres" -qc "CREATE DATABASE klinika" >/dev/null

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
lib="$1"; exe="$2"; data="$3"; shots="$4"; W="$5"; H="$6"; work="$7"; clinic="$8"
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8
source "$lib"
sql() { psql "$clinic" -qAtc "$1"; }

# The second screen, beside the one xvfb-run made.
display_a="$DISPLAY"
for _ in $(seq 1 20); do
  n=$((200 + RANDOM % 700))
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -noreset -screen 0 "${W}x${H}x24" >/dev/null 2>&1 & xvfb_b=$!
  sleep 1
  kill -0 "$xvfb_b" 2>/dev/null && { display_b=":$n"; break; }
done
[ -n "${display_b:-}" ] || { echo "FAIL: no second virtual screen" >&2; exit 1; }
trap 'kill "${pid_a:-}" "${pid_b:-}" "$xvfb_b" 2>/dev/null || true' EXIT

# The workstation the helpers of lib.sh work on: its screen, probe and program.
use() {
  station="$1"
  if [ "$1" = A ]; then
    export DISPLAY="$display_a"; pid="${pid_a:-}"; main="${main_a:-}"
  else
    export DISPLAY="$display_b"; pid="${pid_b:-}"; main="${main_b:-}"
  fi
  export LOQUENA_TEST_PROBE="$work/probe-$1.txt"
  SHOT_PREFIX="clinic-$1"
}
# Starts the program of the current workstation, named $1, on the clinic.
start_station() {
  local prog="$work/prog-$station"
  make_program_folder "$data" "$exe" "$prog"
  export XDG_CONFIG_HOME="$work/config-$station" XDG_DATA_HOME="$work/data-$station"
  export LOQUENA_INSTANCE_NAME="loquena-clinic-$station-$$"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
  polish_keyboard
  (cd "$prog" && exec ./loquena --klinika="$clinic" --stanowisko="$1" >"$work/out-$station.log" 2>&1) &
  pid=$!
  main="$(window_of_size "${W}x${H}")" || fail "no main window of $1"
  settle 1 "start of $1"
  xdotool windowfocus --sync "$main"
  if [ "$station" = A ]; then pid_a="$pid"; main_a="$main"; else pid_b="$pid"; main_b="$main"; fi
}
# The names in the patient list, one a line.
names() { ptag ROW | awk -F'\t' '$2 == "lvPacjeci" { print $8 }'; }
# Waits up to 10 s for the list to hold (1) or not to hold (0) a name.
wait_name() { # wait_name <name> 1|0
  local end=$((SECONDS + 10))
  while [ $SECONDS -le $end ]; do
    if names | grep -qxF "$1"; then [ "$2" = 1 ] && return 0; else [ "$2" = 0 ] && return 0; fi
    sleep 0.3
  done
  fail "in $station the list $([ "$2" = 1 ] && echo lacks || echo still has) \"$1\""
}
click_name() {
  local f; f="$(ptag ROW | awk -F'\t' -v n="$1" '$2 == "lvPacjeci" && $8 == n { print $4 + 20, $5 + int($7 / 2); exit }')"
  [ -n "$f" ] || fail "no row \"$1\" in $station"
  click_xy $f; settle 0.5 "click on $1"
}
# The message window's rows, from a fresh look.
message_rows() { ptag W | awk -F'\t' '$3 ~ /^lbRow/ { print $9 }'; }
message_shown() { window_of_size "$(screen_size 615 283)" >/dev/null 2>&1; }
# Types into the list's editor once it is open, again should a letter be lost.
type_name() {
  local editor
  editor() { probe | awk -F'\t' '$1 == "W" && $2 ~ /LineEdit$/ { print $9; found = 1; exit } END { exit !found }'; }
  for _ in 1 2 3; do
    for _ in $(seq 1 25); do editor >/dev/null && break; sleep 0.2; done
    xdotool key ctrl+a BackSpace
    type_text "$1"; sleep 0.3
    [ "$(editor)" = "$1" ] && break
  done
  xdotool key Return; settle 0.5 "name $1"
}

# --- Sala 1 opens Nowak Jan; the server's own client adds the patients -------
use A; start_station "Sala 1"
sql "INSERT INTO pacjenci (nazwiskoimie, poczatek, ostatnia) VALUES
     ('Nowak Jan', '2025-01-02 00:00:00.000', '2025-01-02 00:00:00.000'),
     ('Kowalska Anna', '2025-01-03 00:00:00.000', '2025-01-03 00:00:00.000');
     NOTIFY loquena_pacjenci, 'dodany 1'" >/dev/null
wait_name "Nowak Jan" 1; wait_name "Kowalska Anna" 1
click_name "Nowak Jan"
wait_text lbImieNazwisko "Nowak Jan" || fail "Sala 1 did not open Nowak Jan"
shot open

# --- Sala 3: Nowak Jan is busy -------------------------------------------------
use B; start_station "Sala 3"
wait_name "Nowak Jan" 1
[ -z "$(pwline lbImieNazwisko | cut -f9)" ] || fail "Sala 3 took a patient open in Sala 1"
click_name "Nowak Jan"
message_shown || fail "Sala 3 chose the busy patient without a word"
rows="$(message_rows)"
grep -qF "Ten pacjent jest otwarty na stanowisku:" <<<"$rows" &&
  grep -qF "„Sala 1”" <<<"$rows" || fail "the busy message does not name Sala 1: $rows"
shot busy
answer OK
[ "$(pwline lbImieNazwisko | cut -f9)" != "Nowak Jan" ] || fail "Sala 3 opened the busy patient"
# Neither edited nor started there.
click_widget tbEdytuj; settle 0.5 "edit"
probe | awk -F'\t' '$1 == "W" && $2 ~ /LineEdit$/' | grep -q . && fail "Sala 3 edits a patient it has not open"
click_widget tbStart; settle 0.5 "start"
message_shown || fail "Sala 3 started a therapy without an open patient"
grep -qF "Brak aktywnego pacjenta!" <<<"$(message_rows)" || fail "no word on the missing patient"
answer OK
[ -z "$(ptag W | awk -F'\t' '$3 == "tbStop"')" ] || fail "a therapy runs in Sala 3"

# --- The list lives: added and renamed in Sala 1, deleted in Sala 3 ------------
use A
click_widget tbDodaj; settle 0.5 "add"
type_name "Zieliński Łukasz"
wait_text lbImieNazwisko "Zieliński Łukasz" || fail "Sala 1 did not add the patient"
use B; wait_name "Zieliński Łukasz" 1
use A
click_widget tbEdytuj; settle 0.5 "edit"
type_name "Zielińska Łucja"
use B; wait_name "Zielińska Łucja" 1; wait_name "Zieliński Łukasz" 0
shot live-list
click_name "Kowalska Anna"
wait_text lbImieNazwisko "Kowalska Anna" || fail "Sala 3 did not open the free patient"
click_widget tbUsun; settle 0.5 "delete"
answer Tak
wait_name "Kowalska Anna" 0
use A; wait_name "Kowalska Anna" 0
shot after-delete

# --- Sala 1 killed: its patient is free in Sala 3 ------------------------------
kill -KILL "$pid_a"; wait "$pid_a" 2>/dev/null || true; pid_a=
use B
end=$((SECONDS + 10))
until [ "$(pwline lbImieNazwisko | cut -f9)" = "Zielińska Łucja" ]; do
  [ $SECONDS -le $end ] || fail "the patient of the killed Sala 1 stays busy"
  click_name "Zielińska Łucja"
  if message_shown; then answer OK; sleep 0.5; fi
done
shot freed
[ "$(sql "SELECT count(*) FROM pacjenci")" = 2 ] || fail "the clinic does not hold two patients"
kill -TERM "$pid_b"; wait "$pid_b" 2>/dev/null || true; pid_b=
echo "ok two workstations on one clinic database"
INNER

export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export XDG_RUNTIME_DIR="$work/runtime"
on_virtual_screen 1024x768 bash "$work/inside.sh" "$root/tests/system/lib.sh" \
  "$exe" "$data" "$shots" 1024 768 "$work" "$conninfo dbname=klinika"
echo "screenshots in $shots"
