#!/usr/bin/env bash
# check_exe.sh fails on an import table line it cannot read: the real
# program's dump with an import by ordinal spliced in.
#   check_exe_unreadable.sh <objdump> <qimbar.exe>
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dump=$("$1" -p "$2") || { echo "FAIL: $1 could not read $2"; exit 1; }
said=$(awk '{ print } /Hint\/Ord Member-Name/ && !done { print "\t80000011\t   17  <none>"; done = 1 }' \
    <<<"$dump" | "$here/check_exe.sh" - "$2")
status=$?
echo "$said"
if [ "$status" -ne 0 ] && [[ "$said" == *"cannot read"*"<none>"* ]]; then
    echo PASS
else
    echo "FAIL: an import by ordinal passed the import check"
fi
