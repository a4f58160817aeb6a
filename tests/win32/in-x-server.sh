#!/usr/bin/env bash
# Runs a Windows program under Wine in an X server of its own, in a Wine
# prefix of its own: Wine's desktop process keeps the display of whichever
# program of a prefix started first, so a prefix shared with programs started
# without a display would have no screen to put windows on.
#
# usage: in-x-server.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX="$1"
shift
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
status=0
xvfb-run -a -s "-screen 0 1024x768x24" /usr/lib/wine/wine64 "$@" || status=$?
wineserver -k 2>/dev/null || true
exit "$status"
