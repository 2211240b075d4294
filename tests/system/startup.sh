#!/usr/bin/env bash
# Starts the real program on a virtual 1280x1024 screen from a fresh program
# folder: its splash is seen (navy with the name, then the picture Data/sp.b),
# it ends by itself with exit code 0, and a second start while the first runs
# ends at once without disturbing it.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
source "$root/tests/system/lib.sh"
exe="$build/loquena"
need_files startup "$exe"
need_tools startup xvfb-run import convert python3
make_work_dir startup
shots="$(shots_dir)"
mkdir -p "$work/prog"
cp "$exe" "$work/prog/loquena"

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
prog="$1"; shots="$2"
unset QT_QPA_PLATFORM
pixel() { convert "$1" -format "%[fx:int(255*u.p{$2,$3}.r)],%[fx:int(255*u.p{$2,$3}.g)],%[fx:int(255*u.p{$2,$3}.b)]" info:; }
near() { # near "r,g,b" "r,g,b"
  python3 -c "import sys; a=[int(v) for v in sys.argv[1].split(',')]; b=[int(v) for v in sys.argv[2].split(',')]; sys.exit(0 if max(abs(x-y) for x,y in zip(a,b))<=24 else 1)" "$1" "$2"
}

run_round() { # run_round <name> <point x> <point y> <expected colour>
  local name="$1" x="$2" y="$3" want="$4"
  # The first instance shows its splash long enough for the screenshot and the
  # second start to happen while it runs, even on a busy machine.
  LOQUENA_SPLASH_MS=15000 "$prog/loquena" & local first=$!
  sleep 2
  import -window root "$shots/startup-$name.png"
  local got; got="$(pixel "$shots/startup-$name.png" "$x" "$y")"
  near "$got" "$want" || { echo "FAIL $name: pixel ($x,$y) is $got, expected $want" >&2; kill "$first"; exit 1; }
  local corner; corner="$(pixel "$shots/startup-$name.png" 5 5)"
  near "$corner" "0,0,0" || { echo "FAIL $name: the splash is not centred ($corner at 5,5)" >&2; kill "$first"; exit 1; }

  local start=$(date +%s%N)
  LOQUENA_SPLASH_MS=0 "$prog/loquena"
  local rc=$? ms=$(( ($(date +%s%N) - start) / 1000000 ))
  [ "$rc" -eq 0 ] || { echo "FAIL $name: second start exit code $rc" >&2; exit 1; }
  kill -0 "$first" 2>/dev/null || { echo "FAIL $name: the first instance is gone" >&2; exit 1; }
  echo "second start ended in ${ms} ms while the first ran"

  wait "$first" && rc=0 || rc=$?
  [ "$rc" -eq 0 ] || { echo "FAIL $name: exit code $rc" >&2; exit 1; }
  echo "ok $name: splash seen, ended with exit code 0"
}

# No Data/sp.b: the name on navy (a point right of the title words).
run_round fallback 844 464 "0,0,128"
# A picture as Data/sp.b: the window shows it.
mkdir -p "$prog/Data"
convert -size 400x200 xc:'rgb(230,120,20)' "jpg:$prog/Data/sp.b"
run_round picture 640 512 "230,120,20"
INNER

export_work_env "loquena-system-$$"
# The splash alone: without the windows the program ends when it has shown it.
export LOQUENA_SPLASH_ONLY=1
on_virtual_screen 1280x1024 bash "$work/inside.sh" "$work/prog" "$shots"
echo "screenshots in $shots"
