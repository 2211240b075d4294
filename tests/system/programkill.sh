#!/usr/bin/env bash
# A short run of the whole program's kill test (tools/killtest/programkill.sh):
# ten kills at random moments of saves, therapies and recordings, each
# followed by the check of the patient database.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
bash "$root/tools/killtest/programkill.sh" "$build" "${PROGRAMKILL_ROUNDS:-10}"
