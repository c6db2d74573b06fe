#!/usr/bin/env bash
# Launch-to-window-mapped of the program against a bare Qt window of the same
# size (and that window with one line of text), under Xvfb, in turn, with each
# one's peak resident memory.
#   bench/startup.sh <build folder> [runs]
set -euo pipefail
build="$1"
runs="${2:-25}"
timer="$build/bench/launch_timer"
programs=("$build/bench/bare_window" "$build/bench/bare_window --text" "$build/qimbar")
names=(bare text qimbar)
work=$(mktemp -d)

source "$(dirname "${BASH_SOURCE[0]}")/../tools/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/alternate.sh"

start_xvfb 1024x768x24
trap 'stop_xvfb; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb

# One unmeasured start of each, so both meet warm caches.
for p in "${programs[@]}"; do "$timer" $p >/dev/null 2>&1; done

measure() {
    local ms kib
    # shellcheck disable=SC2086 # the program and its argument
    ms=$("$timer" /usr/bin/time -v -o "$work/time" ${programs[$1]} 2>/dev/null)
    kib=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")
    echo "$ms" >>"$work/${names[$1]}.ms"
    echo "$kib" >>"$work/${names[$1]}.kib"
}
alternate "$runs" "${#programs[@]}" measure
bare_ms=$(median "$work/bare.ms")
app_ms=$(median "$work/qimbar.ms")
text_ms=$(median "$work/text.ms")
bare_kib=$(sort -g "$work/bare.kib" | tail -n1)
text_kib=$(sort -g "$work/text.kib" | tail -n1)
app_kib=$(sort -g "$work/qimbar.kib" | tail -n1)
awk -v runs="$runs" -v bm="$bare_ms" -v am="$app_ms" -v bk="$bare_kib" -v ak="$app_kib" \
    -v tm="$text_ms" -v tk="$text_kib" 'BEGIN {
    printf "start-up, %d runs each, launch to window mapped (median):\n", runs
    printf "  bare Qt window         %7.2f ms   peak RSS %6.1f MiB\n", bm, bk / 1024
    printf "  bare window with text  %7.2f ms   peak RSS %6.1f MiB\n", tm, tk / 1024
    printf "  qimbar                 %7.2f ms   peak RSS %6.1f MiB\n", am, ak / 1024
    printf "  ratio to the bare window %.3f (goal: at most 1.15), memory +%.1f MiB (goal: at most 6)\n", am / bm, (ak - bk) / 1024
    printf "  ratio to the window with text %.3f, memory +%.1f MiB\n", am / tm, (ak - tk) / 1024
}'
