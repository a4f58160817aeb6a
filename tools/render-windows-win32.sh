#!/usr/bin/env bash
# Redraws the README's pictures of the Windows launcher's five windows: runs
# render-windows-win32.exe under Wine in a private X server over a scratch
# copy of the demo folder, and writes docs/win32-*.png.
#
# usage: render-windows-win32.sh [RENDER_EXE] [OUTPUT_FOLDER]
#   defaults: build/windows/tools/render-windows-win32.exe, docs/
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
render="$(realpath "${1:-$top/build/windows/tools/render-windows-win32.exe}")"
output="$(cd "${2:-$top/docs}" && pwd)"
export WINEDEBUG=-all
# A prefix of its own: start-up writes rvsb.ini into C:\WINDOWS.
export WINEPREFIX="$top/build/windows/render-prefix"

# A fixed folder, so that the folder list shows the same path each time.
scratch="$top/build/windows/render-demo"
rm -rf "$scratch"
"$top/tools/prepare-demo.sh" "$scratch/program" "$render"

windows_path() { echo "Z:${1//\//\\}"; }
# The folders in settings.ini as a Windows user has them (none of them
# exists, so nothing is written there).
sed -i -e 's|^WINDIR=.*\r$|WINDIR=C:\\WINDOWS\r|' \
       -e 's|^RWDIR=.*\r$|RWDIR=C:\\Program Files\\Roger Wilco\r|' \
       -e 's|^RDVDIR=.*\r$|RDVDIR=C:\\Program Files\\Radavue\r|' "$scratch/program/settings.ini"
cd "$scratch/program"
xvfb-run -a -s "-screen 0 1024x768x24" /usr/lib/wine/wine64 "$render" \
    "$(windows_path "$output")" "$(windows_path "$scratch/program")"
