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

# Each file of the site, compressed as the server sends it (PNGs as they
# are); bench_web counts what a first visit really transfers.
for file in "$site"/*; do
    case "$file" in
        *.png) bytes=$(stat -c %s "$file") ;;
        *) bytes=$(gzip -9c "$file" | wc -c) ;;
    esac
    printf '  %-24s %6d bytes\n' "$(basename "$file")" "$bytes"
done

# The floor: the page as the browser shows it, saved as static HTML with no
# script but the mark that the rows take typing.
mkdir "$work/floor"
cp "$site"/* "$work/floor/"
"$build/bench/bench_web" --snapshot "$site" "$work/floor/index.html"
"$build/bench/bench_web" "$site" "$work/floor" "$runs"
