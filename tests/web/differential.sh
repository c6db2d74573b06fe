#!/usr/bin/env bash
# The native and the web builds press every row of every page with the same
# texts, hostile ones among them, and must leave the same texts and show the
# same messages. On a difference, the first text that differs is shown
# pressed by both.   differential.sh <press_corpus> <site> [texts]
set -euo pipefail
native="$1"
site="$2"
count="${3:-100000}"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -f "$site/qimbar.wasm" ] || { echo "FAIL: no web build in $site (cmake --build --preset web)"; exit 1; }

"$native" make "$work/corpus" "$count"
# Side by side: the web side takes the longer.
"$native" run "$work/corpus" "$work/native.hashes" >"$work/native.said" &
native_run=$!
web_said=$(node "$here/press_corpus.js" run "$site" "$work/corpus" "$work/web.hashes")
wait "$native_run"
native_said=$(cat "$work/native.said")
echo "native: $native_said"
echo "web:    $web_said"
if [ "$native_said" = "$web_said" ]; then
    echo PASS
    exit 0
fi
first=$(cmp "$work/native.hashes" "$work/web.hashes" 2>/dev/null | sed -n 's/.* byte \([0-9]*\),.*/\1/p')
index=$(( (${first:-1} - 1) / 8 ))
echo "FAIL: the builds differ; first at text $index:"
diff <("$native" show "$work/corpus" "$index") \
     <(node "$here/press_corpus.js" show "$site" "$work/corpus" "$index") | head -20
exit 1
