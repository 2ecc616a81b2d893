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
grep -qxF "$(printf 'text\t源文件\t%s' "$WORK/song.mp3")" "$WORK/controls"
has() { # ROLE NAME...: a shown control of that role by each name
    role=$1
    shift
    for name; do
        awk -F'\t' -v r="$role" -v n="$name" '$1 == r && $2 == n { f = 1 } END { exit !f }' \
            "$WORK/controls" || { echo "no $role named '$name'" >&2; exit 1; }
    done
}
has text "起点(秒)" "终点(秒)" "淡入(秒)" "淡出(秒)" "变速(倍)" "变调(倍)" "输出文件"
has slider "播放位置" "变速" "变调"
has "push button" "变速 +" "变速 -" "变调 +" "变调 -"
has "progress bar" "剪切进度"
has label "剪切长度：00:00(0秒)" "00:00"
# No field, slider or button is left for a screen reader to call only "edit" or "slider".
unnamed=$(printf '^(text|slider|push button|progress bar|check box|radio button)\t\t')
if grep -E "$unnamed" "$WORK/controls"; then exit 1; fi

# The counter's name follows its text: play, and it names the seconds played.
/usr/bin/python3 "$SUPPORT/a11y_controls.py" press "播放" >/dev/null
/usr/bin/python3 "$SUPPORT/a11y_controls.py" list-when label "00:02" >/dev/null
