#!/bin/sh
# The Debian package, unpacked under a scratch root: its cutter starts from there, and cuts
# with the encoder library from the package's private folder (none lies beside it).
# usage: package_test.sh BUILD_DIR VERSION
set -eu
BUILD=$1
VERSION=$2
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesmira-package-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1) ||
    { cat "$WORK/cpack.log" >&2; exit 1; }
dpkg-deb -x "$WORK"/out/tesmira_*.deb "$WORK/root"
cutter="$WORK/root/usr/bin/tesmira-cut"

version=$("$cutter" --version)
echo "$version"
[ "$version" = "tesmira-cut $VERSION" ]

"$BUILD/bin/tesmira-mp3gen" --seconds 2 -o "$WORK/song.mp3"
"$cutter" "$WORK/song.mp3" --start 0 --end 1 -o "$WORK/cut.mp3"
test -s "$WORK/cut.mp3"

# The manual page keeps the generated name's Chinese and has a synopsis.
man="$WORK/root/usr/share/man/man1/tesmira-cut.1.gz"
if [ -e "$man" ] || command -v help2man >/dev/null; then
    zcat "$man" | grep -q '^\.SH SYNOPSIS'
    zcat "$man" | grep -q 'NAME_剪切MMDDhhmmss'
fi
