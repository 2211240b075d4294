#!/bin/sh
# Builds one libFuzzer target (clang, address and undefined-behaviour
# sanitizers) and runs it.
#   fuzz/run.sh <target> [seconds]          (default 600 seconds)
#   fuzz/run.sh --check <target> [seconds]  (default 5 seconds)
#   targets: container wave film content-db patient-db own-import
# The first form fuzzes in one process at a time and goes on past findings,
# keeping a growing corpus. The second is the test command's check: the seeds
# and the kept findings (the regression fixtures) are run, then the target is
# fuzzed for a few seconds from them; the first finding ends it with a
# failure.
# FUZZ_OUT picks the build folder (default build-fuzz); FUZZ_ARGS adds
# libFuzzer options (for example an input to replay). Findings are written to
# $FUZZ_OUT/artifacts/<target>/. Skips (exit 0) where clang has no libFuzzer.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${FUZZ_OUT:-$root/build-fuzz}
check=false
if [ "${1:-}" = --check ]; then
    check=true
    shift
fi
target=${1:-}
if $check; then seconds=${2:-5}; else seconds=${2:-600}; fi
cxx=${FUZZ_CXX:-clang++}

# Longest input (room for the seeds and a little more), and the layer whose
# tests keep the target's findings.
case "$target" in
container) max_len=4096 layer=graphics ;;
wave) max_len=8192 layer=platform ;;
film) max_len=8192 layer=controls ;;
content-db) max_len=16384 layer=content ;;
patient-db) max_len=16384 layer=patients ;;
own-import) max_len=16384 layer=content ;;
*)
    echo "usage: $0 [--check] container|wave|film|content-db|patient-db|own-import [seconds]" >&2
    exit 2
    ;;
esac

mkdir -p "$out"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    >"$out/probe.cpp"
if ! "$cxx" -fsanitize=fuzzer "$out/probe.cpp" -o "$out/probe" >/dev/null 2>&1; then
    echo "skipped: $cxx has no libFuzzer (scripts/install-deps.sh installs it)" >&2
    exit 0
fi

cmake -S "$here" -B "$out" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE= >/dev/null
cmake --build "$out" -j2 --target "fuzz_$target" make_seeds

export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$out/xdg-runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
seeds="$out/seeds/$target"
if [ ! -d "$seeds" ]; then
    rm -rf "$seeds.part"
    ASAN_OPTIONS=detect_leaks=0 "$out/make_seeds" "$target" "$seeds.part"
    mv "$seeds.part" "$seeds"
fi
fixtures="$root/tests/$layer/fixtures/fuzz/$target"
[ -d "$fixtures" ] || fixtures=
artifacts="$out/artifacts/$target"
mkdir -p "$artifacts"

export LSAN_OPTIONS="suppressions=$here/lsan.supp"
# Each input is written to a scratch file; in memory the databases' syncs cost
# nothing, which makes for many more runs a second.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

if $check; then
    # New inputs go to a corpus of this run only, so that every check starts
    # from the same inputs. The time limit per input is generous: the machine
    # may be busy with other work.
    corpus=$(mktemp -d "$out/check-$target-XXXXXX")
    rc=0
    # shellcheck disable=SC2086
    "$out/fuzz_$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 \
        -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$artifacts/" \
        ${FUZZ_ARGS:-} "$corpus" "$seeds" $fixtures || rc=$?
    rm -rf "$corpus"
    exit "$rc"
fi

corpus="$out/corpus/$target"
mkdir -p "$corpus"
# One fuzzing process at a time (-fork=1) that goes on past a finding, so that
# one run can find several; each finding is kept in the artifacts folder.
# shellcheck disable=SC2086
"$out/fuzz_$target" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    ${FUZZ_ARGS:-} "$corpus" "$seeds" $fixtures
