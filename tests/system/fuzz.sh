#!/usr/bin/env bash
# Builds every fuzz target (fuzz/, clang with libFuzzer and the sanitizers) and
# checks each: its seeds and its kept findings must run clean, then it is
# fuzzed for FUZZ_CHECK_SECONDS (default 5) from them. Shows a fuzz build that
# no longer builds, and any finding, with the input kept in
# <fuzz build>/artifacts/<target>/. The fuzz build is kept in <build>/fuzz
# (FUZZ_OUT), apart from the program's build. Skips where clang has no
# libFuzzer.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${BUILD_DIR:-$root/build}"
export FUZZ_OUT="${FUZZ_OUT:-$build/fuzz}"
mkdir -p "$FUZZ_OUT"
for target in container wave film content-db patient-db own-import; do
  log="$FUZZ_OUT/check-$target.log"
  start=$SECONDS
  if ! sh "$root/fuzz/run.sh" --check "$target" "${FUZZ_CHECK_SECONDS:-5}" >"$log" 2>&1; then
    tail -40 "$log" >&2
    echo "fuzz: $target failed (log: $log)" >&2
    exit 1
  fi
  if grep -q '^skipped:' "$log"; then
    cat "$log" >&2
    exit 0
  fi
  echo "fuzz: $target clean ($(grep -m1 -o 'Done [0-9]* runs' "$log" || echo '?'), $((SECONDS - start)) s)"
done
