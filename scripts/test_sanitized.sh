#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (leaks included) into
# build-asan/ and runs every test through CTest. The window tests run offscreen through their
# own CTest environment, as in the normal suite.
# A sanitizer ends a program with exit code 86, which no test expects, so a fault inside a
# program that a test starts (tesmira-cut, tesmira) and expects to fail fails the test too.
# AddressSanitizer's reports (leaks included) go to BUILD/sanitizer-reports/, since some tests
# silence the programs they start; any report there fails the run and is printed at the end.
# UndefinedBehaviorSanitizer writes to the test's output. Leaks inside system libraries are
# suppressed by tests/sanitizers/lsan.supp.
set -eu
cd "$(dirname "$0")/.."
export TESMIRA_BUILD_DIR="${TESMIRA_BUILD_DIR:-build-asan}"
build=$TESMIRA_BUILD_DIR
scripts/setup.sh
scripts/build.sh -DTESMIRA_SANITIZE=ON -DTESMIRA_BUILD_BENCH=OFF

# The libraries loaded at run time must carry the checks too: they take the sanitizer runtime
# from the program that loads them.
for module in libencmp3.so libPlovex1.so; do
    if ! nm -D "$build/bin/$module" | grep -q __asan_report; then
        echo "$0: $build/bin/$module is not built with AddressSanitizer" >&2
        exit 1
    fi
done

case "$build" in
/*) reports="$build/sanitizer-reports" ;;
*) reports="$(pwd)/$build/sanitizer-reports" ;;
esac
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86"

status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
for report in "$reports"/*; do
    [ -f "$report" ] || continue
    echo "==== sanitizer report $report" >&2
    cat "$report" >&2
    status=1
done
exit $status
