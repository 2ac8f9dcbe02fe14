#!/usr/bin/env bash
# Starts a private X server, D-Bus session and accessibility bus, then lets
# screen_reader.py drive the window given as $1.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
tmp=$(mktemp -d)
# -displayfd writes the display number once the server accepts clients.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 200); do
    [ -s "$tmp/display" ] && break
    sleep 0.05
done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log"; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$tmp/display")"
dbus-run-session -- bash -c '
    launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -n1)
    "$launcher" --launch-immediately &
    sleep 1
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    /usr/bin/python3 "$0" "$1"
' "$here/screen_reader.py" "$program" 2> >(grep -v "fd limit" >&2) || {
    status=$?
    echo "X server on $DISPLAY said:" >&2
    cat "$tmp/xvfb.log" >&2
    exit $status
}
