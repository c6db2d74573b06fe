#!/usr/bin/env bash
# The shipped program on its own: it imports no function that Windows 7 SP1
# lacks (the list beside this script, checked against Microsoft's documented
# minimum client of each), no DLL beyond Windows' own, and carries the
# manifest that names its own processor and every supported Windows, asks for
# common controls 6, the best DPI awareness each Windows knows, and UTF-8 as
# its code page.
#   check_exe.sh <objdump> <qimbar.exe>     (objdump "-": its -p output on stdin)
set -euo pipefail
objdump="$1"
exe="$2"
allowed="$(dirname "${BASH_SOURCE[0]}")/windows7_imports.txt"

if [ "$objdump" = - ]; then
    dump=$(cat)
else
    dump=$("$objdump" -p "$exe")
fi
# Every line of the import tables is read, or the check fails: an import by
# ordinal, or a layout this script does not know, would slip past the list.
read_imports() {
    awk 'BEGIN { hex = "[0-9a-f]+" }
        /^The Import Tables/ { inside = 1; next }
        inside && /^[^ \t]/ { inside = 0 }
        !inside || /^[ \t]*$/ || /^ vma: +Hint +Time/ || /^ +Table +Stamp +Chain/ { next }
        /^\tvma:  Hint\/Ord Member-Name Bound-To$/ { next }
        $0 ~ "^ " hex "\t" hex " " hex " " hex " " hex " " hex "$" { next }
        /^\tDLL Name: [^ ]+$/ { dll = tolower($3); next }
        dll != "" && $0 ~ "^\t" hex "\t +[0-9]+  [A-Za-z_][A-Za-z0-9_]*$" { print dll " " $3; next }
        { print "?" $0 }'
}
read=$(read_imports <<<"$dump")
unreadable=$(grep '^?' <<<"$read" || true)
if [ -n "$unreadable" ]; then
    echo "FAIL: import table lines this check cannot read (an import by ordinal?):"
    sed 's/^?/  /' <<<"$unreadable"
    exit 1
fi
imports=$(sort -u <<<"$read")
[ -n "$imports" ] || { echo "FAIL: no import table read from $exe"; exit 1; }
echo "imports $(wc -l <<<"$imports") functions from $(cut -d' ' -f1 <<<"$imports" | sort -u | tr '\n' ' ')"
newer=$(comm -23 <(echo "$imports") <(grep -v '^#' "$allowed" | sort -u))
status=0
if [ -n "$newer" ]; then
    echo "FAIL: imports not on the Windows 7 list (look each up at run time, or check its minimum client and add it):"
    sed 's/^/  /' <<<"$newer"
    status=1
fi

processor=x86
grep -q '(PE32+)' <<<"$dump" && processor=amd64
# The program's own identity is the manifest's one architecture that is not "*".
for needed in "processorArchitecture=\"$processor\"/>" \
              'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
              '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
              '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
              '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>' \
              '>UTF-8</activeCodePage>'; do
    if grep -qaF "$needed" "$exe"; then
        echo "manifest: $needed"
    else
        echo "FAIL: the manifest lacks $needed"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo PASS
exit $status
