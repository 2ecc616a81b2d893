#!/bin/sh
# The package's desktop entry as the default for MP3s: "Open with" (gio open) starts the
# window with the song, which its source field then shows.
# usage: open_with_test.sh WORK SUPPORT_DIR (inside tests/support/a11y_session.sh)
set -eu
WORK=$1
export HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
export XDG_DATA_DIRS="$WORK/root/usr/share:/usr/share" PATH="$WORK/root/usr/bin:$PATH"
export SDL_AUDIODRIVER=dummy
xdg-mime default tesmira.desktop audio/mpeg
[ "$(xdg-mime query default audio/mpeg)" = tesmira.desktop ]
gio open "$WORK/song.mp3"
window=$(xdotool search --sync --name '^Tesmira' getwindowpid)
trap 'kill "$window"' EXIT
[ "$(readlink "/proc/$window/exe")" = "$WORK/root/usr/bin/tesmira" ]
/usr/bin/python3 "$2/a11y_controls.py" list-when text "源文件" >"$WORK/controls"
grep -qxF "$(printf 'text\t源文件\t%s' "$WORK/song.mp3")" "$WORK/controls"
