#!/usr/bin/env bash
# Debian packages the program needs, sourced by ./run and ./check. Run, it
# prints the lists it is given, for apt-get by hand:
#   tools/packages.sh run|check|web|windows|icons ...

# Build and start the program.
RUN_PACKAGES=(
    cmake ninja-build g++
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    # Reads numbers the same way on every target.
    libfast-float-dev
    # The unit labels want a sans-serif face of MS Sans Serif's width.
    fonts-liberation
)

# Tests, sanitizers, and a real X server for the end-to-end checks.
CHECK_PACKAGES=(
    doctest-dev
    # The X11 helpers of the end-to-end test and the start-up benchmark.
    pkg-config libxcb1-dev
    xvfb xauth xdotool x11-utils imagemagick
    # The accessibility tree over AT-SPI, as a screen reader reads it.
    dbus at-spi2-core python3-pyatspi
    # tools/make-icons renders the icons with rsvg-convert.
    librsvg2-bin
    locales time
    # Packaging and the desktop, Windows and macOS resource files.
    desktop-file-utils appstream dpkg-dev file binutils-mingw-w64-x86-64 cpp libxml2-utils
    # Fuzzing, leak checks and static checks.
    clang libclang-rt-14-dev valgrind clang-tidy clang-format
)

# The web page: emscripten to build it, Chromium and Firefox ESR to test it
# in, a JSON library for the test's DevTools client. Node and npm come with
# the machine or from Debian (ensure_node).
WEB_PACKAGES=(
    emscripten chromium firefox-esr nlohmann-json3-dev
)

# The Windows build: cross compilers (64- and 32-bit), Wine to run its tests
# (wine32 from the i386 architecture, which install_packages adds, for the
# 32-bit program), NSIS to package it, osslsigncode and openssl to sign.
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 wine nsis zip unzip
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine32:i386 osslsigncode openssl
)

# tools/make-icons, run by hand when the icon's SVG changes.
ICON_PACKAGES=(
    python3 librsvg2-bin imagemagick
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        echo "error: need root (or sudo) to run: $*" >&2
        return 1
    fi
}

# What each list is for, in the one line that names a package apt refused.
declare -A PACKAGE_LIST_PURPOSE=(
    [run]="building and starting the program"
    [check]="the tests"
    [web]="the web page"
    [windows]="the Windows program"
    [icons]="drawing the icons"
)
# The packages a mirror may fail to give without stopping everything: what
# they are for, and so which stages are left out without them.
declare -A OPTIONAL_PACKAGES=(
    [wine32:i386]="the 32-bit Windows tests under Wine"
)
# Filled by install_packages: each optional package apt could not give, with
# apt's own words (package_unavailable reads it).
declare -A UNAVAILABLE_PACKAGES=()
APT_OPTIONS=(-o Acquire::Retries=3)

# apt's own words for a failure, in one line: its errors, and the first
# dependency it could not meet.
apt_errors() {
    {
        grep -E '^ +[^ ]+ : (Pre)?Depends: ' <<<"$1" | head -1
        grep -E '^E: ' <<<"$1"
    } | sed -E 's/^ +//; s/ +/ /g' | paste -sd '|' - | sed 's/|/; /g'
}

# apt-get update, tried twice. An index that still fails to download leaves
# the lists that did: one line names each source, and the install goes on.
apt_update() {
    local said status try
    for try in 1 2; do
        status=0
        said=$(as_root apt-get "${APT_OPTIONS[@]}" update 2>&1) || status=$?
        if [ "$status" -eq 0 ] && ! grep -qE '^(E|W): (Failed to fetch|Some index files)' <<<"$said"; then
            return 0
        fi
        [ "$try" -eq 2 ] || sleep "${QIMBAR_APT_RETRY_WAIT:-10}"
    done
    local line
    while read -r line; do
        echo "Package index not downloaded, going on with the others: ${line#*Failed to fetch }"
    done < <(grep -E '^(E|W): Failed to fetch' <<<"$said" | sed -E 's/ +/ /g')
    grep -qE '^(E|W): Failed to fetch' <<<"$said" ||
        echo "apt-get update failed (status $status), going on with the package lists there are: $(apt_errors "$said")"
    return 0
}

