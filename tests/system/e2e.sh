#!/usr/bin/env bash
# A whole therapy from end to end, on a virtual screen, as a therapist and a
# patient meet the program: a patient is added, all eleven exercises are
# ticked in a mixed order and each one's settings changed on its page; the
# therapy is played through (right and wrong answers, hints, the on-screen
# alphabet and the keyboard, tiles dragged, films, automatic paging), stopped
# ("Nie" first, then "Tak"), its results and its row on the statistics page
# seen, a recording made and played back; the program is closed and started
# again, and the patient, the settings, the therapy and the recording are all
# still there (in the patient database and on the screen). Then the same in
# grey. Every screen goes to $BUILD_DIR/screenshots/e2e-<width>-*.png.
#
# The program is started with LOQUENA_TEST_PROBE: it writes what is on the
# screen (widgets, bookmarks, the task and where its right answer is) to a
# file that this script reads to find where to click.
#
#   BUILD_DIR=build tests/system/e2e.sh                  # 1280x1024: colour, then grey
#   E2E_ALL_SIZES=1 BUILD_DIR=build tests/system/e2e.sh  # also 1024x768, 800x600 and
#                                                        # the design shown larger:
#                                                        # 1920x1080, 2560x1440
#   E2E_SIZES="800x600" ...   only these sizes (the test command: 1920x1080)
#   E2E_GREY_PLAY=1 ...   the grey therapy is played through too (else only paged)
#   SYSTEM_DATA=<dir>     reuses (and keeps) a program folder built before.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
start_drive_script e2e sqlite3 python3

cat >"$work/inside.sh" <<'INNER'
source "$1"
begin_drive e2e "$@"
codes=(WY UK WP ZO PWP PWY DC WYL PP PNO PNC)
# The order of ticking, which is the therapy's order.
order=(5 0 10 1 7 3 6 8 2 9 4)
letters="FAKBHDGICJE"
name="Łukasiewicz Żaneta Gęślą"

# --- The main window --------------------------------------------------------

# Moves a scroll bar to a value by clicks on its arrows, as a hand does.
set_bar() { # set_bar <name> <value>
  local f v
  for _ in 1 2 3; do
    IFS=$'\t' read -r -a f <<<"$(pwline "$1")"
    [ "${#f[@]}" -ge 9 ] || fail "no scroll bar $1"
    read -r v _ <<<"${f[8]}"
    [ "$v" -eq "$2" ] && return 0
    local ax=$((f[3] + f[6] / 2)) n=$((v - $2))
    [ "$n" -lt 0 ] && { ax=$((f[3] + f[5] - f[6] / 2)); n=$((-n)); }
    xdotool mousemove --sync "$ax" $((f[4] + f[6] / 2)) click --repeat "$n" --delay 40 1
    sleep 0.3
  done
  fail "$1 does not come to $2"
}

# Each exercise's page: two tasks (WYL: the days, shuffled) and one more change.
settings_page() {
  local e="$1" c="${codes[$1]}"
  raise $((e + 2))
  [ "$e" -ne 7 ] && set_bar "${c}_sbLZ" 2
  case "$c" in
    WY) set_check WY_rbCztery 1 ;;
    UK) set_check UK_rbDodLiteryTak 1 ;;
    WP) set_check WP_cbDom 0 ;;
    ZO) set_check ZO_rbPodpowiedzTak 1 ;;
    PWP) set_check PWP_cbLudowe 1 ;;
    PWY) set_check PWY_rbDwa 1 ;;
    DC) set_check DC_rbCztery 1; set_check DC_rbCoPrzedstawia 1 ;;
    WYL) set_check WYL_cbMiesiace 0; set_check WYL_cbCyfry 0; set_check WYL_rbLosowo 1 ;;
    PP) set_check PP_rbAuto 1; set_bar PP_sbAutoTime 6 ;;
    PNO) set_check PNO_rbAuto 1; set_bar PNO_sbAutoTime 2 ;;
    PNC) set_check PNC_rbReczne 1 ;;
  esac
  shot "page-$c"
}

# --- The therapy window -----------------------------------------------------

