#!/bin/bash
# Twenty workstations (processes of loquena-loaddriver) store therapies and
# recordings at once on one clinic database of a throw-away PostgreSQL server
# for five minutes; then the database is compared with what each of them
# confirmed (no error, no row lost or stored twice, no lock left) and checked
# with pg_amcheck.
#   tools/loadtest/loadtest.sh build/tools/loadtest/loquena-loaddriver
# LOQUENA_LOAD_SECONDS (300) and LOQUENA_LOAD_PROCESSES (20) change the run.
set -u
driver=${1:?path of loquena-loaddriver}
seconds=${LOQUENA_LOAD_SECONDS:-300}
processes=${LOQUENA_LOAD_PROCESSES:-20}
root="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(mktemp -d)
trap 'bash "$root/tests/common/pgcluster.sh" stop "$work/pg" >/dev/null 2>&1; rm -rf "$work"' EXIT
conninfo=$(LOQUENA_PG_FSYNC=on bash "$root/tests/common/pgcluster.sh" start "$work/pg") ||
    { echo "the PostgreSQL server did not start"; exit 1; }
psql "$conninfo dbname=postgres" -qc "CREATE DATABASE obciazenie" >/dev/null || exit 1
db="$conninfo dbname=obciazenie"
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
failures=0
# The first connection makes the tables; the others find them made.
start=$(date +%s)
pids=()
for i in $(seq 1 "$processes"); do
    "$driver" run "$db" "$i" "$seconds" "$work/log-$i" 2>>"$work/errors" &
    pids+=($!)
done
for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then
        failures=$((failures + 1))
        echo "workstation $((i + 1)) ended with an error"
    fi
done
elapsed=$(($(date +%s) - start))
[ -s "$work/errors" ] && cat "$work/errors"
logs=()
for i in $(seq 1 "$processes"); do logs+=("$work/log-$i"); done
"$driver" check "$db" "${logs[@]}" || failures=$((failures + 1))
amcheck="$(pg_config --bindir)/pg_amcheck"
if "$amcheck" -h "$(cat "$work/pg/pgdir")" -p "$(cat "$work/pg/port")" -U loquena \
    --install-missing --heapallindexed obciazenie >"$work/amcheck.log" 2>&1; then
    echo "pg_amcheck: clean"
else
    failures=$((failures + 1))
    echo "pg_amcheck:"
    cat "$work/amcheck.log"
fi
echo "workstations: $processes, seconds: $elapsed, failures: $failures"
[ "$failures" -eq 0 ]
