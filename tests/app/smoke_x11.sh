#!/usr/bin/env bash
# The real program on a real X server: its window comes up with the right
# title and size, and the program ends when told to.
set -euo pipefail
program="$1"

display=":$((200 + RANDOM % 400))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "${app:-}" "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$program" &
app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Qimbar birliklari$' | head -n1)
[ -n "$window" ] || { echo "FAIL: no window titled 'Qimbar birliklari'"; exit 1; }

geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
echo "window $window, geometry $geometry"
[ "$geometry" = "489x424" ] || { echo "FAIL: expected 489x424"; exit 1; }

kill -TERM "$app"
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
    echo "FAIL: the program did not end"
    exit 1
fi
echo "PASS"
