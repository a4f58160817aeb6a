#!/usr/bin/env bash
# Gives the Wine prefix WINEPREFIX, made here when it is not there yet, the
# screen and the Windows version a test asks for. Wine reads both when the
# first process of the prefix starts, so this runs while none does. The
# settings are written once a prefix: a prefix that has them is left alone.
#
# usage: wine-settings.sh [--dpi N] [--version win7|win10|...]
#   --dpi N      the screen's dots per inch (96 at 100 %, 144 at 150 %): the
#                user's LogPixels, which Wine 8 takes over the machine's
#   --version V  the Windows version Wine reports (winecfg -v)
set -euo pipefail
: "${WINEPREFIX:?no WINEPREFIX}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
dpi="" version=""
while [[ $# -gt 0 ]]; do
    case "$1" in
        --dpi) dpi="$2"; shift 2 ;;
        --version) version="$2"; shift 2 ;;
        *) echo "usage: $0 [--dpi N] [--version V]" >&2; exit 2 ;;
    esac
done
stamp="$WINEPREFIX/launcher-test-settings"
wanted="dpi=$dpi version=$version"
[[ -f "$stamp" && "$(cat "$stamp")" == "$wanted" ]] && exit 0

mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
"$wine" wineboot --init >/dev/null 2>&1
if [[ -n "$dpi" ]]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
fi
if [[ -n "$version" ]]; then
    "$wine" winecfg -v "$version"
fi
# The registry reaches its files when the last process has gone.
wineserver -w
echo "$wanted" >"$stamp"
