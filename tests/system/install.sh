#!/usr/bin/env bash
# The installed program, as a desktop's user meets it. `cmake --install` into a
# temporary prefix; the menu entry passes desktop-file-validate and names the
# installed launcher and an icon that is there in every size; the entry's Exec
# line starts the program on a virtual screen in the user's own program folder
# (~/.local/share/loquena: the program copied, Data/ linked to the installed
# material, an empty pacmem.qp and Nagrane/, made on the first start). A
# second install and start keep the user's patients and recordings, and bring
# a changed program and a moved material link up to date. The same holds for
# a user's own install with --prefix ~/.local, where the installed material's
# folder is the user's program folder.
#
# Run as root, the program runs as the user "nobody": the installed files are
# then really out of its reach, as they are for a user of a system install.
#
#   BUILD_DIR=build tests/system/install.sh
#   SMOKE_DATA=<program folder> installs that folder's built Data/ instead of
#   running the install's own data build (build target loquena-install-data).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
source "$root/tests/system/lib.sh"
fail() {
  echo "FAIL install: $*" >&2
  exit 1
}
[ -f "$build/cmake_install.cmake" ] || fail "no configured build in $build"
need_files install "$build/loquena"
need_tools install desktop-file-validate xvfb-run xdotool sqlite3 identify
# The installed files are read-only: the work folder's removal makes them
# writable first.
make_work_dir install
# The user who runs the program must reach its home in here.
chmod 755 "$work"
shots="$(shots_dir)"
prefix="$work/usr"
home="$work/home"
folder="$home/.local/share/loquena"
mkdir -p "$home" "$work/home2"

# Who runs the installed program.
user_cmd=()
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null; then
  user_cmd=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --)
  chown "$(id -u nobody):$(id -g nobody)" "$home" "$work/home2" "$work/runtime"
