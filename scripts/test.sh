#!/usr/bin/env bash
# Command (2): installs the packages, builds everything (in the same folder as
# command (1), so what it built is not built again) and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
export XDG_RUNTIME_DIR="$(mktemp -d /tmp/loquena-runtime-XXXXXX)"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
# Sound tests check timing against the real clock; on a busy machine a late
# scheduler tick can miss by a few milliseconds, so a failed test gets two more tries.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600 --repeat until-pass:3 </dev/null
# Checks that start the real program under a virtual screen. They share one
# program folder with the full material; the data build brings it up to date
# (what is current is skipped). The fuzz targets' check (tests/system/fuzz.sh,
# a clang build of its own) runs in the same loop.
export SYSTEM_DATA="$build/system-data"
echo "== the program folder's material ($SYSTEM_DATA)"
mkdir -p "$SYSTEM_DATA"
(cd "$root" && "$build/tools/datagen/loquena-data" --source data --out "$SYSTEM_DATA" \
  --work "$SYSTEM_DATA/.work" >"$SYSTEM_DATA/datagen.log" 2>&1) ||
  { tail -20 "$SYSTEM_DATA/datagen.log" >&2; exit 1; }
# The other scripts take the same folder under their own names.
export SMOKE_DATA="$SYSTEM_DATA" LOQUENA_PROGRAM_DIR="$SYSTEM_DATA"
for t in "$root"/tests/system/*.sh; do
  [ "$(basename "$t")" = lib.sh ] && continue
  # Each script has a time limit, so that a hung program ends the run with a
  # failure instead of holding it. The whole-therapy drive (about ten minutes
  # at one size) gets more; LOQUENA_E2E=0 leaves it out.
  limit=600
  if [ "$(basename "$t")" = e2e.sh ]; then
    [ "${LOQUENA_E2E:-1}" = 0 ] && continue
    limit=1800
  fi
  [ -e "$t" ] || continue
  echo "== $(basename "$t")"
  # The whole-therapy drive runs on a screen larger than the design (the
  # design shown larger); the design sizes run by hand (README).
  E2E_SIZES="${E2E_SIZES:-1920x1080}" \
    BUILD_DIR="$build" timeout --kill-after=30 "$limit" bash "$t" </dev/null ||
    { echo "$(basename "$t") failed or ran past ${limit} s" >&2; exit 1; }
done
