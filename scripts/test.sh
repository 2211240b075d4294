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
# The whole-therapy drive (tests/system/e2e.sh, about ten minutes) mostly
# waits for the program, so it runs beside the unit tests and the other
# system scripts, on a virtual screen of its own; LOQUENA_E2E=0 leaves it out.
# It needs the program folder's material, so that is built first. The fuzz
# targets' check (tests/system/fuzz.sh, a clang build of its own) is one of
# the other scripts.
export SYSTEM_DATA="$build/system-data"
echo "== the program folder's material ($SYSTEM_DATA)"
mkdir -p "$SYSTEM_DATA"
(cd "$root" && "$build/tools/datagen/loquena-data" --source data --out "$SYSTEM_DATA" \
  --work "$SYSTEM_DATA/.work" >"$SYSTEM_DATA/datagen.log" 2>&1) ||
  { tail -20 "$SYSTEM_DATA/datagen.log" >&2; exit 1; }
# The other scripts take the same folder under their own names.
export SMOKE_DATA="$SYSTEM_DATA" LOQUENA_PROGRAM_DIR="$SYSTEM_DATA"
# Each script has a time limit, so that a hung program ends the run with a
# failure instead of holding it.
run_limited() { # run_limited <limit in s> <script>
  BUILD_DIR="$build" timeout --kill-after=30 "$1" bash "$2" </dev/null
}
e2e_pid=
e2e_log="$build/e2e.log"
if [ "${LOQUENA_E2E:-1}" != 0 ]; then
  echo "== e2e.sh (beside the rest; log: $e2e_log)"
  # On a screen larger than the design (the design shown larger); the design
  # sizes run by hand (README).
  E2E_SIZES="${E2E_SIZES:-1920x1080}" run_limited 1800 "$root/tests/system/e2e.sh" >"$e2e_log" 2>&1 &
  e2e_pid=$!
fi
# The own-material drive (tests/system/e2e-material.sh, about two minutes)
# likewise, on a screen of its own.
material_pid=
material_log="$build/e2e-material.log"
if [ "${LOQUENA_E2E:-1}" != 0 ]; then
  echo "== e2e-material.sh (beside the rest; log: $material_log)"
  run_limited 600 "$root/tests/system/e2e-material.sh" >"$material_log" 2>&1 &
  material_pid=$!
fi
# A failure further on still waits for the drives, so that they never outlive the run.
stop_e2e() {
  local p
  for p in $e2e_pid $material_pid; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap stop_e2e EXIT
started=$SECONDS
# Sound tests check timing against the real clock; on a busy machine a late
# scheduler tick can miss by a few milliseconds, so a failed test gets two more tries.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600 --repeat until-pass:3 </dev/null
echo "== unit tests done ($((SECONDS - started)) s)"
for t in "$root"/tests/system/*.sh; do
  case "$(basename "$t")" in lib.sh | e2e.sh | e2e-material.sh) continue ;; esac
  echo "== $(basename "$t")"
  run_limited 600 "$t" || { echo "$(basename "$t") failed or ran past 600 s" >&2; exit 1; }
  echo "== $(basename "$t") done ($((SECONDS - started)) s)"
done
# Waits for a drive started beside the rest and shows its log.
wait_drive() { # wait_drive <pid> <log> <script> <limit in s>
  local status=0
  echo "== waiting for $3"
  wait "$1" || status=$?
  cat "$2"
  [ "$status" = 0 ] || { echo "$3 failed or ran past $4 s" >&2; exit 1; }
  echo "== $3 done ($((SECONDS - started)) s)"
}
if [ -n "$material_pid" ]; then
  wait_drive "$material_pid" "$material_log" e2e-material.sh 600
  material_pid=
fi
if [ -n "$e2e_pid" ]; then
  wait_drive "$e2e_pid" "$e2e_log" e2e.sh 1800
  e2e_pid=
fi
