#!/bin/sh
# The Debian package, unpacked under a scratch root: its cutter starts from there, and cuts
# with the encoder library from the package's private folder (none lies beside it). lintian
# and appstreamcli accept it, its copyright names the licence, bash completes the cutter's
# options, and the file manager's "Open with" opens an MP3 in its window.
# usage: package_test.sh BUILD_DIR VERSION TESTS_SUPPORT_DIR
set -eu
BUILD=$1
VERSION=$2
SUPPORT=$3
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesmira-package-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1) ||
    { cat "$WORK/cpack.log" >&2; exit 1; }
deb=$(ls "$WORK"/out/tesmira_*.deb)
dpkg-deb -x "$deb" "$WORK/root"
usr="$WORK/root/usr"
cutter="$usr/bin/tesmira-cut"

"$cutter" --version | tee "$WORK/version"
[ "$(head -n 1 "$WORK/version")" = "tesmira-cut $VERSION" ]
grep -q '^License GPLv3+: GNU GPL version 3 or later' "$WORK/version"

"$BUILD/bin/tesmira-mp3gen" --seconds 2 -o "$WORK/song.mp3"
"$cutter" "$WORK/song.mp3" --start 0 --end 1 -o "$WORK/cut.mp3"
test -s "$WORK/cut.mp3"

# The manual page keeps the generated name's Chinese and has a synopsis.
man="$usr/share/man/man1/tesmira-cut.1.gz"
if [ -e "$man" ] || command -v help2man >/dev/null; then
    zcat "$man" | grep -q '^\.SH SYNOPSIS'
    zcat "$man" | grep -q 'NAME_剪切MMDDhhmmss'
fi

# Debian's metadata: the licence, a changelog entry for this version, lintian's verdict.
doc="$usr/share/doc/tesmira"
grep -qx 'License: GPL-3+' "$doc/copyright"
zcat "$doc/changelog.Debian.gz" | head -n 1 | grep -q "^tesmira ($VERSION-"
# A build for /usr/local keeps the private libraries in /usr/lib, for which cpack adds
# ldconfig calls; scripts/package.sh's build (multiarch folder) has no maintainer scripts.
lintian --fail-on error,warning --display-info --suppress-tags maintscript-calls-ldconfig "$deb"

# Every option of --help is completed after "-"; "--st" gives --start.
complete_cut() { # WORD...: what bash offers for the last word
    bash -c '. /usr/share/bash-completion/bash_completion && . "$0" &&
        COMP_WORDS=(tesmira-cut "$@") && COMP_CWORD=$# && COMP_LINE="${COMP_WORDS[*]}" &&
        COMP_POINT=${#COMP_LINE} && _tesmira_cut && printf "%s\n" "${COMPREPLY[@]}"' \
        "$usr/share/bash-completion/completions/tesmira-cut" "$@"
}
complete_cut --st | grep -qx -- --start
"$cutter" --help | grep -oE '(^| )--?[a-z][a-z-]*' | tr -d ' ' | sort -u >"$WORK/options"
complete_cut - | sort >"$WORK/offered"
comm -23 "$WORK/options" "$WORK/offered" | grep . && { echo "not completed" >&2; exit 1; }

[ -x "$usr/bin/tesmira" ] || exit 0
"$usr/bin/tesmira" --version | grep -q '^License GPLv3+'
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml
sh "$SUPPORT/a11y_session.sh" sh "$(dirname "$0")/open_with_test.sh" "$WORK" "$SUPPORT"
