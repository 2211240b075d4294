#!/usr/bin/env bash
# Kills the whole program (SIGKILL) at random moments while it is used: saves
# of patients' records and settings, adding and deleting patients, therapies
# (stored at their end) and recordings. The program runs under
# loquena-programdriver, which starts it exactly as the real one starts and
# drives its windows on a virtual screen. After each kill the patient
# database must pass integrity_check and hold everything the program had
# confirmed as stored before the kill.
#
#   tools/killtest/programkill.sh <build dir> [rounds, default 200]
#   LOQUENA_PROGRAM_DIR=<folder with Data/> (default: program/ of the checkout;
#   without one the data build makes the material, about a minute)
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:?build directory}" && pwd)" || exit 1
source "$root/tests/system/lib.sh"
rounds="${2:-200}"
driver="$build/tools/killtest/loquena-programdriver"
need_files programkill "$driver"
need_tools programkill xvfb-run
make_work_dir programkill
source_prog="$(program_data programkill "${LOQUENA_PROGRAM_DIR:-$root/program}" "$work/data")" || exit 1
prog="$work/prog"
mkdir -p "$prog"
ln -s "$(cd "$source_prog/Data" && pwd)" "$prog/Data"
mkdir -m 700 "$prog/Nagrane"
cp "$driver" "$prog/loquena-programdriver"
"$driver" init "$prog/pacmem.qp" || { echo "programkill: cannot make pacmem.qp" >&2; exit 1; }

cat >"$work/inside.sh" <<'INNER'
set -uo pipefail
prog="$1"; work="$2"; rounds="$3"
unset QT_QPA_PLATFORM
log="$work/progress.log"
: >"$log"
declare -A kills=()
failures=0
result=""
for round in $(seq 1 "$rounds"); do
  start_line=$(wc -l <"$log")
  "$prog/loquena-programdriver" run "$log" >>"$work/driver.out" 2>&1 &
  pid=$!
  # One round in ten is killed while the program starts; the others once it
  # is at work, after up to 3 s of it.
  if [ $((RANDOM % 10)) -eq 0 ]; then
    sleep "$(awk -v s="$RANDOM" 'BEGIN { srand(s); printf "%.3f", rand() * 1.0 }')"
  else
    for _ in $(seq 1 200); do
      tail -n +"$((start_line + 1))" "$log" | grep -q '^r$' && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    sleep "$(awk -v s="$RANDOM" 'BEGIN { srand(s); printf "%.3f", rand() * 3.0 }')"
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "round $round: the program ended by itself"; tail -3 "$work/driver.out"
    failures=$((failures + 1)); wait "$pid"; continue
  fi
  kill -KILL "$pid"; wait "$pid" 2>/dev/null
  # What the program was doing: the last activity begun and not ended.
  last="$(tail -n +"$((start_line + 1))" "$log" | grep -a '^[bre] \?' | tail -1)"
  case "$last" in
    "") activity="start-up" ;;
    r|"e "*) activity="between actions" ;;
    "b "*) activity="${last#b }" ;;
    *) activity="other" ;;
  esac
  kills[$activity]=$(( ${kills[$activity]:-0} + 1 ))
  if ! result="$("$prog/loquena-programdriver" check "$prog" "$log")"; then
    failures=$((failures + 1))
    echo "round $round (killed during $activity):"; echo "$result"
    cp "$prog/pacmem.qp" "$work/failed-$round.qp" 2>/dev/null
  fi
done
echo "rounds: $rounds, failed checks: $failures"
printf 'kills during:'; for a in "${!kills[@]}"; do printf ' %s %d,' "$a" "${kills[$a]}"; done; echo
echo "facts logged: saves $(grep -c '^S ' "$log"), patients added $(grep -c '^A ' "$log"),"\
" deleted $(grep -c '^D ' "$log"), therapies $(grep -c '^T ' "$log"), recordings $(grep -c '^R ' "$log")"
echo "last check: $result"
[ "$failures" -eq 0 ]
INNER

export_work_env
export SDL_AUDIODRIVER=dummy
on_virtual_screen 1280x1024 bash "$work/inside.sh" "$prog" "$work" "$rounds"
