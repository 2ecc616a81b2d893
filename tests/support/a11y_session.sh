#!/bin/sh
# Runs COMMAND on its own virtual X server with a session bus and the accessibility bus, as
# a desktop session has them; the servers end with it.
# usage: a11y_session.sh COMMAND [ARGUMENT]...
set -eu
if [ "${TESMIRA_A11Y_SESSION:-}" != inside ]; then
    export TESMIRA_A11Y_SESSION=inside
    exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- sh "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
trap 'kill "$bus" 2>/dev/null || true' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
"$@"
