#!/bin/sh
# Configures and builds Tesmira into build/ (extra CMake arguments are passed on), with
# warnings as errors. TESMIRA_BUILD_TARGETS limits the build to those targets.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR="${TESMIRA_BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" -j "$(nproc)" ${TESMIRA_BUILD_TARGETS:+--target $TESMIRA_BUILD_TARGETS}