solved() { [ "$(ptag SOLVED | cut -f2)" = 1 ]; }
wait_solved() {
  local end=$((SECONDS + ${1:-8}))
  while [ $SECONDS -le $end ]; do solved && return 0; sleep 0.2; done
  fail "task not solved ($(ex_line))"
}
centre_of() { awk -F'\t' '{ print $4 + int($6 / 2), $5 + int($7 / 2) }'; }
choose() { # choose right|wrong: clicks a choice not ruled out yet
  local want=1; [ "$1" = wrong ] && want=0
  local p; p=($(ptag CHOICE | awk -F'\t' -v r="$want" '$2 == r && $3 == 0' | head -1 | centre_of))
  [ "${#p[@]}" = 2 ] || fail "no $1 choice ($(ex_line))"
  click_xy "${p[0]}" "${p[1]}"
}
hints() { ptag HINTS | cut -f2; }
hint() { # clicks the hint button; the exercise must count the hint
  local before now end=$((SECONDS + 4))
  # Off when there is nothing left to give (two choices, one ruled out).
  pwline tbPomoc | cut -f8 | grep -q d && { echo "  (no hint to take)"; return 0; }
  before="$(hints)"
  click_widget tbPomoc; settle 0.6 "hint"
  while :; do
    now="$(hints)"
    [ -n "$now" ] && [ "$now" -gt "${before:-0}" ] && return 0
    [ $SECONDS -ge $end ] && fail "the hint was not taken (hints: $before, then $now)"
    sleep 0.2
  done
}

play_choice() { # the first task: wrong, hint, right; the second: right
  local task="$1" tag="$2"
  if [ "$task" = 0 ]; then
    choose wrong; settle 1.2 "wrong choice"
    shot "$tag-wrong"
    hint
  fi
  choose right; wait_solved
  shot "$tag-solved"
}

drag() { # drag x1 y1 x2 y2, in steps as a hand moves
  xdotool mousemove --sync "$1" "$2" mousedown 1
  local i
  for i in 1 2 3 4 5 6; do
    xdotool mousemove --sync $(($1 + ($3 - $1) * i / 6)) $(($2 + ($4 - $2) * i / 6))
    sleep 0.03
  done
  xdotool mouseup 1
}
play_tiles() { # a wrong tile first (it flies home), a hint, then the right ones
  local task="$1" tag="$2" f
  if [ "$task" = 0 ]; then
    IFS=$'\t' read -r -a f <<<"$(ptag WRONG | head -1)"
    if [ "${#f[@]}" = 5 ]; then
      drag "${f[1]}" "${f[2]}" "${f[3]}" "${f[4]}"; settle 1.2 "wrong tile"
    fi
    hint
    shot "$tag-hint"
  fi
  for _ in $(seq 1 30); do
    solved && break
    IFS=$'\t' read -r -a f <<<"$(ptag DRAG | head -1)"
    [ "${#f[@]}" = 5 ] || { sleep 0.3; continue; }
    drag "${f[1]}" "${f[2]}" "${f[3]}" "${f[4]}"; settle 0.5 "tile"
  done
  wait_solved
  shot "$tag-solved"
}

