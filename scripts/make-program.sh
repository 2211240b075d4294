#!/usr/bin/env bash
# Makes the program folder: the executable beside Data/, pacmem.qp and Nagrane/.
# The folder lives outside the build tree (PROGRAM_DIR, default: program/ at the
# top of the checkout, ignored by git), so no build, clean or data build can
# remove a patient's database or recordings. The data build creates pacmem.qp
# and Nagrane/ only when they are missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
prog="${PROGRAM_DIR:-$root/program}"
mkdir -p "$prog"
install -m 755 "$build/loquena" "$prog/loquena.new"
mv -f "$prog/loquena.new" "$prog/loquena"
datagen="$build/tools/datagen/loquena-data"
if [ -x "$datagen" ]; then
  "$datagen" --source "$root/data" --out "$prog" --work "$build/datawork"
else
  echo "make-program: the data build is not built; Data/ left as it is" >&2
fi
echo "Program folder: $prog"
