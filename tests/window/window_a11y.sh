#!/bin/sh
# What a screen reader finds in the window: every field and slider by the name of its label,
# the source field holding the song given on the command line, and the counter named by the
# time it shows, also once playing has moved it.
# usage: window_a11y.sh BIN_DIR SUPPORT_DIR (inside tests/support/a11y_session.sh)
set -eu
BIN=$1
SUPPORT=$2
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesmira-a11y-XXXXXX")
window=""
trap '[ -z "$window" ] || kill "$window" 2>/dev/null; rm -rf "$WORK"' EXIT
"$BIN/tesmira-mp3gen" --seconds 6 -o "$WORK/song.mp3"
HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" SDL_AUDIODRIVER=dummy \
    "$BIN/tesmira" "$WORK/song.mp3" &
window=$!

/usr/bin/python3 "$SUPPORT/a11y_controls.py" list-when text "源文件" >"$WORK/controls"
cat "$WORK/controls"
has() { # ROLE NAME [TEXT]: a shown control with that name (and content)
    awk -F'\t' -v r="$1" -v n="$2" -v t="${3-}" -v any=$# \
        '$1 == r && $2 == n && (any == 2 || $3 == t) { f = 1 } END { exit !f }' \
        "$WORK/controls" || { echo "no $1 named '$2' ${3:+holding '$3'}" >&2; exit 1; }
}
has text "源文件" "$WORK/song.mp3"
for name in "起点(秒)" "终点(秒)"; do has text "$name"; done
for name in "淡入(秒)" "淡出(秒)"; do has text "$name" 15; done
for name in "变速(倍)" "变调(倍)"; do has text "$name" 1.00; done
has text "输出文件"
for name in "播放位置" "变速" "变调"; do has slider "$name"; done
for name in "变速 +" "变速 -" "变调 +" "变调 -"; do has "push button" "$name"; done
has "progress bar" "剪切进度"
has label "剪切长度：00:00(0秒)"
has label "00:00"
# No field, slider or button is left for a screen reader to call only "edit" or "slider".
if grep -E '^(text|slider|push button|progress bar|check box|radio button)		' \
    "$WORK/controls"; then
    echo "controls without a name" >&2
    exit 1
fi

# The counter's name follows its text: play, and it names the seconds played.
/usr/bin/python3 "$SUPPORT/a11y_controls.py" press "播放"
/usr/bin/python3 "$SUPPORT/a11y_controls.py" list-when label "00:02" >"$WORK/controls"
has label "00:02"
