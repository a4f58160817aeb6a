#!/usr/bin/env bash
# Opens the launcher on a fresh copy of the demo program folder, checks the
# main window, ends it with Exit and then with the close box and checks that
# no file changed; then picks a position, launches, presses Go and checks
# every file handed over and the command lines the stand-in clients recorded;
# last the same launch with the radar client gone.
#
# usage: launcher_e2e.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/e2e_lib.sh"
prepare_program

# Exit ends the program.
start_launcher
startup_writes_atis_filename
shot main-window
eval "$(xdotool getwindowgeometry --shell "$main")"
[[ "$WIDTH" -eq 650 ]] || fail "client width is $WIDTH, expected 650 (9750 twips)"
# The demo fills groups 1, 6 and 11: rows 1 to 3, an outer height of 6690
# twips, 446 px. Under a window manager the frame is the top-level window that
# holds ours. A bare X server gives no frame, and the client is what is left
# inside the frame the launcher counts on (bare_frame_px).
outer=$(outer_window "$main")
outer_height=$(xwininfo -id "$outer" | sed -n 's/^ *Height: *//p')
if [[ "$outer" != "$main" ]]; then
    (( outer_height >= 444 && outer_height <= 448 )) ||
        fail "outer height $outer_height, expected 446 (6690 twips)"
else
    (( HEIGHT >= 446 - bare_frame_px - 2 && HEIGHT <= 446 - bare_frame_px + 2 )) ||
        fail "client height $HEIGHT without a frame, expected $(( 446 - bare_frame_px ))" \
            "(6690 twips less $bare_frame_px px)"
fi
click_exit
expect_ended "Exit"

# The close box ends the program too.
start_launcher
python3 "$e2e_dir/close_window.py" "$main"
expect_ended "the close box"

# Looking is not touching: no file of the program folder changed, but for
# start-up's own rvsb.ini key.
diff -r --exclude=radavue-launcher --exclude=rvsb.ini "$before" "$program" || fail "files changed"
expected_rvsb "" "" "" | diff - windows/rvsb.ini ||
    fail "rvsb.ini after two starts"

# A launch: pick the first Heathrow position with the mouse and the keyboard,
# Launch, Go.
start_launcher
read -r x y < <(group_list_xy 1)
click "$main" "$x" "$y"  # the field of Combo1
xdotool key Down         # picks the first item of the list
settle_pick
click_launch
final=$(wait_window "$final_caption" "Launch")
shot final-setup
click "$final" $final_go_xy
expect_ended "Go"
# The stand-in clients run on by themselves: wait for what they record.
client_log_entry "$program/rogerwilco/roger.exe" /join1 voice1.example.net/EGLL_DEL \
    /callsign Heathrow Delivery | wait_for_content rogerwilco/roger.exe.log "voice client start"
client_log_entry "$program/radavue/rv.exe" | wait_for_content radavue/rv.exe.log "radar client start"

expected_rvsb EGLL_DEL 118.325 radar1.example.net |
    diff - windows/rvsb.ini || fail "rvsb.ini"
# Line 1 holds the day and the time of the launch.
head -n 1 atis | grep -qE '^Heathrow Delivery Information Alpha [1-9][0-9]?[0-2][0-9][0-5][0-9]'$'\r''$' ||
    fail "ATIS header: $(head -n 1 atis)"
# The dialog opens with the answers start-up restored from settings.ini.
diff <(crlf "Voice on voice1.example.net/EGLL_DEL" "Runway 27L in use" "Online Until 2200z" \
            "Demo Controller  -  For More info www.example.net/atc") <(tail -n +2 atis) ||
    fail "ATIS lines"
# Go saved the restored answers back unchanged: byte for byte on Windows and
# under Wine alike (Wine leaves a file alone when a value does not change).
diff "$before/settings.ini" settings.ini || fail "settings.ini answers"

# No radar client in its folder: Go reports it before it saves, writes or
# starts anything, and Final Setup stays open for another Go.
rm radavue/rv.exe atis
cp rogerwilco/roger.exe.log "$work/roger-before.log"
start_launcher
pick_with_mouse 1 1 7
click_launch
final=$(wait_window "$final_caption" "Launch without a radar client")
click "$final" $final_go_xy
report=$(wait_window '^Radavue Launcher$' "Go without a radar client")
shot missing-radar-client
expect_focus "$report" "the report of the missing radar client"
press Return
wait_window_gone '^Radavue Launcher$' "Return on the report of the missing radar client"
xdotool search --onlyvisible --name "$final_caption" >/dev/null 2>&1 ||
    fail "Final Setup closed after the report of the missing radar client"
[[ ! -e atis ]] && diff "$before/settings.ini" settings.ini || fail "ATIS file or answers written"
cmp rogerwilco/roger.exe.log "$work/roger-before.log" || fail "the voice client started"
python3 "$e2e_dir/close_window.py" "$final"
wait_window_gone "$final_caption" "the Final Setup close box"
click_exit
expect_ended "Exit after the report of the missing radar client"
echo "e2e: ok"
