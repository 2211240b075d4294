#!/usr/bin/env bash
# Damaged or missing data files at start: for each case the real program is
# started on a virtual screen from its own program folder; it must show its
# numbered message under "Loquena - Błąd" (screenshot taken), end in order
# when the message is answered (exit code 0, no signal, no core) and never
# touch a damaged patient database.
#
#   BUILD_DIR=build tests/system/datafiles.sh
#   DATAFILES_ONLY=<regular expression>: only the cases whose names match.
#   LOQUENA_PROGRAM_DIR=<folder with Data/ and pacmem.qp> (default: program/ of
#   the checkout; without one the data build makes it, about a minute).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
exe="$build/loquena"
need_files datafiles "$exe"
need_tools datafiles xvfb-run xdotool import sqlite3
make_work_dir datafiles
# DATAFILES_KEEP=1 keeps the work folder (the cases' logs) for a look.
[ -z "${DATAFILES_KEEP:-}" ] || trap - EXIT
shots="$(shots_dir)"
source_prog="$(program_data datafiles "${LOQUENA_PROGRAM_DIR:-$root/program}" "$work/data")"
data="$(cd "$source_prog/Data" && pwd)"

# A patient database with patients, therapies and settings: what a damaged
# copy must keep.
patients="$work/pacmem-full.qp"
cp "$source_prog/pacmem.qp" "$patients"
chmod u+w "$patients"
sqlite3 "$patients" <<'SQL'
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)
INSERT INTO Pacjenci (NazwiskoImie, Poczatek, Ostatnia, Opis)
  SELECT 'Pacjent ' || i, '2026-01-01 00:00:00.000', '2026-02-01 00:00:00.000',
         'Opis pacjenta ' || i || ' ' || hex(randomblob(60)) FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600)
INSERT INTO Statystyki (idPac, Data, CwWybrane) SELECT i % 300 + 1, '2026-02-01', 3 FROM n;
UPDATE Ust SET AktywnyPac = 7;
SQL

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
exe="$1"; data="$2"; patients="$3"; shots="$4"; work="$5"; W="$6"; shift 6
unset QT_QPA_PLATFORM
failures=0

