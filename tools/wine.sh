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
    fi
    wineserver=/usr/lib/wine/wineserver64
    [ -x "$wineserver" ] || wineserver=$(command -v wineserver)
}
