#!/usr/bin/env bash
# The Qt program as a screen reader reads it, over AT-SPI: a private X
# server, D-Bus session and accessibility bus, the program, then
# atspi_tree.py with pyatspi, keys sent with xdotool.
#   atspi_tree.sh <qimbar>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${ATSPI_TREE_INNER:-}" ]; then
    source "$here/../../../tools/xvfb.sh"
    trap stop_xvfb EXIT
    start_xvfb 1024x768x24
    ATSPI_TREE_INNER=1 dbus-run-session -- "${BASH_SOURCE[0]}" "$@"
    exit
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
"$1" &
program=$!
trap 'kill "$program" "$bus" 2>/dev/null || true' EXIT
# Debian's own Python, which has pyatspi.
/usr/bin/python3 "$here/atspi_tree.py"
