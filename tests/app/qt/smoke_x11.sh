#!/usr/bin/env bash
# The real program on a real X server: its window comes up with the right
# title and size, and closing it, with a value typed in, ends the program at
# once and cleanly.   smoke_x11.sh <program> <x11_close helper>
set -euo pipefail
program="$1"
close_window="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../../../tools/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../support/expect_exit.sh"

start_xvfb 1024x768x24
trap 'kill "${app:-}" 2>/dev/null || true; stop_xvfb' EXIT

QT_QPA_PLATFORM=xcb "$program" &
app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Qimbar birliklari$' | sed -n 1p)
[ -n "$window" ] || { echo "FAIL: no window titled 'Qimbar birliklari'"; exit 1; }

geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
echo "window $window, geometry $geometry"
[ "$geometry" = "489x424" ] || { echo "FAIL: expected 489x424"; exit 1; }

# A value in the first box of "Hajm" (its box is at 208..337 x 64..83).
xdotool mousemove --window "$window" 270 73 click 1 type 12
"$close_window" "$window"
expect_clean_exit "$app" 5 || exit 1
app=
echo "PASS"
