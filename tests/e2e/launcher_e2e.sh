#!/usr/bin/env bash
# Drives the real launcher in a real X server (run it under xvfb-run): opens it
# on a fresh copy of the demo program folder, checks the main window, ends it
# with Exit and then with the close box, and checks that no file changed.
#
# usage: launcher_e2e.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
set -euo pipefail
launcher="$1"
screenshot="$2"
work="$3"
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/../.." && pwd)"

fail() { echo "FAIL: $*" >&2; exit 1; }

program="$work/program"
"$top/tools/prepare-demo.sh" "$program" "$launcher"
before="$work/before"
rm -rf "$before" && cp -a "$program" "$before"
cd "$program"

pid=""
start_launcher() {
    ./radavue-launcher &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Radavue Launcher ") ||
        fail "the main window did not appear"
}
expect_ended() {  # $1: what ended it
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "$1 did not end the program"; }
    wait "$pid" || fail "$1: the program ended with status $?"
}

# Exit ends the program.
start_launcher
sleep 0.5
"$screenshot" "$work/main-window.png"
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$WIDTH" -eq 650 ]] || fail "client width is $WIDTH, expected 650 (9750 twips)"
# The demo fills groups 1, 6 and 11: rows 1 to 3, an outer height of 6690 twips.
[[ "$HEIGHT" -le 446 && "$HEIGHT" -ge 400 ]] || fail "height $HEIGHT does not fit three rows"
xdotool mousemove --window "$window" 440 139 click 1  # Exit
expect_ended "Exit"

# The close box ends the program too.
start_launcher
python3 "$here/close_window.py" "$window"
expect_ended "the close box"

# Looking is not touching: no file of the program folder changed.
diff -r --exclude=radavue-launcher "$before" "$program" || fail "files changed"
echo "e2e: ok"
