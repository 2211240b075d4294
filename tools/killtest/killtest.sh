#!/bin/bash
# Kills a process that saves patients and therapies at random moments and
# checks after each kill that the patient database passes integrity_check and
# holds every save that had returned before the kill.
#   tools/killtest/killtest.sh build/tools/killtest/loquena-killdriver [rounds]
set -u
driver=${1:?path of loquena-killdriver}
rounds=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/pacmem.qp
log=$work/progress.log
"$driver" init "$db" || { echo "cannot create $db"; exit 1; }
failures=0
for round in $(seq 1 "$rounds"); do
    "$driver" run "$db" "$log" &
    pid=$!
    # Between 20 ms (still starting) and 700 ms (deep in the loop).
    sleep "$(awk -v seed="$RANDOM$round" 'BEGIN { srand(seed); printf "%.3f", 0.02 + rand() * 0.68 }')"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if ! result=$("$driver" check "$db" "$log"); then
        failures=$((failures + 1))
        echo "round $round: $result"
    fi
done
echo "rounds: $rounds, failures: $failures, last: $result"
[ "$failures" -eq 0 ]
