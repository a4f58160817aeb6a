#!/usr/bin/env bash
# Drives the real launcher in a real X server (run it under xvfb-run): opens it
# on a fresh copy of the demo program folder, checks the main window, ends it
# with Exit and then with the close box and checks that no file changed; then
# picks a position, launches, presses Go and checks every file handed over and
# the command lines the stand-in clients recorded.
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

# A launch: pick the first Heathrow position with the mouse and the keyboard,
# Launch, Go. Positions come from the twips layout (twips / 15).
start_launcher
xdotool mousemove --window "$window" 70 264 click 1  # the field of Combo1
sleep 0.2
xdotool key Down  # picks the first item of the list
sleep 1           # several ticks of the poll
xdotool mousemove --window "$window" 328 139 click 1  # Launch
final=$(timeout 10 xdotool search --sync --onlyvisible --name "^Final Setup$") ||
    fail "Launch did not show the Final Setup dialog"
sleep 0.3
"$screenshot" "$work/final-setup.png"
xdotool mousemove --window "$final" 210 181 click 1  # Go
expect_ended "Go"
sleep 0.5  # the stand-in clients run on by themselves

crlf() { printf '%s\r\n' "$@"; }
diff <(crlf "[RV 2.0]" "CALLSIGN=EGLL_DEL" "COM 1 FREQ=118.325" "SERVER IP=radar1.example.net" \
            "RANGE RINGS=5" "[DISPLAY]" "COLOUR SCHEME=night") windows/rvsb.ini ||
    fail "rvsb.ini"
# Line 1 holds the day and the time of the launch.
head -n 1 atis | grep -qE '^Heathrow Delivery Information Alpha [1-9][0-9]?[0-2][0-9][0-5][0-9]'$'\r''$' ||
    fail "ATIS header: $(head -n 1 atis)"
diff <(crlf "Voice on voice1.example.net/EGLL_DEL" "Runway 27R in use" "Online Until 2100z" \
            "Demo Controller  -  For More info www.example.net/atc") <(tail -n +2 atis) ||
    fail "ATIS lines"
grep -q $'^RWY=Runway 27R in use\r$' settings.ini && grep -q $'^ADDITIONAL=2100z\r$' settings.ini &&
    grep -q $'^autoatis=0\r$' settings.ini || fail "settings.ini answers"
diff <(printf '%s\n' "started: $program/rogerwilco/roger.exe" "folder: $program" "arg: /join1" \
                     "arg: voice1.example.net/EGLL_DEL" "arg: /callsign" "arg: Heathrow" \
                     "arg: Delivery" "") rogerwilco/roger.exe.log || fail "voice client start"
diff <(printf '%s\n' "started: $program/radavue/rv.exe" "folder: $program" "") \
    radavue/rv.exe.log || fail "radar client start"
echo "e2e: ok"
