#!/usr/bin/env bash
# The shipped program on its own: it imports no DLL beyond Windows' own, and
# carries the manifest that gives it common controls 6, per-monitor DPI
# awareness and UTF-8 as its code page.
#   check_exe.sh <objdump> <qimbar.exe>
set -euo pipefail
objdump="$1"
exe="$2"

# DLLs every Windows 10 and 11 installation has in System32.
windows_own='^(kernel32|user32|gdi32|comctl32|uxtheme|ole32|oleaut32|oleacc|msvcrt|advapi32|shell32|psapi)\.dll$'
mapfile -t imports < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ "${#imports[@]}" -gt 0 ] || { echo "FAIL: no import table read from $exe"; exit 1; }
status=0
for dll in "${imports[@]}"; do
    if [[ "${dll,,}" =~ $windows_own ]]; then
        echo "imports $dll"
    else
        echo "FAIL: imports $dll, which Windows does not ship"
        status=1
    fi
done

for needed in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
              '>PerMonitorV2</dpiAwareness>' '>UTF-8</activeCodePage>'; do
    if grep -qaF "$needed" "$exe"; then
        echo "manifest: $needed"
    else
        echo "FAIL: the manifest lacks $needed"
        status=1
    fi
done
exit $status
