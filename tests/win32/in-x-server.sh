#!/usr/bin/env bash
# Runs a Windows program under Wine in an X server of its own, in a Wine
# prefix of its own: Wine's desktop process keeps the display of whichever
# program of a prefix started first, so a prefix shared with programs started
# without a display would have no screen to put windows on.
#
# usage: in-x-server.sh [SETTINGS...] PREFIX PROGRAM [ARGUMENTS...]
#   SETTINGS: the screen and Windows version of the prefix (wine-settings.sh)
set -euo pipefail
settings=()
while [[ "$1" == --* ]]; do
    settings+=("$1" "$2")
    shift 2
done
export WINEPREFIX="$1"
shift
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
if [[ ${#settings[@]} -gt 0 ]]; then
    "$(dirname "$0")/wine-settings.sh" "${settings[@]}"
fi
status=0
# A screen as large as a 150 % one: the main window with all its groups is
# 910 pixels tall at 144 DPI, and Windows keeps a window within the screen.
xvfb-run -a -s "-screen 0 1920x1080x24" /usr/lib/wine/wine64 "$@" || status=$?
wineserver -k 2>/dev/null || true
exit "$status"
