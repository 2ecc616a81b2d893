#!/bin/sh
# Sets up the machine, builds everything and runs every test through CTest.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --test-dir "${TESMIRA_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
