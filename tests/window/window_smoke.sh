#!/bin/sh
# The program starts with the real player library, opens a song given as its first argument,
# saves a picture of its window and ends by itself.
set -eu
BIN="$1"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesmira-smoke-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$BIN/tesmira-mp3gen" --seconds 3 -o "$WORK/song.mp3"
HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" TESMIRA_SCREENSHOT="$WORK/shot.png" \
    TESMIRA_SCREENSHOT_DELAY_MS=300 "$BIN/tesmira" "$WORK/song.mp3"
test -s "$WORK/shot.png"
test -d "$WORK/剪切"
