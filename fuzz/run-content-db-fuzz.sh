#!/bin/sh
# Builds and runs the libFuzzer target that opens damaged content database
# files. Not part of the default build or CI.
#   fuzz/run-content-db-fuzz.sh [seconds]   (default 60)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${LOQUENA_FUZZ_DIR:-$root/build-fuzz}
seconds=${1:-60}

if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ is missing: the fuzz target needs clang with libFuzzer; skipped." >&2
    exit 0
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long){return 0;}' |
    clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
    echo "clang++ has no libFuzzer runtime here; skipped." >&2
    exit 0
fi

mkdir -p "$out/corpus"
qt=$(pkg-config --cflags --libs Qt6Gui Qt6Core)
sqlite=$(pkg-config --cflags --libs sqlite3)
sources="$root/src/app/CError.cpp $root/src/app/Universalfn.cpp $root/src/platform/CDbConnection.cpp \
 $root/src/platform/CDbDataSet.cpp $root/src/platform/CDbField.cpp \
 $root/src/platform/CDbQuery.cpp $root/src/platform/CDbStatement.cpp \
 $root/src/platform/CDbTable.cpp $root/src/platform/DbDateText.cpp \
 $root/src/platform/DatabaseSchema.cpp"
flags="-std=c++20 -O1 -g -fPIC -I$root/src"

# shellcheck disable=SC2086
clang++ $flags -o "$out/make-content-seed" "$here/MakeContentSeed.cpp" $sources $qt $sqlite
# shellcheck disable=SC2086
clang++ $flags -fsanitize=fuzzer,address,undefined -o "$out/content-db-fuzz" \
    "$here/ContentDbFuzz.cpp" "$root/src/content/CWords.cpp" $sources $qt $sqlite

[ -f "$out/corpus/seed.qp" ] || "$out/make-content-seed" "$out/corpus/seed.qp"
rm -f "$out/corpus/seed.qp-journal"
"$out/content-db-fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 "$out/corpus"
