#!/usr/bin/env bash
# Start of the program to the main window's first paint, with the full
# material: the median of RUNS starts (default 7) on a virtual 1280x1024
# screen. The program prints the wall-clock time of its first paint and ends
# when LOQUENA_FIRST_PAINT_EXIT is set; the time is taken from just before
# the process is started.
#
#   BUILD_DIR=build bench/coldstart.sh        (COLD_DATA=<dir> reuses a folder)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${BUILD_DIR:-$root/build}" && pwd)"
runs="${RUNS:-7}"
work="$(mktemp -d /tmp/loquena-coldstart-XXXXXX)"
trap 'rm -rf "$work"' EXIT
data="${COLD_DATA:-$work/data}"
if [ ! -f "$data/Data/grwin.bc" ]; then
  (cd "$root" && "$build/tools/datagen/loquena-data" --source data --out "$data" \
    --work "$data/.work" >"$work/datagen.log" 2>&1) || { tail "$work/datagen.log" >&2; exit 1; }
fi
mkdir -p "$work/prog" "$work/runtime"; chmod 700 "$work/runtime"
for f in "$data"/*; do ln -s "$f" "$work/prog/"; done
rm -f "$work/prog/pacmem.qp"; cp "$data/pacmem.qp" "$work/prog/"
cp "$build/loquena" "$work/prog/loquena"

cat >"$work/inside.sh" <<'INNER'
set -euo pipefail
prog="$1"; runs="$2"
unset QT_QPA_PLATFORM
for i in $(seq 1 "$runs"); do
  t0=$(date +%s%3N)
  out=$(LOQUENA_FIRST_PAINT_EXIT=1 "$prog/loquena")
  t1=$(echo "$out" | sed -n 's/^first-paint-ms //p')
  [ -n "$t1" ] || { echo "no first paint reported" >&2; exit 1; }
  echo $((t1 - t0))
done
INNER
export XDG_RUNTIME_DIR="$work/runtime" LOQUENA_INSTANCE_NAME="loquena-cold-$$"
times=$(xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash "$work/inside.sh" "$work/prog" "$runs")
echo "start to first paint (ms): $(echo $times)"
echo "median: $(echo "$times" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}') ms"
