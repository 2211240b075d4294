#!/bin/sh
# Builds the libFuzzer target for the sound files' WAVE parsing and runs it.
# Usage: fuzz/run-wave-fuzzer.sh [seconds]   (default 60)
# Skips (exit 0) when clang with libFuzzer is not available.
set -eu
cd "$(dirname "$0")/.."
SECONDS_TO_RUN="${1:-60}"
OUT=build-fuzz
CXX="${CXX_FUZZ:-clang++}"

if ! command -v "$CXX" >/dev/null 2>&1; then
    echo "skipped: $CXX not found"; exit 0
fi
mkdir -p "$OUT"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$OUT/probe.cpp"
if ! "$CXX" -fsanitize=fuzzer "$OUT/probe.cpp" -o "$OUT/probe" >/dev/null 2>&1; then
    echo "skipped: $CXX has no libFuzzer"; exit 0
fi

FLAGS="-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc"
"$CXX" $FLAGS $(pkg-config --cflags Qt6Core sdl2) \
    fuzz/WaveFuzzer.cpp src/platform/CWaveImage.cpp src/platform/CSoundPlayer.cpp \
    src/platform/CAudioOutput.cpp src/platform/CAudioSystem.cpp src/content/ContentScramble.cpp \
    $(pkg-config --libs Qt6Core sdl2) -o "$OUT/wave-fuzzer"

# Seeds: scrambled WAVE files of the formats the program plays.
CORPUS="$OUT/wave-corpus"
mkdir -p "$CORPUS"
python3 - "$CORPUS" <<'PY'
import struct, sys
def wave(rate, ch, bits, frames):
    fb = ch * bits // 8
    data = bytes((i * 37) & 0xFF for i in range(frames * fb))
    fmt = struct.pack('<HHIIHH', 1, ch, rate, rate * fb, fb, bits)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', 16) + fmt + b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body
def scramble(w):
    s = len(w) & 0xFFFFFFFF
    key = s ^ ((s << 13) & 0xFFFFFFFF) ^ 0x5A3C96E1
    head = struct.unpack('<10I', w[:40])
    return struct.pack('<10I', *[x ^ key for x in head]) + w[40:]
for i, (r, c, b, n) in enumerate([(22050, 1, 8, 300), (44100, 2, 16, 200), (8000, 1, 16, 1), (22050, 1, 8, 0)]):
    open(f'{sys.argv[1]}/seed{i}.wv', 'wb').write(scramble(wave(r, c, b, n)))
PY

export SDL_AUDIODRIVER=dummy
"$OUT/wave-fuzzer" -max_total_time="$SECONDS_TO_RUN" -max_len=8192 -print_final_stats=1 "$CORPUS"
