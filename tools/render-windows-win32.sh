#!/usr/bin/env bash
# Redraws the README's pictures of the Windows launcher's five windows: runs
# render-windows-win32.exe under Wine in a private X server over a scratch
# copy of the demo folder, and writes docs/win32-*.png; the main window also
# as a screen at 150 % (144 DPI) starts it, docs/win32-form1-144dpi.png.
#
# usage: render-windows-win32.sh [RENDER_EXE] [OUTPUT_FOLDER]
#   defaults: build/windows/tools/render-windows-win32.exe, docs/
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
render="$(realpath "${1:-$top/build/windows/tools/render-windows-win32.exe}")"
output="$(cd "${2:-$top/docs}" && pwd)"
export WINEDEBUG=-all
windows_path() { echo "Z:${1//\//\\}"; }

# Runs the drawing in prefix $1 on an X screen of size $2 into folder $3.
render_in() {
    # A prefix of its own: start-up writes rvsb.ini into C:\WINDOWS.
    export WINEPREFIX="$1"
    # A fixed folder, so that the folder list shows the same path each time.
    local scratch="$top/build/windows/render-demo"
    rm -rf "$scratch"
    "$top/tools/prepare-demo.sh" "$scratch/program" "$render"
    # The folders in settings.ini as a Windows user has them (none of them
    # exists, so nothing is written there).
    sed -i -e 's|^WINDIR=.*\r$|WINDIR=C:\\WINDOWS\r|' \
           -e 's|^RWDIR=.*\r$|RWDIR=C:\\Program Files\\Roger Wilco\r|' \
           -e 's|^RDVDIR=.*\r$|RDVDIR=C:\\Program Files\\Radavue\r|' "$scratch/program/settings.ini"
    (cd "$scratch/program" &&
        xvfb-run -a -s "-screen 0 ${2}x24" /usr/lib/wine/wine64 "$render" \
            "$(windows_path "$3")" "$(windows_path "$scratch/program")")
}

render_in "$top/build/windows/render-prefix" 1024x768 "$output"
# The main window again as it starts on a screen at 150 %: a prefix set to
# 144 DPI, on a screen of a size such screens have.
at144="$top/build/windows/render-144dpi"
rm -rf "$at144" && mkdir -p "$at144"
WINEPREFIX="$top/build/windows/render-prefix-144dpi" "$top/tests/win32/wine-settings.sh" --dpi 144
render_in "$top/build/windows/render-prefix-144dpi" 1920x1080 "$at144"
cp "$at144/win32-form1.png" "$output/win32-form1-144dpi.png"