# The letters still to type of a typing task (spaces come by themselves).
still_to_type() {
  probe | python3 -c '
import sys
f = {l.split("\t")[0]: l.rstrip("\n").split("\t")[1:] for l in sys.stdin}
answer = (f.get("ANSWER") or [""])[0]; typed = (f.get("TYPED") or [""])[0]
print("".join(c for c in answer[len(typed):] if c.isalpha()).upper())'
}
letter_at() { # waits a moment for the alphabet (hidden while a sound blocks)
  local p
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    p="$(ptag LETTER | awk -F'\t' -v c="$1" '$2 == c { print $3, $4; exit }')"
    [ -n "$p" ] && { echo "$p"; return 0; }
    sleep 0.3
  done
}
play_typing() { # the first task: a wrong letter, a hint, then half on the
  # alphabet and the rest on the keyboard; the second: all on the keyboard
  local task="$1" tag="$2" rest p half i
  xdotool windowfocus "$therapy" 2>/dev/null || true
  rest="$(still_to_type)"
  [ -n "$rest" ] || fail "nothing to type ($(ex_line))"
  if [ "$task" = 0 ]; then
    for c in A E I O Y K; do
      [ "$c" != "${rest:0:1}" ] && { p=($(letter_at "$c")); break; }
    done
    click_xy "${p[0]}" "${p[1]}"; settle 0.8 "wrong letter"
    shot "$tag-wrong"
    hint
    rest="$(still_to_type)"
    half=$(( ${#rest} / 2 ))
    for ((i = 0; i < half; i++)); do
      p=($(letter_at "${rest:$i:1}"))
      [ "${#p[@]}" = 2 ] || fail "no letter ${rest:$i:1} on the alphabet"
      click_xy "${p[0]}" "${p[1]}"; sleep 0.25
    done
    shot "$tag-typing"
  fi
  # The rest on the keyboard, in small letters (the program takes either);
  # a Polish letter, awkward there, on the alphabet.
  local ascii
  for _ in $(seq 1 40); do
    solved && break
    rest="$(still_to_type)"
    [ -n "$rest" ] || { sleep 0.2; continue; }
    ascii="${rest%%[^ABCDEFGHIJKLMNOPQRSTUVWXYZ]*}"
    if [ -n "$ascii" ]; then
      type_text "${ascii,,}"
    else
      # (No alphabet: the task may have just been solved; the loop looks.)
      p=($(letter_at "${rest:0:1}"))
      [ "${#p[@]}" = 2 ] && click_xy "${p[0]}" "${p[1]}"
    fi
    sleep 0.2
  done
  wait_solved
  shot "$tag-solved"
}

# Plays (or, with "page", only pages through) the whole therapy; a
# screenshot of each exercise.
play_therapy() { # play_therapy play|page <tag>
  local mode="$1" tag="$2" seen="" f e t n c
  therapy_window
  for _ in $(seq 1 200); do
    IFS=$'\t' read -r -a f <<<"$(ex_line)"
    [ "${#f[@]}" = 4 ] || fail "no exercise in the therapy window"
    e="${f[1]}"; t="${f[2]}"; n="${f[3]}"; c="${codes[$e]}"
    case " $seen " in *" $e "*) ;; *) seen="$seen $e"; sleep 0.8; shot "$tag-$c" ;; esac
    case "$mode:$c" in
      play:WY|play:PWY|play:DC) play_choice "$t" "$tag-$c-$t" ;;
      play:UK) play_tiles "$t" "$tag-$c-$t" ;;
      play:WP|play:ZO|play:PWP) play_typing "$t" "$tag-$c-$t" ;;
      play:WYL) settle 0.5 "card" ;;
      *:PP|*:PNO)
        # Automatic paging: the next task, and after the last one the next
        # exercise, comes by itself.
        moved_from "$e" "$t" 20
        [ "$t" = 0 ] && { sleep 0.8; shot "$tag-$c-paged"; }
        continue ;;
      play:PNC)
        local r; r=($(ptag REPLAY | head -1 | awk -F'\t' '{ print $2 + int($4 / 2), $3 + int($5 / 2) }'))
        if [ "$t" = 0 ] && [ "${#r[@]}" = 2 ]; then
          sleep 1.5; click_xy "${r[0]}" "${r[1]}"; settle 1.5 "replay"; shot "$tag-$c-film"
        fi ;;
    esac
    [ "$mode:$c:$t" = play:DC:0 ] && { sleep 0.5; shot "$tag-$c-film"; }
    # The last task of the last exercise: forward is off.
    if pwline tbDalej | cut -f8 | grep -q d; then break; fi
    if [ "$mode" = page ] && [ $((t % 2)) = 1 ]; then
      xdotool windowfocus "$therapy" 2>/dev/null || true; xdotool key Right; settle 0.4 "key Right"
    else
      forward
    fi
    moved_from "$e" "$t"
  done
  [ "$(wc -w <<<"$seen")" = 11 ] || fail "exercises seen: $seen"
}

# --- The database -------------------------------------------------------------

