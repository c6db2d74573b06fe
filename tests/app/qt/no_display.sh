#!/usr/bin/env bash
# Started with no graphical session, the program says so in one line and
# exits with status 1, rather than aborting in Qt's platform plugin loader.
#   no_display.sh <program>
set -uo pipefail
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1 >/dev/null)
status=$?
echo "status $status: $err"
[ "$status" -eq 1 ] || { echo "FAIL: expected status 1"; exit 1; }
[ "$(wc -l <<<"$err")" -eq 1 ] || { echo "FAIL: expected one line"; exit 1; }
grep -q 'no graphical session' <<<"$err" || { echo "FAIL: the line does not say what is wrong"; exit 1; }
grep -q 'xvfb-run' <<<"$err" || { echo "FAIL: the line does not say what to do"; exit 1; }
echo PASS
