#!/bin/sh
# Installs the Debian packages Tesmira needs to build, run and test, when any is missing.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config git
libmad0-dev libsoundtouch-dev libmp3lame-dev libmpg123-dev libsdl2-dev libtag1-dev
qt6-base-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
mpg123 sox ffmpeg xvfb xauth xdotool fonts-wqy-zenhei fonts-liberation
clang libclang-rt-14-dev clang-format
dpkg-dev file help2man desktop-file-utils"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
