#!/bin/sh
# Takes a picture of the main window with a generated song open and a range marked, under a
# virtual X server, and writes it to docs/screenshot.png (or to the file given). Build first
# (scripts/build.sh).
set -eu
cd "$(dirname "$0")/.."
BIN="${TESMIRA_BUILD_DIR:-build}/bin"
OUT="${1:-docs/screenshot.png}"
for program in tesmira-screenshot tesmira-mp3gen; do
    if [ ! -x "$BIN/$program" ]; then
        echo "screenshot: $BIN/$program is missing; build first (scripts/build.sh)" >&2
        exit 1
    fi
done
if ! command -v xvfb-run >/dev/null; then
    echo "screenshot: xvfb-run is missing (scripts/setup.sh installs it)" >&2
    exit 1
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesmira-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/音乐" "$(dirname "$OUT")"
"$BIN/tesmira-mp3gen" --melody --seconds 95 -o "$WORK/音乐/旋律.mp3"
OUT_ABS="$(cd "$(dirname "$OUT")" && pwd)/$(basename "$OUT")"

# The window saves the picture itself and ends; a private home keeps the user's settings
# and save folder out of it.
HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$BIN/tesmira-screenshot" "$OUT_ABS" 2500 "$WORK/音乐/旋律.mp3" 21 52 2>"$WORK/log" ||
    { cat "$WORK/log" >&2; exit 1; }
echo "screenshot: $OUT"
