# Sourced by the scripts that run Windows programs under Wine.
#   use_wine_prefix <absolute folder>   exports the prefix and the settings of
#       every run here (64-bit, quiet, the Mono and Gecko installers off) and
#       sets $wine and $wineserver to the programs that run in it
use_wine_prefix() {
    export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
    wineserver=/usr/lib/wine/wineserver64
    [ -x "$wineserver" ] || wineserver=$(command -v wineserver)
}
