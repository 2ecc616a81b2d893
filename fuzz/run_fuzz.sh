#!/bin/sh
# Runs one fuzz target (or all) for a number of seconds each, on the seed corpus plus what
# earlier runs found; configures and builds the clang fuzz build first when needed.
# usage: fuzz/run_fuzz.sh fuzz_mp3file|fuzz_cut|fuzz_player|all SECONDS
# Build folder: $TESMIRA_FUZZ_BUILD_DIR (default build-fuzz). Crashes are kept in
# BUILD/fuzz-artifacts/TARGET/; rerun one with BUILD/bin/TARGET FILE.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 TARGET|all SECONDS" >&2; exit 2; }
cd "$(dirname "$0")/.."
build="${TESMIRA_FUZZ_BUILD_DIR:-build-fuzz}"
targets=$1
[ "$targets" = all ] && targets="fuzz_mp3file fuzz_cut fuzz_player"
seconds=$2

if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
        -DTESMIRA_BUILD_FUZZ=ON -DTESMIRA_BUILD_GUI=OFF -DTESMIRA_BUILD_TESTS=OFF \
        -DTESMIRA_BUILD_BENCH=OFF >/dev/null
fi
mkdir -p "$build/fuzz-artifacts"
if ! cmake --build "$build" --target fuzz_all -j "$(nproc)" >"$build/fuzz-artifacts/build.log" 2>&1; then
    tail -n 30 "$build/fuzz-artifacts/build.log" >&2
    exit 1
fi
seeds="$build/fuzz-corpus/seeds"
[ -d "$seeds" ] || fuzz/make_corpus.sh "$seeds" "$build" >/dev/null

# Leaks are checked, the sanitizers stop at once.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
for target in $targets; do
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    log="$build/fuzz-artifacts/$target.log"
    mkdir -p "$corpus" "$artifacts"
    if "$build/bin/$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" "$seeds" >"$log" 2>&1; then
        result=ok
    else
        result="FAILED (see $log and $artifacts/)"
        status=1
        tail -n 40 "$log" >&2
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
    echo "$target: ${runs:-?} executions in ${secs:-$seconds} s, corpus $(ls "$corpus" | wc -l) files: $result"
done
exit $status
