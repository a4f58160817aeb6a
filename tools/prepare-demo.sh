#!/usr/bin/env bash
# Makes a fresh program folder from demo/ at DEST with the launcher copied in,
# and points the preferences' Windows, radar and voice folders at DEST's own
# subfolders, so the run touches nothing outside DEST.
#
# With --wine, the two clients are the Windows stand-in client STAND_IN_EXE
# (built with MinGW: tests/launch/stand_in_client.cpp) in a throw-away Wine
# prefix DEST.wine beside DEST (a prefix inside a program folder would be the
# downloaded folder's, which the launcher never runs anything in), installed
# as a controller installs the real ones:
#   DEST.wine/drive_c/Program Files/Radavue/rv.exe
#   DEST.wine/drive_c/Program Files/Roger Wilco/roger.exe
#   DEST.wine/drive_c/windows/rvsb.ini
# The launcher then starts them through Wine.
#
# usage: prepare-demo.sh [--wine STAND_IN_EXE] DEST LAUNCHER_EXECUTABLE
set -euo pipefail
stand_in=""
if [[ "${1:-}" == --wine ]]; then
    [[ $# -ge 2 ]] || { echo "usage: $0 [--wine STAND_IN_EXE] DEST LAUNCHER_EXECUTABLE" >&2; exit 2; }
    stand_in="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
    shift 2
fi
[[ $# -eq 2 ]] || { echo "usage: $0 [--wine STAND_IN_EXE] DEST LAUNCHER_EXECUTABLE" >&2; exit 2; }
here="$(cd "$(dirname "$0")/.." && pwd)"
dest="$1"
launcher="$2"

rm -rf "$dest" "$dest.wine"
mkdir -p "$(dirname "$dest")"
cp -a "$here/demo" "$dest"
dest="$(cd "$dest" && pwd)"
cp "$launcher" "$dest/"

windows="$dest/windows"
voice="$dest/rogerwilco"
radar="$dest/radavue"
if [[ -n "$stand_in" ]]; then
    command -v wine >/dev/null || { echo "prepare-demo: --wine needs wine (tools/bootstrap.sh)" >&2; exit 1; }
    prefix="$dest.wine"
    WINEDEBUG=-all WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
    # Wine writes the prefix's registry files, which tell a prefix, only as
    # its server ends.
    WINEPREFIX="$prefix" wineserver -w
    windows="$prefix/drive_c/windows"
    voice="$prefix/drive_c/Program Files/Roger Wilco"
    radar="$prefix/drive_c/Program Files/Radavue"
    mkdir -p "$voice" "$radar"
    cp "$stand_in" "$voice/roger.exe"
    cp "$stand_in" "$radar/rv.exe"
    mv "$dest/windows/rvsb.ini" "$windows/rvsb.ini"
    rm -r "$dest/windows" "$dest/rogerwilco" "$dest/radavue"
fi

# settings.ini has CRLF line ends; keep them.
sed -i -e "s|^WINDIR=.*|WINDIR=$windows\r|" \
       -e "s|^RWDIR=.*|RWDIR=$voice\r|" \
       -e "s|^RDVDIR=.*|RDVDIR=$radar\r|" "$dest/settings.ini"
