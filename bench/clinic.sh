#!/usr/bin/env bash
# The clinic store's speed over a local socket: starts a throw-away PostgreSQL
# cluster, runs bench_clinic on an empty database of it and stops it again.
# Build first: cmake --build build --target bench_clinic. Goals: a patient
# save <= 10 ms, the list of 2,000 patients <= 150 ms, the statistics list of
# 1,000 therapies <= 150 ms.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
work="$(mktemp -d /tmp/loquena-bench-XXXXXX)"
trap 'bash "$root/tests/common/pgcluster.sh" stop "$work/pg"; rm -rf "$work"' EXIT
conninfo="$(bash "$root/tests/common/pgcluster.sh" start "$work/pg")"
psql "$conninfo dbname=postgres" -qc "CREATE DATABASE bench" >/dev/null
LOQUENA_CLINIC="$conninfo dbname=bench" XDG_RUNTIME_DIR="$work" \
  "$build/bench/bench_clinic" "$@"
