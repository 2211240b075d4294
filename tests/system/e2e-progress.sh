#!/usr/bin/env bash
# The progress window from end to end, on a virtual screen of its own: a
# program folder whose patient database holds a patient with thirty
# therapies of all eleven exercises (written before the start), the
# statistics page, "Postępy", another exercise and measure, then "Raport PDF"
# and "Eksport CSV" saved through the file dialog with a typed name. The PDF
# (pdftotext) must name the patient and every exercise with the figures
# worked out here from the database's rows, and the CSV (Python's csv
# module) must hold exactly the database's rows. The window again in grey.
# Screens go to $BUILD_DIR/screenshots/progress-<width>-*.png, page 1 of the
# report to progress-<width>-pdf-1.png.
#
#   BUILD_DIR=build tests/system/e2e-progress.sh        # 1280x1024 (about a minute)
#   E2E_PROGRESS_SIZES="1280x1024 1024x768 800x600" ...  # the three design sizes
#   SYSTEM_DATA=<dir>     reuses (and keeps) a program folder built before.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
start_drive_script e2e-progress python3 pdftotext pdftoppm

# The patient and the therapies, written into a program folder's database.
cat >"$work/history.py" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("INSERT INTO Pacjenci (idPac, NazwiskoImie, Opis) VALUES (?, ?, ?)",
           (901, "Zażółć Gęślą-Jaźń Kowalska", "Afazja ruchowa po udarze; ćwiczy nazywanie."))
