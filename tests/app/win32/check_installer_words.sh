#!/usr/bin/env bash
# The installer shows no NSIS string the program has not chosen. It is built
# uncompressed against a copy of NSIS whose Uzbek files (and English.nsh, MUI's
# fallback) hold a marker naming each string; makensis keeps only the strings
# the installer and uninstaller can show, so a marker read from the binary
# (UTF-16LE) is one the script did not override. A bare page must show
# markers, and the installer its name, or the check read nothing.
#   check_installer_words.sh <qimbar.nsi> <licence page> <icon>
set -euo pipefail
nsi="$1" licence="$2" icon="$3"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

real=$(makensis -HDRINFO | grep -o 'NSISDIR=[^,]*')
langs="${real#NSISDIR=}/Contrib/Language files" marks="$scratch/nsis/Contrib/Language files"
cp -rs "${real#NSISDIR=}" "$scratch/nsis"
rm "$marks/Uzbek.nlf" "$marks/Uzbek.nsh" "$marks/English.nsh"
# In the .nlf each string is the line after its "# ^Name" comment.
awk 'mark { print "@@" mark "@@"; mark = ""; next } { print }
     /^# (\^[A-Za-z_]+|byte|kilo|mega|giga)$/ { mark = substr($0, 3) }' "$langs/Uzbek.nlf" >"$marks/Uzbek.nlf"
for nsh in Uzbek English; do sed 's/^\([[:space:]]*\${LangFileString} \([A-Za-z_]*\) \).*$/\1"@@\2@@"/' \
    "$langs/$nsh.nsh" >"$marks/$nsh.nsh"; done
# marked <script> <exe> [defines...]: makes <exe>.txt, its strings.
marked() {
    NSISDIR="$scratch/nsis" makensis -V1 -NOCD "-XSetCompressor /FINAL zlib" "-XSetCompress off" \
        "-DOUTFILE=$2" "${@:3}" "$1" || fail "makensis $1"
    strings -el "$2" >"$2.txt"
}

printf '%s\n' 'Unicode true' 'OutFile "${OUTFILE}"' '!include MUI2.nsh' '!insertmacro MUI_PAGE_DIRECTORY' \
    '!insertmacro MUI_LANGUAGE "Uzbek"' 'Section' 'SectionEnd' | marked - "$scratch/bare.exe"
grep -q '@@^SpaceRequired@@' "$scratch/bare.exe.txt" && grep -q '@@MUI_TEXT_DIRECTORY_TITLE@@' "$scratch/bare.exe.txt" ||
    fail "a bare directory page shows no marker: the check reads nothing"
printf '!macro QimbarInstallFiles\n!macroend\n!macro QimbarRemoveFiles\n!macroend\n' >"$scratch/files.nsh"
marked "$nsi" "$scratch/qimbar.exe" -DVERSION=0 "-DEXE64=$icon" "-DEXE32=$icon" \
    "-DFILES=$scratch/files.nsh" "-DLICENSE=$licence" "-DICON=$icon" -DSIGN=true
name=$(sed -n 's/^!define NAME "\(.*\)"$/\1/p' "$nsi")
[ -n "$name" ] && grep -qF "$name" "$scratch/qimbar.exe.txt" || fail "the installer's strings cannot be read"

left=$({ grep -o '@@[^@]*@@' "$scratch/qimbar.exe.txt" || true; } | tr -d @ | sort -u)
for id in $left; do
    echo "NSIS's $id is still shown: $(grep -x -A1 -F "# $id" "$langs/Uzbek.nlf" | tail -1)$(grep " $id " "$langs/Uzbek.nsh" | sed 's/^[^"]*//' | tr -d '\r')"
done
[ -z "$left" ] || fail "$(wc -w <<<"$left") NSIS strings not chosen by $nsi"
echo "PASS: every string of the installer and the uninstaller is $nsi's"