sql() { sqlite3 -batch -noheader "$prog/pacmem.qp" "$1"; }
expect_sql() { # expect_sql <query> <expected>
  local got; got="$(sql "$1")"
  [ "$got" = "$2" ] || fail "database: $1 gave '$got', expected '$2'"
}
check_database() { # check_database <number of therapies>
  expect_sql "SELECT NazwiskoImie || '|' || CwWybrane FROM Pacjenci" "$name|$letters"
  expect_sql "SELECT COUNT(*) FROM Statystyki" "$1"
  expect_sql "SELECT COUNT(*) FROM Cwiczenia WHERE idStat = (SELECT MIN(idStat) FROM Statystyki)" 11
  expect_sql "SELECT Wypowiedz FROM Statystyki ORDER BY idStat LIMIT 1" 1
  expect_sql "PRAGMA integrity_check" ok
  ls "$prog/Nagrane/"*_W.WAV >/dev/null 2>&1 || fail "no recording in Nagrane/"
}

# === The run ===================================================================
cd "$prog"
start_program "$log"
shot main
add_patient "$name"
shot patient

for e in "${order[@]}"; do tick $((e + 2)); done
shot ticked
for e in 0 1 2 3 4 5 6 7 8 9 10; do settings_page "$e"; done

click_widget tbStart; settle 2 "therapy"
wait_widget tbStop 10 >/dev/null
play_therapy play colour
shot therapy-end
stop_therapy Nie
stop_therapy Tak
focus_main

# The statistics page: the therapy's row, then a recording of the utterance.
wait_widget lvStatystyka 5 >/dev/null
row=($(ptag ROW | awk -F'\t' '$2 == "lvStatystyka" && $3 == 0 { print $4 + int($6 / 2), $5 + int($7 / 2) }'))
[ "${#row[@]}" = 2 ] || fail "no therapy on the statistics page"
click_xy "${row[0]}" "${row[1]}"; settle 0.5 "row"
shot statistics
click_widget tbWNagraj; settle 2 "recording"
shot recording
click_widget tbWStop; settle 0.5 "recording stop"
click_widget tbWOdtworz; settle 0.5 "playback"
shot playback
# The playback lasts as long as the recording; a busy machine made that long.
wait_widget tbWOdtworz 40 >/dev/null
click_widget tbWyjscie; settle 0.5 "exit question"
answer Tak
wait_exit "$log"
check_database 1

# --- Started again: everything is still there ------------------------------------
start_program "$log"
shot again
wait_text lbImieNazwisko "$name" || fail "the patient is not active after a restart"
for e in "${order[@]}"; do
  [ "$(bookmark $((e + 2)) | cut -f11)" = 1 ] || fail "${codes[$e]} is no longer ticked"
done
raise 2
[ "$(pwline WY_sbLZ | cut -f9 | cut -d' ' -f1)" = 2 ] || fail "WY's task count is lost"
checked WY_rbCztery || fail "WY's four choices are lost"
raise 1
ptag ROW | awk -F'\t' '$2 == "lvStatystyka"' | grep -q . || fail "the therapy is gone from the statistics page"
shot again-statistics

# --- Grey --------------------------------------------------------------------------
click_widget tbMonoKolor; settle 1.5 "grey"
shot grey-statistics
raise 0; shot grey-patients
raise 2; shot grey-page-WY
raise 8; shot grey-page-DC
click_widget tbStart; settle 2 "grey therapy"
wait_widget tbStop 10 >/dev/null
play_therapy "$([ "${E2E_GREY_PLAY:-0}" = 1 ] && echo play || echo page)" grey
stop_therapy Tak
focus_main
shot grey-after
click_widget tbMonoKolor; settle 1.5 "colour"
click_widget tbWyjscie; settle 0.5 "exit question"
answer Tak
wait_exit "$log"
check_database 2
echo "ok $W x $H"
INNER

export_work_env "loquena-e2e-$$"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
sizes="1280x1024"
[ "${E2E_ALL_SIZES:-0}" = 1 ] && sizes="1280x1024 1024x768 800x600 1920x1080 2560x1440"
sizes="${E2E_SIZES:-$sizes}"
# shellcheck disable=SC2086 # the sizes are words
drive_on_sizes $sizes
