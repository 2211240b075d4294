#!/bin/bash
# Kills the clinic's PostgreSQL server (SIGKILL of the server and all its
# processes) at random moments while a workstation saves its patient and
# finishes therapies, and starts it again after a random pause; the
# workstation goes on throughout, keeping the therapies that end while the
# server is away and storing them once it is back. At the end the database
# must hold every therapy the workstation reported exactly once and whole,
# nothing kept may be left, no patient locked, and pg_amcheck must be clean.
#   tools/killtest/serverkill.sh build/tools/killtest/loquena-serverkilldriver [rounds]
# (also: LOQUENA_KILL_CLINIC=server tools/killtest/killtest.sh ...)
set -u
driver=${1:?path of loquena-serverkilldriver}
rounds=${2:-20}
root="$(cd "$(dirname "$0")/../.." && pwd)"
cluster="$root/tests/common/pgcluster.sh"
work=$(mktemp -d)
trap 'bash "$cluster" stop "$work/pg"; rm -rf "$work"' EXIT
conninfo=$(LOQUENA_PG_FSYNC=on bash "$cluster" start "$work/pg") ||
    { echo "the PostgreSQL server did not start"; exit 1; }
psql "$conninfo dbname=postgres" -qc "CREATE DATABASE serverkill" >/dev/null
db="$conninfo dbname=serverkill"
log=$work/progress.log
"$driver" init "$db" || { echo "cannot create the tables in $db"; exit 1; }
XDG_DATA_HOME="$work" "$driver" run "$db" "$log" "$work/kept.json" "$work/stop" 2>"$work/driver.err" &
pid=$!
pause() { # a random pause between $1 and $2 seconds
    sleep "$(awk -v seed="$RANDOM$round" -v a="$1" -v b="$2" \
        'BEGIN { srand(seed); printf "%.3f", a + rand() * (b - a) }')"
}
failures=0
for round in $(seq 1 "$rounds"); do
    pause 0.2 1.5
    bash "$cluster" kill "$work/pg" || { echo "round $round: the kill failed"; failures=$((failures + 1)); }
    pause 0 2
    bash "$cluster" resume "$work/pg" >>"$work/resume.log" 2>&1 ||
        { echo "round $round: the server did not start again"; tail -5 "$work/resume.log"; exit 1; }
    kill -0 "$pid" 2>/dev/null || { echo "round $round: the workstation ended"; break; }
done
pause 0.5 1
touch "$work/stop"
for _ in $(seq 1 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    echo "the workstation does not end"; kill -KILL "$pid"; failures=$((failures + 1))
fi
wait "$pid"; rc=$?
[ "$rc" -eq 0 ] || { echo "the workstation ended with $rc"; cat "$work/driver.err"; failures=$((failures + 1)); }
result=$("$driver" check "$db" "$log" "$work/kept.json") || failures=$((failures + 1))
amcheck="$(pg_config --bindir 2>/dev/null || ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)/pg_amcheck"
"$amcheck" -h "$(cat "$work/pg/pgdir")" -p "$(cat "$work/pg/port")" -U loquena \
    --install-missing --heapallindexed serverkill >"$work/amcheck.log" 2>&1 ||
    { failures=$((failures + 1)); echo "pg_amcheck:"; cat "$work/amcheck.log"; }
echo "server kills: $rounds, failures: $failures, $result"
[ "$failures" -eq 0 ]
