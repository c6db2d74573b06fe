#!/usr/bin/env bash
# The web page's benchmarks (not tests): what a first visit transfers, the
# cold start against static HTML, one press.
#   bench/web/startup.sh <web build site> <release build> [runs]
set -euo pipefail
site=$(realpath "$1")
build=$(realpath "$2")
runs="${3:-21}"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Everything a first visit transfers: the page, its script and module, the
# manifest, the service worker and every file it caches. Compressed as the
# server sends them (PNGs as they are).
total=0
for file in "$site"/*; do
    case "$file" in
        *.png) bytes=$(stat -c %s "$file") ;;
        *) bytes=$(gzip -9c "$file" | wc -c) ;;
    esac
    printf '  %-22s %6d bytes\n' "$(basename "$file")" "$bytes"
    total=$((total + bytes))
done
awk -v t="$total" 'BEGIN { printf "a first visit transfers %.1f KiB (goal: at most 64 KiB)\n", t / 1024 }'

# The floor: the page as the browser shows it, saved as static HTML with no
# script but the mark that the rows take typing.
mkdir "$work/floor"
cp "$site"/* "$work/floor/"
"$build/bench/bench_web" --snapshot "$site" "$work/floor/index.html"
"$build/bench/bench_web" "$site" "$work/floor" "$runs"
