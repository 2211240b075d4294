#!/bin/sh
# Builds the container fuzz target with clang and libFuzzer (address and
# undefined-behaviour sanitizers) and runs it for a while.
# Usage: tools/fuzz/run_fuzz.sh [seconds]   (default 180)
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build-fuzz}
SECONDS_TO_RUN=${1:-180}
mkdir -p "$OUT/corpus"

CXX=${CXX:-clang++}
QTFLAGS=$(pkg-config --cflags --libs Qt6Gui)
JPEGFLAGS=$(pkg-config --cflags --libs libjpeg)
"$CXX" -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
    -I"$ROOT/src" \
    "$ROOT/tools/fuzz/fuzz_container.cpp" \
    "$ROOT/src/graphics/CBitmapsContainer.cpp" \
    "$ROOT/src/app/JpegDecoder.cpp" \
    "$ROOT/src/app/CError.cpp" \
    $QTFLAGS $JPEGFLAGS -o "$OUT/fuzz_container"

# Seeds: a container with one 2x2 24-bit BMP, one with a grey 8-bit BMP, one empty.
python3 - "$OUT/corpus" <<'PY'
import struct, sys, os
d = sys.argv[1]
def bmp(w, h, bits):
    row = (w * bits // 8 + 3) & ~3
    pal = 1024 if bits == 8 else 0
    off = 54 + pal
    head = b'BM' + struct.pack('<IHHI', off + row * h, 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, row * h, 2835, 2835, 256 if bits == 8 else 0, 0)
    p = b''.join(bytes((i, i, i, 0)) for i in range(256)) if bits == 8 else b''
    return head + info + p + bytes(range(row * h))
def container(images):
    n = len(images)
    dirsize = 4 + 24 * n
    off = 13 + dirsize
    recs = b''
    for fmt, data in images:
        recs += struct.pack('<ii8siB3s', off, len(data), b'\0' * 8, -1, fmt, b'\0\x01\0')
        off += len(data)
    return b'BC\x011' + b'\0' * 5 + struct.pack('<ii', dirsize, n) + recs + b''.join(d for _, d in images)
open(os.path.join(d, 'bmp24'), 'wb').write(container([(1, bmp(2, 2, 24))]))
open(os.path.join(d, 'bmp8'), 'wb').write(container([(1, bmp(3, 2, 8)), (2, b'\xff\xd8\xff')]))
open(os.path.join(d, 'empty'), 'wb').write(b'BC\x011' + b'\0' * 5 + struct.pack('<ii', 4, 0))
PY

export QT_QPA_PLATFORM=offscreen
"$OUT/fuzz_container" -max_total_time="$SECONDS_TO_RUN" -max_len=4096 -rss_limit_mb=2048 "$OUT/corpus"
