#!/bin/sh
# The window starts as the program runs it, with the real player library, opens a song given
# as its first argument, saves a picture of itself and ends.
set -eu
BIN="$1"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesmira-smoke-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$BIN/tesmira-mp3gen" --seconds 3 -o "$WORK/song.mp3"
HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" \
    "$BIN/tesmira-screenshot" "$WORK/shot.png" 300 "$WORK/song.mp3"
test -s "$WORK/shot.png"
test -d "$WORK/剪切"
