#!/bin/sh
# Builds the Debian package (Release, without tests and benchmarks) into build-package/ and
# installs it with apt, once lintian has found no error or warning in it. With --no-install
# it only builds and checks the package.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_DIR="${TESMIRA_PACKAGE_BUILD_DIR:-build-package}"
# Debian's own compiler and linker flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTESMIRA_BUILD_TESTS=OFF -DTESMIRA_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
rm -f "$BUILD_DIR"/tesmira_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
deb=$(ls "$BUILD_DIR"/tesmira_*.deb)
echo "package: $deb"
lintian --fail-on error,warning --display-info "$deb"
[ "${1:-}" = --no-install ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
case "$deb" in
/*) ;;
*) deb="./$deb" ;;
esac
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$deb"
