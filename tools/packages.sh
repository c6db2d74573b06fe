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
    # tools/make-icons renders the icons with rsvg-convert.
    librsvg2-bin
    locales time
    # Packaging and the desktop, Windows and macOS resource files.
    desktop-file-utils appstream dpkg-dev file binutils-mingw-w64-x86-64 cpp libxml2-utils
    # Fuzzing, leak checks and static checks.
    clang libclang-rt-14-dev valgrind clang-tidy clang-format
)

# The web page: emscripten to build it, Chromium to test it in, a JSON
# library for the test's DevTools client. Node and npm come with the machine
# or from Debian (ensure_node).
WEB_PACKAGES=(
    emscripten chromium nlohmann-json3-dev
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

# Installs whichever of the given packages are missing.
install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! grep -q 'install ok installed' <<<"$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)"; then
            missing+=("$pkg")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    # A package of another architecture (wine32:i386) needs it added first.
    local arch
    for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*://p' | sort -u); do
        if [ "$arch" != "$(dpkg --print-architecture)" ] &&
            ! grep -qx "$arch" < <(dpkg --print-foreign-architectures); then
            as_root dpkg --add-architecture "$arch"
        fi
    done
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Node.js and npm, from Debian where the machine has none of its own.
ensure_node() {
    if command -v node >/dev/null && command -v npm >/dev/null; then
        return 0
    fi
    install_packages nodejs npm
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
