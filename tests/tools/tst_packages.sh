#!/usr/bin/env bash
# install_packages against a fake apt on PATH: a mirror whose index fails,
# an optional package it cannot give, a needed one it cannot give.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat >"$fake/apt-get" <<'APT'
#!/usr/bin/env bash
echo "$*" >>"$FAKE/calls"
case " $* " in
    *" update "*)
        [ -z "${FAKE_UPDATE_FAILS:-}" ] && exit 0
        echo "E: Failed to fetch http://mirror/dists/x/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?"
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
        exit 100 ;;
esac
for pkg in $FAKE_REFUSED; do
    if [[ " $* " == *" $pkg "* ]]; then
        echo " $pkg : Depends: libwine:i386 (= 8.0) but it is not going to be installed"
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
    fi
done
[[ " $* " == *" -s "* ]] || printf '%s\n' "${@:6}" >>"$FAKE/installed"
APT
cat >"$fake/dpkg-query" <<'DPKG'
#!/usr/bin/env bash
grep -qxF -- "${@: -1}" "$FAKE/installed" 2>/dev/null && echo "install ok installed"
exit 0
DPKG
printf '#!/bin/sh\n[ "$1" = --print-architecture ] && echo amd64; exit 0\n' >"$fake/dpkg"
chmod +x "$fake"/*
passes=0 failures=0
check() {
    if [[ "$2" == *"$3"* ]]; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAIL: $1: wanted «$3» in: $2"; failures=$((failures + 1)); fi
}

# run_case <lists> : sources the script afresh and installs, as a new shell would.
run_case() {
    rm -f "$fake/calls"
    [ -n "${KEEP:-}" ] || rm -f "$fake/installed"
    PATH="$fake:$PATH" FAKE="$fake" QIMBAR_APT_RETRY_WAIT=0 bash -c '
        source "$1/tools/packages.sh"
        as_root() { "$@"; }
        RUN_PACKAGES=(cmake g++) WINDOWS_PACKAGES=(wine64 wine32:i386)
        status=0
        install_packages $2 || status=$?
        echo "status $status"
        package_unavailable wine32:i386 || true' _ "$root" "$1" 2>&1
}

said=$(FAKE_UPDATE_FAILS=1 FAKE_REFUSED="" run_case "run windows")
check "a failed index: named, retried once" "$said" "Package index not downloaded, going on with the others: http://mirror/dists/x/main/binary-i386/Packages.xz"
check "a failed index: the install goes on" "$said" "status 0"
check "a failed index: update tried twice" "$(grep -c update "$fake/calls")" 2
check "a failed index: every package installed" "$(sort "$fake/installed" | paste -sd' ')" "cmake g++ wine32:i386 wine64"

said=$(FAKE_REFUSED="wine32:i386" run_case "run windows")
check "an optional package refused: named with apt's words" "$said" "Left out: wine32:i386, for the 32-bit Windows tests under Wine, cannot be installed: wine32:i386 : Depends: libwine:i386 (= 8.0) but it is not going to be installed; E: Unable to correct problems"
check "an optional package refused: the rest installed" "$(sort "$fake/installed" | paste -sd' ')" "cmake g++ wine64"
check "an optional package refused: no failure" "$said" "status 0"
check "an optional package refused: the stages are told" "$said" "wine32:i386 could not be installed: wine32:i386 : Depends"

said=$(FAKE_REFUSED="g++" run_case "run windows")
check "a needed package refused: one line, what for, apt's words" "$said" "error: g++, for building and starting the program, cannot be installed: g++ : Depends: libwine:i386 (= 8.0) but it is not going to be installed; E: Unable to correct problems"
check "a needed package refused: a failure" "$said" "status 1"

FAKE_REFUSED="" run_case "run" >/dev/null
KEEP=1 FAKE_REFUSED="" run_case "run" >/dev/null
check "all installed: apt is not called again" "$(cat "$fake/calls" 2>/dev/null || echo "no call")" "no call"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
