#!/bin/bash
# Kills a process that saves patients and therapies at random moments and
# checks after each kill that the patient database passes integrity_check and
# holds every save that had returned before the kill.
#   tools/killtest/killtest.sh build/tools/killtest/loquena-killdriver [rounds]
set -u
driver=${1:?path of loquena-killdriver}
rounds=${2:-200}
# LOQUENA_KILL_CLINIC=server: the server killed instead, under a workstation
# that goes on working (serverkill.sh, its driver beside this one).
if [ "${LOQUENA_KILL_CLINIC:-0}" = server ]; then
    exec "$(dirname "$0")/serverkill.sh" "$(dirname "$driver")/loquena-serverkilldriver" "$rounds"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/pacmem.qp
log=$work/progress.log
# LOQUENA_KILL_CLINIC=1: the same against a clinic database on a throw-away
# PostgreSQL server (fsync on), checked with pg_amcheck at the end.
root="$(cd "$(dirname "$0")/../.." && pwd)"
if [ "${LOQUENA_KILL_CLINIC:-0}" = 1 ]; then
    trap 'bash "$root/tests/common/pgcluster.sh" stop "$work/pg"; rm -rf "$work"' EXIT
    conninfo=$(LOQUENA_PG_FSYNC=on bash "$root/tests/common/pgcluster.sh" start "$work/pg") ||
        { echo "the PostgreSQL server did not start"; exit 1; }
    psql "$conninfo dbname=postgres" -qc "CREATE DATABASE kill" >/dev/null
    db="$conninfo dbname=kill"
fi
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
if [ "${LOQUENA_KILL_CLINIC:-0}" = 1 ]; then
    amcheck="$(pg_config --bindir)/pg_amcheck"
    "$amcheck" -h "$(cat "$work/pg/pgdir")" -p "$(cat "$work/pg/port")" -U loquena \
        --install-missing --heapallindexed kill >"$work/amcheck.log" 2>&1 ||
        { failures=$((failures + 1)); echo "pg_amcheck:"; cat "$work/amcheck.log"; }
fi
echo "rounds: $rounds, failures: $failures, last: $result"
[ "$failures" -eq 0 ]
