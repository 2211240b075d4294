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
# The drives of the whole program (tests/system/e2e*.sh) mostly wait for it,
# so each runs beside the unit tests and the other system scripts, on a
# virtual screen and under an instance name of its own, its log in the build
# folder; LOQUENA_E2E=0 leaves them out. The whole therapy (e2e.sh, about ten
# minutes) runs on a screen larger than the design (the design shown larger);
# the design sizes run by hand (README). The shorter drives have 600 s each.
drive_pids=()
drive_names=()
start_drive() { # start_drive <script>
  local name limit=600
  name="$(basename "$1")"
  [ "$name" = e2e.sh ] && limit=1800
  echo "== $name (beside the rest; log: $build/${name%.sh}.log)"
  E2E_SIZES="${E2E_SIZES:-1920x1080}" run_limited "$limit" "$1" >"$build/${name%.sh}.log" 2>&1 &
  drive_pids+=($!)
  drive_names+=("$name")
}
if [ "${LOQUENA_E2E:-1}" != 0 ]; then
  for t in "$root"/tests/system/e2e*.sh; do start_drive "$t"; done
fi
# A failure further on still waits for the drives, so that they never outlive the run.
stop_e2e() {
  local p
  for p in "${drive_pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap stop_e2e EXIT
started=$SECONDS
# Sound tests check timing against the real clock; on a busy machine a late
# scheduler tick can miss by a few milliseconds, so a failed test gets two more tries.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600 --repeat until-pass:3 </dev/null
echo "== unit tests done ($((SECONDS - started)) s)"
for t in "$root"/tests/system/*.sh; do
  case "$(basename "$t")" in lib.sh | e2e*.sh) continue ;; esac
  echo "== $(basename "$t")"
  run_limited 600 "$t" || { echo "$(basename "$t") failed or ran past 600 s" >&2; exit 1; }
  echo "== $(basename "$t") done ($((SECONDS - started)) s)"
done
# Waits for each drive and shows its log.
for i in "${!drive_pids[@]}"; do
  name="${drive_names[$i]}"
  echo "== waiting for $name"
  status=0
  wait "${drive_pids[$i]}" || status=$?
  drive_pids[$i]=
  cat "$build/${name%.sh}.log"
  [ "$status" = 0 ] || { echo "$name failed or ran past its time limit" >&2; exit 1; }
  echo "== $name done ($((SECONDS - started)) s)"
done
