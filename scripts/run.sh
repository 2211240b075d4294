#!/usr/bin/env bash
# Command (1): installs the packages, builds what running needs (the program
# and the data build; the test command builds the rest in the same folder),
# makes the program folder with its data and starts the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" loquena loquena-data
bash "$root/scripts/make-program.sh"
prog="${PROGRAM_DIR:-$root/program}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/loquena-runtime-XXXXXX)}"
cd "$prog"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the program on a virtual 1280x1024 screen (Xvfb)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./loquena
fi
exec ./loquena
