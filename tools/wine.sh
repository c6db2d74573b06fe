# Sourced by the scripts that run Windows programs under Wine.
#   use_wine_prefix <absolute folder> [win64|win32]   exports the prefix and the
#       settings of every run here (quiet, the Mono and Gecko installers off)
#       and sets $wine and $wineserver to the programs that run in it. The
#       architecture is the prefix's own once it exists; a new one is 64-bit
#       unless told (or QIMBAR_WINEARCH says) otherwise.
use_wine_prefix() {
    local arch="${2:-${QIMBAR_WINEARCH:-win64}}"
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -f "$1/system.reg" ]; then
        grep -q '^#arch=win32' "$1/system.reg" && arch=win32 || arch=win64
    fi
    export WINEARCH="$arch"
    # Debian's `wine` starts everything with the 32-bit loader once wine32 is
    # installed: the loaders are named outright.
    if [ "$arch" = win32 ]; then
        wine=/usr/lib/wine/wine
    else
        wine=/usr/lib/wine/wine64
        [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
        # A 64-bit prefix made before wine32 was installed has no 32-bit
        # system (syswow64 without kernel32.dll): 32-bit programs, the
        # installer among them, fail in it with "could not load
        # kernel32.dll". Made again, it has one.
        if [ -x /usr/lib/wine/wine ] && [ -f "$1/system.reg" ] &&
            [ ! -f "$1/drive_c/windows/syswow64/kernel32.dll" ]; then
            echo "note: $1 has no 32-bit system; making it again" >&2
            rm -rf "$1"
        fi
    fi
    wineserver=/usr/lib/wine/wineserver64
    [ -x "$wineserver" ] || wineserver=$(command -v wineserver)
}
