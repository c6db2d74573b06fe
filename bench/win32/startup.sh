#!/usr/bin/env bash
# The Windows program under Wine on Xvfb: launch to window mapped for
# qimbar.exe against a bare Win32 window of the same size, in turn; building
# Form1 in process against bare child windows; the size of qimbar.exe.
#   bench/win32/startup.sh <windows build> <linux release build> [runs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../tools/xvfb.sh"
source "$here/../../tools/wine.sh"
source "$here/../alternate.sh"
build=$(realpath "$1")
timer=$(realpath "$2")/bench/launch_timer
runs="${3:-25}"
work=$(mktemp -d)
use_wine_prefix "$build/wine-bench"

start_xvfb 1024x768x24
trap '"$wineserver" -k 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT
"$here/../../tools/wine-run" --prefix "$WINEPREFIX" --init
# One server for the whole run, and one program kept running in it, as a
# desktop session has: when the last program of a prefix ends, Wine stops
# the session's own processes, and the next launch pays for starting them.
"$wineserver" -p
mkfifo "$work/hold"
exec 7<>"$work/hold"
"$wine" cmd /k <&7 >/dev/null 2>&1 &
sleep 2  # up before the first launch

bare="$build/bench/win32/bare_window_win32.exe"
programs=("$bare" "$bare --tab" "$build/qimbar.exe")
names=(bare tab qimbar)
# shellcheck disable=SC2086 # a program and its argument
for p in "${programs[@]}"; do "$timer" "$wine" $p >/dev/null 2>&1 || true; done
measure() {
    # shellcheck disable=SC2086 # a program and its argument
    "$timer" "$wine" ${programs[$1]} >>"$work/${names[$1]}.ms"
}
alternate "$runs" "${#programs[@]}" measure
# Launches under Wine come out in two modes, a fast one and one 20 to 70 ms
# slower, whatever the program: the lower quartile follows the fast mode,
# the median moves with how many runs land in the slow one.
for q in 0.25 0.5; do
    awk -v runs="$runs" -v q="$q" -v b="$(quantile "$work/bare.ms" "$q")" \
        -v t="$(quantile "$work/tab.ms" "$q")" -v a="$(quantile "$work/qimbar.ms" "$q")" 'BEGIN {
    printf "start-up under Wine, %d runs each, launch to window mapped (%s):\n", runs,
        q == 0.5 ? "median" : "lower quartile"
    printf "  bare Win32 window                          %7.2f ms\n", b
    printf "  bare window, manifest and one tab control  %7.2f ms\n", t
    printf "  qimbar.exe                                 %7.2f ms\n", a
    printf "  ratio to the window with a tab control %.3f (goal: at most 1.10), to the bare window %.3f\n", a / t, a / b
}'
done
"$wine" "$build/bench/win32/bench_form1.exe" | tr -d '\r'
bytes=$(stat -c %s "$build/qimbar.exe")
awk -v b="$bytes" 'BEGIN { printf "qimbar.exe: %d bytes, %.2f MiB (goal: at most 1 MiB)\n", b, b / 1048576 }'