# Whether apt can install this package alone, as it stands: its errors if not.
apt_refuses() {
    local said
    said=$(as_root apt-get "${APT_OPTIONS[@]}" install -s --no-install-recommends "$1" 2>&1) && return 1
    apt_errors "$said"
}

apt_install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get "${APT_OPTIONS[@]}" install -y \
        --no-install-recommends "$@"
}

# install_packages <list>...: installs whichever packages of the lists are
# missing. One that apt cannot give stops it with a line saying which and why,
# unless it is optional: then it is left out, alone, and named.
install_packages() {
    local -A purpose=()
    local missing=() list pkg
    for list in "$@"; do
        local -n packages="${list^^}_PACKAGES"
        for pkg in "${packages[@]}"; do
            [ -n "${purpose[$pkg]:-}" ] || purpose[$pkg]="${PACKAGE_LIST_PURPOSE[$list]}"
        done
        unset -n packages
    done
    for pkg in "${!purpose[@]}"; do
        if ! grep -q 'install ok installed' <<<"$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)"; then
            missing+=("$pkg")
        fi
    done
    [ "${#missing[@]}" -gt 0 ] || return 0
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort)
    echo "Installing: ${missing[*]}"
    # A package of another architecture (wine32:i386) needs it added first.
    local arch
    for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*://p' | sort -u); do
        if [ "$arch" != "$(dpkg --print-architecture)" ] &&
            ! grep -qx "$arch" < <(dpkg --print-foreign-architectures); then
            as_root dpkg --add-architecture "$arch"
        fi
    done
    apt_update
    apt_install "${missing[@]}" && return 0
    # Something was refused: find which, alone.
    local wanted=() why failed=0
    for pkg in "${missing[@]}"; do
        if why=$(apt_refuses "$pkg"); then
            if [ -n "${OPTIONAL_PACKAGES[$pkg]:-}" ]; then
                UNAVAILABLE_PACKAGES[$pkg]="$why"
                echo "Left out: $pkg, for ${OPTIONAL_PACKAGES[$pkg]}, cannot be installed: $why"
            else
                echo "error: $pkg, for ${purpose[$pkg]}, cannot be installed: $why" >&2
                failed=1
            fi
        else
            wanted+=("$pkg")
        fi
    done
    [ "$failed" -eq 0 ] || return 1
    [ "${#wanted[@]}" -eq 0 ] || apt_install "${wanted[@]}" || {
        echo "error: apt-get could not install: ${wanted[*]}" >&2
        return 1
    }
}

# package_unavailable <package>: true when install_packages had to leave it
# out; prints why.
package_unavailable() {
    [ -n "${UNAVAILABLE_PACKAGES[$1]:-}" ] || return 1
    echo "$1 could not be installed: ${UNAVAILABLE_PACKAGES[$1]}"
}

# Node.js and npm, from Debian where the machine has none of its own.
ensure_node() {
    if command -v node >/dev/null && command -v npm >/dev/null; then
        return 0
    fi
    NODE_PACKAGES=(nodejs npm)
    PACKAGE_LIST_PURPOSE[node]="the web page's build and tests"
    install_packages node
}

# Makes a locale available (the number tests run under a decimal comma).
ensure_locale() {
    local name="$1" input="${1%%.*}"
    if grep -qix "${name/UTF-8/utf8}" < <(locale -a 2>/dev/null); then
        return 0
    fi
    as_root localedef -i "$input" -c -f UTF-8 "$name"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -eu
    for list in "$@"; do
        case "$list" in
            run) echo "${RUN_PACKAGES[@]}" ;;
            check) echo "${CHECK_PACKAGES[@]}" ;;
            web) echo "${WEB_PACKAGES[@]}" ;;
            windows) echo "${WINDOWS_PACKAGES[@]}" ;;
            icons) echo "${ICON_PACKAGES[@]}" ;;
            *) echo "usage: $0 run|check|web|windows|icons ..." >&2; exit 2 ;;
        esac
    done
fi