db.execute("UPDATE Ust SET AktywnyPac = 901")
for t in range(30):
    day = 1 + t % 28
    month = 1 + t // 28
    cur = db.execute("INSERT INTO Statystyki (idPac, Data, CwWybrane, Wypowiedz, Komentarz) "
                     "VALUES (901, ?, 2047, ?, ?)",
                     ("2026-%02d-%02d 1%d:%02d:00.000" % (month, day, t % 8, t), t % 3 == 0, t % 5 == 0))
    for e in range(11):
        lz = 4 + (t + e) % 7
        rozw = lz - (t * e) % 3 if e < 7 else 0
        blad = (t + 2 * e) % 3 if e < 7 else 0
        db.execute("INSERT INTO Cwiczenia (idStat, Cw, LZ, Rozw, Blad, Pomoc, Czas) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   (cur.lastrowid, e, lz, rozw, min(blad, rozw), (t * 7 + e) % 60, 300 + 37 * t + 11 * e))
db.commit()
PY

# What the report and the CSV must say, worked out from the database.
cat >"$work/check.py" <<'PY'
import csv, sqlite3, sys
db, pdf_text, csv_file = sqlite3.connect(sys.argv[1]), open(sys.argv[2], encoding="utf-8").read(), sys.argv[3]
titles = ["Wybieranie nazwy", "Układanie nazwy", "Wpisywanie nazwy", "Zadania opisowe",
          "Przysłowia - wpisywanie", "Przysłowia - wybieranie", "Dopasowanie czynności",
          "Zautomatyzowane ciągi słowne", "Powtarzanie przysłów", "Powtarzanie nazw obrazków",
          "Powtarzanie nazw czynności"]
codes = ["WY", "UK", "WP", "ZO", "PWP", "PWY", "DC", "WYL", "PP", "PNO", "PNC"]
text = " ".join(pdf_text.split())
def pl(v): return ("%.1f" % v).replace(".", ",")
problems = []
name = "Zażółć Gęślą-Jaźń Kowalska"
if name not in text: problems.append("no patient's name in the PDF")
rows = db.execute("SELECT s.Data, c.Cw, c.LZ, c.Rozw, c.Blad, c.Pomoc, c.Czas FROM Cwiczenia c "
                  "JOIN Statystyki s ON s.idStat = c.idStat WHERE s.idPac = 901 "
                  "ORDER BY s.Data, c.Cw").fetchall()
for e in range(11):
    mine = [r for r in rows if r[1] == e]
    lz, rozw = sum(r[2] for r in mine), sum(r[3] for r in mine)
    faultless = sum(max(0, r[3] - r[4]) for r in mine)
    hints, czas = sum(r[5] for r in mine) / len(mine), sum(r[6] for r in mine) / 10 / lz
    if e < 7:
        row = "%s %d %d %s %% %s %% %s %% %s s" % (titles[e], len(mine), lz, pl(rozw * 100 / lz),
                                                pl(faultless * 100 / lz), pl(hints), pl(czas))
    else:
        row = "%s %d %d – – – %s s" % (titles[e], len(mine), lz, pl(czas))
    if row not in text: problems.append("no summary row '%s' in the PDF" % row)
with open(csv_file, newline="", encoding="utf-8-sig") as f:
    got = list(csv.reader(f, delimiter=";"))
want = []
for data, e, lz, rozw, blad, pomoc, czas in rows:
    date = "%s.%s.%s" % (data[8:10], data[5:7], data[0:4])
    score = str(max(0, rozw - blad) * 100 // lz) if e < 7 else "x"
    want.append([name, date, data[11:19], codes[e], titles[e], str(lz), str(rozw), str(blad),
                 str(pomoc), pl(czas / 10), score])
if got[1:] != want:
    problems.append("the CSV differs from the database: %d rows, %d expected; first differing: %s"
                    % (len(got) - 1, len(want), next(([g, w] for g, w in zip(got[1:], want) if g != w), None)))
for p in problems: print(p)
sys.exit(1 if problems else 0)
PY

cat >"$work/inside.sh" <<'INNER'
source "$1"
begin_drive progress "$@"
python3 "$work/history.py" "$prog/pacmem.qp"
# The program holds its database exclusively: the checks read a copy.
cp "$prog/pacmem.qp" "$work/history-$W.qp"
out="$work/out-$W"; mkdir -p "$out"

# Saves through the file dialog under the typed path.
save_as() { # save_as <button> <path>
  click_widget "$1"; settle 1 "$1"
  click_widget fileNameEdit 10
  xdotool key ctrl+a BackSpace
  type_text "$2"; sleep 0.3
  xdotool key Return
  for _ in $(seq 1 50); do [ -s "$2" ] && break; sleep 0.2; done
  [ -s "$2" ] || fail "$1 wrote no $2"
}
# Opens "Postępy" from the statistics page.
open_progress() {
  click stats; settle 0.7 "statistics"
  click_widget btPostepy; settle 1.5 "progress"
  wait_widget pbWykres 10 >/dev/null
}

cd "$prog"
start_program "$log"
open_progress
shot colour
# Another exercise and one measure of it.
click_widget cbCwiczenie; settle 0.5 "exercise list"
xdotool key Down Return; settle 0.7 "exercise"
wait_text cbCwiczenie "Układanie nazwy" || fail "the exercise did not change"
click_widget cbWykres; settle 0.5 "measure list"
xdotool key Down Down Return; settle 0.7 "measure"
wait_text cbWykres "Używana pomoc" || fail "the measure did not change"
shot measure
save_as btRaport "$out/raport.pdf"
save_as btCsv "$out/postepy.csv"
pdftotext -layout "$out/raport.pdf" "$out/raport.txt"
python3 "$work/check.py" "$work/history-$W.qp" "$out/raport.txt" "$out/postepy.csv" || fail "report or CSV wrong"
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$out/raport.pdf" "$shots/progress-$W-pdf-1"
click_widget btZamknij; settle 0.5 "close"
focus_main

# Grey.
click_widget tbMonoKolor; settle 1.5 "grey"
open_progress
shot grey
click_widget btZamknij; settle 0.5 "close"
focus_main
click_widget tbMonoKolor; settle 1.5 "colour"
click_widget tbWyjscie; settle 0.5 "exit question"
answer Tak
wait_exit "$log"
echo "ok $W x $H"
INNER

export_work_env "loquena-e2e-progress-$$"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# shellcheck disable=SC2086 # the sizes are words
drive_on_sizes ${E2E_PROGRESS_SIZES:-1280x1024}