# A fresh program folder: the executable, Data/ as links to the material (so a
# single file can be taken away or replaced), the patients, no recordings.
make_folder() {
  local prog="$1"
  rm -rf "$prog"; mkdir -p "$prog/Data"
  for f in "$data"/*; do ln -s "$f" "$prog/Data/$(basename "$f")"; done
  cp "$patients" "$prog/pacmem.qp"
  mkdir -m 700 "$prog/Nagrane"
  cp "$exe" "$prog/loquena"
}

# Replaces Data/<file> (or pacmem.qp) with its first half.
truncate_half() {
  local target="$1" original size
  original="$(readlink -f "$target")"
  size=$(stat -c %s "$original")
  head -c $((size / 2)) "$original" >"$target.half"
  mv -f "$target.half" "$target"
}

fail() { echo "FAIL $W $case: $*" >&2; failures=$((failures + 1)); }

# run_case <name> <expected message number> <change...>
run_case() {
  case="$1"; local number="$2"; shift 2
  local failed_before=$failures
  local prog="$work/prog-$case"
  make_folder "$prog"
  (cd "$prog" && eval "$*")
  local before=""
  [ -f "$prog/pacmem.qp" ] && before="$(sha256sum <"$prog/pacmem.qp")"
  (cd "$prog" && exec ./loquena) >"$work/out-$case.log" 2>&1 &
  local pid=$! box=""
  for _ in $(seq 1 250); do
    box="$(xdotool search --onlyvisible --name '^Loquena - B' 2>/dev/null | head -1 || true)"
    [ -n "$box" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$box" ]; then
    import -window root "$shots/datafiles-$case.png"
    if kill -0 "$pid" 2>/dev/null; then
      fail "no message window within 25 s"
      kill -KILL "$pid"
    else
      fail "ended without a message"
    fi
    wait "$pid" 2>/dev/null || true
    cat "$work/out-$case.log" >&2
    return
  fi
  sleep 0.3
  import -window root "$shots/datafiles-$case.png"
  xdotool windowfocus "$box" 2>/dev/null || true
  xdotool key Return 2>/dev/null || true
  for i in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    # A key that went nowhere (the box not yet focused) is pressed again.
    if [ $((i % 30)) -eq 0 ]; then
      xdotool windowfocus "$box" 2>/dev/null || true
      xdotool key Return 2>/dev/null || true
    fi
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "still running after the message was answered"
    kill -KILL "$pid"
  fi
  local rc=0
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "exit code $rc"
  compgen -G "$prog/core*" >/dev/null && fail "core dump"
  grep -q "#$number:" "$work/out-$case.log" || {
    fail "message #$number not shown"; cat "$work/out-$case.log" >&2; }
  if [ -n "$before" ]; then
    if [ ! -f "$prog/pacmem.qp" ]; then fail "pacmem.qp is gone"
    elif [ "$(sha256sum <"$prog/pacmem.qp")" != "$before" ]; then
      fail "pacmem.qp was changed"; cp "$prog/pacmem.qp" "$work/changed-$case.qp"; fi
  fi
  [ "$failures" -eq "$failed_before" ] && echo "ok $W $case: #$number, exit code $rc"
  rm -rf "$prog"
}

too_few_rows() { # keeps three words in use
  rm -f Data/sdrow.qp; cp "$(readlink -f "$data/sdrow.qp")" Data/sdrow.qp; chmod u+w Data/sdrow.qp
  sqlite3 Data/sdrow.qp "UPDATE Slowa SET Jest = 0 WHERE rowid NOT IN (SELECT rowid FROM Slowa WHERE Jest <> 0 LIMIT 3);"
}

for entry in "$@"; do
  IFS='|' read -r name number change <<<"$entry"
  [[ "$name" =~ ${DATAFILES_ONLY:-.} ]] || continue
  run_case "$name" "$number" "$change"
done
exit "$failures"
INNER

export_work_env "loquena-datafiles-$$"
export SDL_AUDIODRIVER=dummy
# name | message number | what is done to the program folder
cases_1024=(
  "grwin-missing|01|rm Data/grwin.bc"
  "grwin-truncated|01|truncate_half Data/grwin.bc"
  "bttofa-missing|02|rm Data/bttofa.bc"
  "bttofa-truncated|02|truncate_half Data/bttofa.bc"
  "pacmem-missing|03|rm pacmem.qp"
  "pacmem-truncated|03|truncate_half pacmem.qp"
  "pacmem-garbage|03|head -c 20000 /dev/urandom >pacmem.qp"
  "cextb-missing|11|rm Data/cextb.bc"
  "cextb-truncated|11|truncate_half Data/cextb.bc"
  "sdrow-missing|12|rm Data/sdrow.qp"
  "sdrow-truncated|12|truncate_half Data/sdrow.qp"
  "sdrow-too-few-rows|13|too_few_rows"
  "zdjar3-missing|15|rm Data/zdjar3.bb"
  "zdjar3-truncated|15|truncate_half Data/zdjar3.bb"
)
cases_1280=(
  "zdjar5-missing|15|rm Data/zdjar5.bb"
  "zdjar5-truncated|15|truncate_half Data/zdjar5.bb"
)
rc=0
on_virtual_screen 1024x768 bash "$work/inside.sh" "$exe" "$data" "$patients" \
  "$shots" "$work" 1024 "${cases_1024[@]}" || rc=1
on_virtual_screen 1280x1024 bash "$work/inside.sh" "$exe" "$data" "$patients" \
  "$shots" "$work" 1280 "${cases_1280[@]}" || rc=1
echo "screenshots in $shots (datafiles-*.png)"
[ "$rc" -eq 0 ] && echo "datafiles: all cases ok" || echo "datafiles: FAILED" >&2
exit "$rc"
