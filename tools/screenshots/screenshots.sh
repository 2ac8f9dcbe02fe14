#!/usr/bin/env bash
# Screenshots of the real windows under Xvfb, for the README:
#   tools/screenshots/screenshots.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
build=${1:-build}
out=${2:-docs}
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$build/tools/kelvora_screenshots" "$out"
