#!/usr/bin/env bash
# The real program under Wine on a real X server, used as a person would: its
# window comes up with the right title; a value typed into "Kub metr" and its
# button clicked shows the litres; closing it as its close box would ends the
# program at once with status 0.
#   smoke_wine.sh <prefix> <qimbar.exe> <probe.exe>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../../tools/xvfb.sh"
source "$here/../../../tools/wine.sh"
source "$here/../../support/expect_exit.sh"
prefix=$(realpath -m "$1")
program="$2"
probe="$3"

# A prefix made the usual way, then used directly: tools/wine-run would wait
# for every process of the prefix, the program too, before it returned.
"$here/../../../tools/wine-run" --prefix "$prefix" --init
use_wine_prefix "$prefix"

start_xvfb 1024x768x24
trap 'kill "${app:-}" 2>/dev/null || true; "$wineserver" -k 2>/dev/null || true; stop_xvfb' EXIT

"$wine" "$program" &
app=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Qimbar birliklari$' | sed -n 1p)
[ -n "$window" ] || { echo "FAIL: no window titled 'Qimbar birliklari'"; exit 1; }
echo "window $window: $(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')"

click() {
    local x y
    read -r x y < <("$wine" "$probe" where "$1")
    xdotool mousemove "$x" "$y" click 1
}
click Text29
xdotool type --delay 50 12
click Command29
# The click goes through X and Wine's own queue: wait for its answer, not a fixed time.
for _ in $(seq 40); do
    litres=$("$wine" "$probe" text Text30 | tr -d '\r')
    [ "$litres" = 12000 ] && break
    sleep 0.25
done
typed=$("$wine" "$probe" text Text29 | tr -d '\r')
echo "Kub metr: '$typed', Litr: '$litres'"
[ "$typed" = 12 ] || { echo "FAIL: the typed value did not reach Text29"; exit 1; }
[ "$litres" = 12000 ] || { echo "FAIL: expected 12000 litres"; exit 1; }

"$wine" "$probe" close
expect_clean_exit "$app" 10 || exit 1
app=
echo "PASS"
