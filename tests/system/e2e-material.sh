#!/usr/bin/env bash
# The therapist's own material from end to end, on a virtual screen: a
# patient is added; in "Własne materiały…" an own word gets a photograph (a
# JPEG file chosen in the file window) and a voice recorded in the program
# (SDL's disk driver stands in for the microphone: it reads a tone between
# silences from a file); WY, UK, WP and PNO are set to the category "Własne"
# alone and played, and each must show the word's photograph and play its
# recorded voice (the program's test probe says which picture is shown and
# which sound file was played). The therapy is kept and its row is seen on
# the statistics page; in grey the word is deleted, and the therapy is still
# listed there. Every screen goes to
# $BUILD_DIR/screenshots/e2e-material-<width>-*.png.
#
#   BUILD_DIR=build tests/system/e2e-material.sh     # 1280x1024
#   E2E_MATERIAL_SIZE=1024x768 ...                   # another screen size
#   SYSTEM_DATA=<dir>    reuses (and keeps) a program folder built before.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
start_drive_script e2e-material sqlite3 python3 ffmpeg

# The photograph: a camera-sized picture the therapist picks from a folder.
ffmpeg -loglevel error -f lavfi -i testsrc=size=1600x1200:rate=1 -frames:v 1 "$work/zdjecie.jpg"
# The microphone's input, 16-bit mono at 22050 Hz as the voice window records:
# half a second of silence, then 1.5 s of a tone peaking at 9000; after the
# file's end the disk driver gives silence.
python3 - "$work/mikrofon.raw" <<'PY'
import math, struct, sys
rate = 22050
samples = [0] * (rate // 2)
samples += [int(9000 * math.sin(2 * math.pi * 330 * i / rate)) for i in range(rate * 3 // 2)]
samples += [0] * rate
open(sys.argv[1], "wb").write(struct.pack("<%dh" % len(samples), *samples))
PY

cat >"$work/inside.sh" <<'INNER'
source "$1"
begin_drive e2e-material "$@"
codes=(WY UK WP ZO PWP PWY DC WYL PP PNO PNC)
word=REKSIO

# The centre of a widget of that name in the window of that class (windows of
# one kind come one after the other in the probe, the window's own line first).
pwidget_in() { # pwidget_in <window class> <name>
  probe | awk -F'\t' -v w="$1" -v n="$2" '
    $1 == "W" && $2 ~ /^TForm/ { inside = ($2 == w) }
    $1 == "W" && inside && $3 == n { print $4 + int($6 / 2), $5 + int($7 / 2); exit }'
}
click_in() { # click_in <window class> <name>
  local p end=$((SECONDS + 5))
  while [ $SECONDS -le $end ]; do
    p=($(pwidget_in "$1" "$2"))
    [ "${#p[@]}" = 2 ] && { click_xy "${p[0]}" "${p[1]}"; return 0; }
    sleep 0.2
  done
  fail "no $2 in $1"
}
text_in() { # the text a widget of that window shows
  probe | awk -F'\t' -v w="$1" -v n="$2" '
    $1 == "W" && $2 ~ /^TForm/ { inside = ($2 == w) }
    $1 == "W" && inside && $3 == n { print $9; exit }'
}
wait_text_in() { # wait_text_in <window class> <name> <text pattern> [<seconds>]
  local end=$((SECONDS + ${4:-5}))
  while [ $SECONDS -le $end ]; do
    [[ "$(text_in "$1" "$2")" == $3 ]] && return 0
    sleep 0.2
  done
  fail "$2 in $1 shows '$(text_in "$1" "$2")', not $3"
}
# The keyboard to the window of that title (no window manager gives it).
focus_window() {
  local id
  for _ in $(seq 1 30); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
    [ -n "$id" ] && { xdotool windowfocus --sync "$id" 2>/dev/null || true; return 0; }
    sleep 0.2
  done
  fail "no window $1"
}
# A screenshot of one window alone (for the README).
shot_window() { # shot_window <title> <name>
  local id; id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
  [ -n "$id" ] && import -window "$id" "$shots/$SHOT_PREFIX-$W-$2.png"
}
# A file in Qt's file window: its path typed into the name field.
choose_file() {
  wait_widget fileNameEdit 10 >/dev/null
  focus_window "$2"
  click_widget fileNameEdit
  type_text "$1"; sleep 0.3
  xdotool key Return; settle 1 "file chosen"
}
own_sql() { sqlite3 -batch -noheader "$prog/wlasne.qp" "$1"; }

# --- The own word ------------------------------------------------------------
cd "$prog"
start_program "$log"
add_patient "Nowak Anna"
shot patient
click_widget btWlasneMaterialy; settle 1 "material window"
wait_widget lvSlowa >/dev/null
shot material-empty
click_in TFormMaterial btDodaj; settle 0.5 "add word"
focus_window '^Własne materiały$'
type_text "${word,,}"; sleep 0.3
wait_text_in TFormMaterial edNazwa "$word"
click_in TFormMaterial btObrazek
choose_file "$work/zdjecie.jpg" "^Obrazek$"
shot material-picture
click_in TFormMaterial btNagrajGlos; settle 1 "voice window"
wait_text_in TFormVoice lbWhat "$word"
click_in TFormVoice btNagraj
sleep 3
shot voice-recording
click_in TFormVoice btNagraj
wait_text_in TFormVoice lbStatus "Nagranie gotowe*"
click_in TFormVoice btOdsluchaj; settle 2.5 "playback"
shot voice-taken
click_in TFormVoice btZapisz; settle 0.5 "voice kept"
wait_text_in TFormMaterial lbGlos "nazwa: nowe nagranie*"
click_in TFormMaterial btZapisz; settle 2 "word saved"
shot material-word
click_xy $(pwline lvSlowa | awk -F'\t' '{ print $4 + 60, $5 + 30 }'); settle 0.5 "word chosen"
click_in TFormMaterial btEdytuj; settle 0.5 "word opened"
wait_text_in TFormMaterial edNazwa "$word"
wait_text_in TFormMaterial lbGlos "nazwa: nagrana*"
shot_window '^Własne materiały$' window
click_in TFormMaterial btAnuluj; settle 0.3 "word closed"
[ "$(own_sql "SELECT COUNT(*) FROM Wlasne WHERE Nazwa = '$word' AND Obraz <> '' AND Glos <> ''")" = 1 ] ||
  fail "the word is not stored with a picture and a voice"
click_in TFormMaterial btZamknij; settle 1 "material closed"

# The stored voice is the recording (the tone, its silences trimmed), not the
# synthesizer's: its samples follow the 44-byte header.
id="$(own_sql "SELECT ID FROM Wlasne WHERE Nazwa = '$word'")"
voice_file="Wlasne/$(own_sql "SELECT Glos FROM Wlasne WHERE ID = $id").wv"
voice="$prog/$voice_file"
python3 - "$voice" <<'PY' || fail "the stored voice is not the recording"
import struct, sys
data = open(sys.argv[1], "rb").read()[44:]
s = struct.unpack("<%dh" % (len(data) // 2), data[: len(data) // 2 * 2])
peak, seconds = max(abs(v) for v in s), len(s) / 22050
print(f"  stored voice: {seconds:.2f} s, peak {peak}")
sys.exit(0 if abs(peak - 9000) <= 60 and 1.5 <= seconds <= 1.8 else 1)
PY

# --- A therapy of the own material alone ----------------------------------------
for e in 0 1 2 9; do
  c="${codes[$e]}"
  tick $((e + 2)); raise $((e + 2))
  set_check "${c}_cbWszystkie" 0
  set_check "${c}_cbWlasne" 1
  [ "$c" = PNO ] && set_check PNO_rbReczne 1
  shot "page-$c"
done
click_widget tbStart; settle 2 "therapy"
wait_widget tbStop 10 >/dev/null
therapy_window
seen=""
for _ in $(seq 1 20); do
  IFS=$'\t' read -r -a f <<<"$(ex_line)"
  [ "${#f[@]}" = 4 ] || fail "no exercise in the therapy window"
  e="${f[1]}"; t="${f[2]}"; c="${codes[$e]}"
  # The word's photograph is shown and its own voice is played; a task that
  # waits for the patient is given the word's sound by the right click on
  # the picture, as the patient asks for it.
  photo=""; sound=""
  for try in $(seq 1 25); do
    snapshot="$(probe)"
    photo="$(awk -F'\t' '$1 == "PHOTO" { print $2 }' <<<"$snapshot" | head -1)"
    sound="$(awk -F'\t' '$1 == "SOUND" { print $2 }' <<<"$snapshot")"
    [ "$photo" = $((1000000 + id)) ] && [[ "$sound" == *"$voice_file" ]] && break
    if [ "$try" = 10 ]; then
      p=($(probe | awk -F'\t' '$1 == "W" && $2 == "CKompPhoto" { print $4 + int($6 / 2), $5 + int($7 / 2); exit }'))
      [ "${#p[@]}" = 2 ] && xdotool mousemove --sync "${p[0]}" "${p[1]}" click 3
    fi
    sleep 0.2
  done
  [ "$photo" = $((1000000 + id)) ] || fail "$c shows picture '$photo', not the word's"
  [[ "$sound" == *"$voice_file" ]] || fail "$c played '$sound', not the word's recording"
  echo "  $c: the word's photograph and recording"
  seen="$seen $c"
  shot "therapy-$c"
  pwline tbDalej | cut -f8 | grep -q d && break
  forward
  moved_from "$e" "$t"
done
[ "$seen" = " WY UK WP PNO" ] || fail "exercises seen:$seen"
stop_therapy Tak
focus_main
wait_widget lvStatystyka 5 >/dev/null
ptag ROW | awk -F'\t' '$2 == "lvStatystyka"' | grep -q . || fail "no therapy on the statistics page"
shot statistics

# --- In grey: the word deleted, and the past therapy stays ---------------------------
click_widget tbMonoKolor; settle 1.5 "grey"
raise 0
click_widget btWlasneMaterialy; settle 1 "material window"
list=($(pwline lvSlowa | cut -f4-7))
[ "${#list[@]}" = 4 ] || fail "no word list"
click_xy $((list[0] + 60)) $((list[1] + 30)); settle 0.3 "word chosen"
shot grey-material
click_in TFormMaterial btUsun; settle 0.5 "delete"
answer Tak
settle 0.5 "deleted"
shot grey-material-deleted
[ "$(own_sql "SELECT COUNT(*) FROM Wlasne")" = 0 ] || fail "the word is still stored"
[ ! -e "$voice" ] || fail "the word's voice is still there"
click_in TFormMaterial btZamknij; settle 0.5 "material closed"
raise 1
wait_widget lvStatystyka 5 >/dev/null
row=($(ptag ROW | awk -F'\t' '$2 == "lvStatystyka" && $3 == 0 { print $4 + int($6 / 2), $5 + int($7 / 2) }'))
[ "${#row[@]}" = 2 ] || fail "the therapy is gone from the statistics page"
click_xy "${row[0]}" "${row[1]}"; settle 0.5 "row"
shot grey-statistics
click_widget tbMonoKolor; settle 1.5 "colour"
click_widget tbWyjscie; settle 0.5 "exit question"
answer Tak
wait_exit "$log"
echo "ok $W x $H"
INNER

export_work_env "loquena-e2e-material-$$"
# SDL's disk driver: the microphone reads the file, the loudspeaker writes one.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILEIN="$work/mikrofon.raw" SDL_DISKAUDIOFILE="$work/glosnik.raw"
drive_on_sizes "${E2E_MATERIAL_SIZE:-1280x1024}"