fi
give_to_user() { [ ${#user_cmd[@]} -eq 0 ] || chown -hR "$(id -u nobody):$(id -g nobody)" "$@"; }
user="$(id -un)"
[ ${#user_cmd[@]} -gt 0 ] && user=nobody

# The material to install.
if [ -n "${SMOKE_DATA:-}" ] && [ -f "$SMOKE_DATA/Data/grwin.bc" ]; then
  export LOQUENA_DATA="$SMOKE_DATA"
else
  unset LOQUENA_DATA
  echo "install: the data build for the install (a few minutes the first time)"
  timeout 1800 cmake --build "$build" --target loquena-install-data >"$work/data.log" 2>&1 ||
    { tail -20 "$work/data.log" >&2; fail "the data build failed"; }
fi

install_into_prefix() { # <prefix> <round>: a system install, read-only for its users
  [ -d "$1" ] && chmod -R u+w "$1"
  cmake --install "$build" --prefix "$1" >"$work/install-$2.log" 2>&1 ||
    { tail -20 "$work/install-$2.log" >&2; fail "cmake --install ($2)"; }
  chmod -R a-w "$1"
}

install_into_prefix "$prefix" 1
share="$prefix/share/loquena"
entry="$prefix/share/applications/loquena.desktop"
for f in "$prefix/bin/loquena" "$prefix/libexec/loquena/loquena"; do
  [ -x "$f" ] || fail "no program $f"
done
for f in "$share/Data/sdrow.qp" "$share/Data/grwin.bc" "$share/Data/zdjar3.bb" "$share/pacmem-empty.qp" \
  "$entry" "$prefix/share/icons/hicolor/scalable/apps/loquena.svg"; do
  [ -f "$f" ] || fail "not installed: $f"
done
[ -z "$(find "$share" ! -perm -o+r -print -quit)" ] ||
  fail "installed material not readable by every user: $(find "$share" ! -perm -o+r | head -3)"
for size in 16 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/loquena.png"
  [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x${size}" ] || fail "icon $png"
done
[ "$(sqlite3 -readonly "$share/pacmem-empty.qp" 'SELECT count(*) FROM Pacjenci; SELECT AktywnyPac FROM Ust;' | tr '\n' ' ')" = "0 -1 " ] ||
  fail "the installed pacmem-empty.qp is not an empty patient database"

validation="$(desktop-file-validate "$entry" 2>&1)" || fail "desktop-file-validate: $validation"
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(key Categories)" = "Education;MedicalSoftware;" ] || fail "Categories=$(key Categories)"
[ "$(key Icon)" = "loquena" ] || fail "Icon=$(key Icon)"
[ "$(key Name)" = "Loquena" ] || fail "Name=$(key Name)"
exec_line="$(key Exec)"
exec_line="${exec_line#\"}"
exec_line="${exec_line%\"}"
[ "$exec_line" = "$prefix/bin/loquena" ] || fail "Exec=$(key Exec) does not name the installed launcher"
echo "ok installed into $prefix; the menu entry is valid"

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
phase="$1"; exec_line="$2"; home="$3"; folder="$4"; share="$5"; runtime="$6"; work="$7"; shots="$8"
shift 8
user_cmd=("$@")
fail() { echo "FAIL install: $*" >&2; exit 1; }
# The user runs the program and needs the screen's key.
chmod 644 "$XAUTHORITY"
as_user() { # a desktop's start: a clean environment, the user's home
  "${user_cmd[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" DISPLAY="$DISPLAY" \
    XAUTHORITY="$XAUTHORITY" XDG_RUNTIME_DIR="$runtime" SDL_AUDIODRIVER=dummy \
    LOQUENA_INSTANCE_NAME="loquena-install-$$" "$@"
}

# The program's process, from any of its windows (the splash may go while it
# is asked); empty when none shows within 30 s.
program_pid() {
  local window pid
  for _ in $(seq 1 150); do
    for window in $(xdotool search --onlyvisible --classname loquena 2>/dev/null || true); do
      pid="$(xdotool getwindowpid "$window" 2>/dev/null)" && { echo "$pid"; return; }
    done
    sleep 0.2
  done
}

# Start and end at the main window's first paint.
as_user LOQUENA_FIRST_PAINT_EXIT=1 "$exec_line" >"$work/first-$phase.log" 2>&1 &
job=$!
for _ in $(seq 1 600); do
  kill -0 "$job" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$job" 2>/dev/null; then
  import -window root "$shots/install-$phase-stuck.png" || true
  pid="$(program_pid)"
  [ -z "$pid" ] || kill "$pid"
  cat "$work/first-$phase.log" >&2
  fail "$phase: still running after 60 s (screen: $shots/install-$phase-stuck.png)"
fi
wait "$job" || { cat "$work/first-$phase.log" >&2; fail "$phase: the entry's Exec line failed"; }
grep -q '^first-paint-ms ' "$work/first-$phase.log" || fail "$phase: no main window"

# The program runs in the user's folder, from the copy there.
as_user "$exec_line" >"$work/run-$phase.log" 2>&1 &
job=$!
pid="$(program_pid)"
[ -n "$pid" ] || { kill "$job"; cat "$work/run-$phase.log" >&2; fail "$phase: no window in 30 s"; }
cwd="$(readlink "/proc/$pid/cwd")"
exe="$(readlink "/proc/$pid/exe")"
kill "$pid" 2>/dev/null ||
  { cat "$work/run-$phase.log" >&2; fail "$phase: the program ($pid, $exe) ended by itself"; }
wait "$job" 2>/dev/null || true
[ "$cwd" = "$folder" ] || fail "$phase: the program runs in $cwd, not in $folder"
[ "$exe" = "$folder/loquena" ] || fail "$phase: the program runs from $exe"

# The folder as the launcher leaves it.
[ -f "$folder/loquena" ] && [ ! -L "$folder/loquena" ] || fail "$phase: no program copied into $folder"
cmp -s "$folder/loquena" "$share/../../libexec/loquena/loquena" || fail "$phase: $folder/loquena is not the installed program"
[ "$(readlink -f "$folder/Data")" = "$(readlink -f "$share/Data")" ] || fail "$phase: Data/ links to $(readlink "$folder/Data")"
[ "$(stat -c %a "$folder/pacmem.qp")" = 600 ] || fail "$phase: pacmem.qp has mode $(stat -c %a "$folder/pacmem.qp")"
[ "$(stat -c %a "$folder/Nagrane")" = 700 ] || fail "$phase: Nagrane/ has mode $(stat -c %a "$folder/Nagrane")"
[ -z "$(find "$folder" -maxdepth 0 -perm /022)" ] || fail "$phase: others may write $folder"
owner="$("${user_cmd[@]}" id -u)"
for f in "$folder" "$folder/loquena" "$folder/pacmem.qp" "$folder/Nagrane"; do
  [ "$(stat -c %u "$f")" = "$owner" ] || fail "$phase: $f does not belong to the user"
done
[ -z "$(find "$folder" -maxdepth 1 -name '.*' -print -quit)" ] || fail "$phase: files left behind: $(ls -A "$folder")"
echo "ok $phase: started from the menu entry in $folder"
INNER

run_phase() { # <phase> <Exec line> <home> <share>
  on_virtual_screen 1280x1024 -f "$work/Xauthority" \
    bash "$work/inside.sh" "$1" "$2" "$3" "$3/.local/share/loquena" "$4" "$work/runtime" "$work" "$shots" \
    "${user_cmd[@]}" </dev/null
}

# The user's work: a patient and a recording. Then an older program in the
# folder, which the next start must replace.
add_user_work() { # <program folder>
  sqlite3 "$1/pacmem.qp" "INSERT INTO Pacjenci (NazwiskoImie) VALUES ('Źrebiec Łucja')"
  printf 'RIFF' >"$1/Nagrane/AAAAAAAB_AAAAAABK_W.WAV"
  # An own recording of a shipped word (made by the program, mode 0700/0600).
  mkdir -p -m 700 "$1/Glosy/ws" && printf 'RIFF' >"$1/Glosy/ws/KOT.wv" && chmod 600 "$1/Glosy/ws/KOT.wv"
  # The own material, made by the first start.
  [ -f "$1/wlasne.qp" ] && [ -d "$1/Wlasne" ] || fail "the first start made no own-material store"
  sqlite3 "$1/wlasne.qp" "INSERT INTO Wlasne (Nazwa, Obraz) VALUES ('BUREK', 'abc')"
  printf 'JPEG' >"$1/Wlasne/abc-5.jpg"
  printf '#!/bin/sh\nexit 3\n' >"$1/loquena"
  give_to_user "$1"
}

user_work_kept() { # <program folder> <what was done>
  [ "$(sqlite3 -readonly "$1/pacmem.qp" 'SELECT NazwiskoImie FROM Pacjenci')" = "Źrebiec Łucja" ] ||
    fail "the user's patient is gone after $2"
  [ -f "$1/Nagrane/AAAAAAAB_AAAAAABK_W.WAV" ] || fail "the user's recording is gone after $2"
  [ "$(cat "$1/Glosy/ws/KOT.wv" 2>/dev/null)" = RIFF ] || fail "the own recording is gone after $2"
  [ "$(sqlite3 -readonly "$1/wlasne.qp" 'SELECT Nazwa FROM Wlasne')" = "BUREK" ] ||
    fail "the user's own word is gone after $2"
  [ -f "$1/Wlasne/abc-5.jpg" ] || fail "the user's own picture is gone after $2"
}

run_phase first-start "$exec_line" "$home" "$share"
[ "$(sqlite3 -readonly "$folder/pacmem.qp" 'SELECT count(*) FROM Pacjenci')" = 0 ] ||
  fail "the new user's patient database is not empty"
add_user_work "$folder"
# A material link from an install elsewhere is pointed at this one again.
ln -sfn /nonexistent/share/loquena/Data "$folder/Data"
give_to_user "$folder"
before="$(sha256sum <"$folder/pacmem.qp")"
install_into_prefix "$prefix" 2
[ "$(sha256sum <"$folder/pacmem.qp")" = "$before" ] || fail "the second install changed the user's pacmem.qp"
run_phase second-start "$exec_line" "$home" "$share"
user_work_kept "$folder" "a second install and start"
echo "ok install: a second install kept $user's patients and recordings"

# A user's own install into ~/.local: the installed material lands in the
# user's program folder, which must still keep the user's files.
home2="$work/home2"
own="$home2/.local"
install_own() { # <round>
  cmake --install "$build" --prefix "$own" >"$work/install-$1.log" 2>&1 ||
    { tail -20 "$work/install-$1.log" >&2; fail "cmake --install ($1)"; }
  give_to_user "$home2"
}
install_own own-1
run_phase own-first-start "$own/bin/loquena" "$home2" "$own/share/loquena"
add_user_work "$own/share/loquena"
install_own own-2
run_phase own-second-start "$own/bin/loquena" "$home2" "$own/share/loquena"
user_work_kept "$own/share/loquena" "a second install into ~/.local"
echo "ok install: an install into ~/.local kept the patients and recordings"
