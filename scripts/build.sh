#!/bin/sh
# Configures and builds Tesmira into build/ (extra CMake arguments are passed on).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR="${TESMIRA_BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
