#!/usr/bin/env bash
# Configures and builds the named targets, or everything (the program, its
# tests, benchmarks and the data build) when none is named:
#   scripts/build.sh [target...]
# BUILD_DIR (default: build) and BUILD_TYPE (default: RelWithDebInfo) may be set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
type="${BUILD_TYPE:-RelWithDebInfo}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="$type" -DLOQUENA_WERROR=ON
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
