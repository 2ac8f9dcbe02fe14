#!/usr/bin/env bash
# Starts a private X server, D-Bus session and accessibility bus, then lets
# screen_reader.py drive the window given as $1.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
exec xvfb-run -a dbus-run-session -- bash -c '
    launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -n1)
    "$launcher" --launch-immediately &
    sleep 1
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
    /usr/bin/python3 "$0" "$1"
' "$here/screen_reader.py" "$program"
