#!/bin/sh
# Sets up the machine, builds Tesmira and starts it.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
# Only what is started here: the window, the cutter, the two libraries they load and the
# demo's song generator (the tests and benchmarks are left to scripts/test.sh).
TESMIRA_BUILD_TARGETS="tesmira tesmira-cut encmp3 Plovex1 tesmira-mp3gen" scripts/build.sh
BIN="${TESMIRA_BUILD_DIR:-build}/bin"
if [ -x "$BIN/tesmira" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
    exec "$BIN/tesmira" "$@"
fi
# Without a window (or a display) the command-line cutter shows the engine at work
# on a demo song synthesised by our own generator.
DEMO_DIR="${TESMIRA_BUILD_DIR:-build}/demo"
mkdir -p "$DEMO_DIR"
"$BIN/tesmira-mp3gen" --melody --seconds 30 -o "$DEMO_DIR/demo.mp3"
echo "Cutting 5-20 s of the demo song $DEMO_DIR/demo.mp3 with fades:"
out=$("$BIN/tesmira-cut" "$DEMO_DIR/demo.mp3" --start 5 --end 20 --fade-in 2 --fade-out 2 --dir "$DEMO_DIR")
echo "The cut went to: $out"
