#!/usr/bin/env bash
# A whole launch as a user makes it: a pick with the keyboard, a first Launch,
# Final Setup answers dropped with the close box, a new pick with the mouse, a
# Preferences edit left with Cancel, a second Launch on a fresh dialog, Go;
# then every file handed over. Then a second start on the same folder, with a
# pick between Launch and Go, whose Go must hand over the answers the first
# run saved and one position to both clients.
#
# usage: full_launch.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/e2e_lib.sh"
prepare_program

start_launcher
startup_writes_atis_filename

# The keyboard: the focus starts on Launch; Exit, User Preferences, then the
# first group's list, whose first item Down picks. A click on the bare window
# makes it the one that gets the keys.
click "$main" 10 200
xdotool key Tab Tab Tab Down
settle_pick
shot picked-with-keyboard

click_launch
final=$(wait_window "$final_caption" "the first Launch")
expected_rvsb EGLL_DEL 118.325 radar1.example.net |
    wait_for_content windows/rvsb.ini "rvsb.ini after a Launch on the keyboard's pick"
retype "$final" $final_rwy_xy "Runway 09L in use"
retype "$final" $final_addinfo_xy "1800z"
xdotool key Tab space
sleep 0.3
shot final-setup-edited
# The close box drops these answers: nothing of them may reach a file.
python3 "$e2e_dir/close_window.py" "$final"
wait_window_gone "$final_caption" "the Final Setup close box"

# The mouse: Manchester's list, its third item.
pick_with_mouse 6 3 4
shot picked-with-mouse

# A Preferences edit left with Cancel stays in force for this run but is not
# saved.
click_user_preferences
prefs=$(wait_window "$prefs_caption" "User Preferences")
retype "$prefs" $prefs_name_xy "Night Shift"
shot preferences-edited
click "$prefs" $prefs_cancel_xy
wait_window_gone "$prefs_caption" "Cancel"

click_launch
final=$(wait_window "$final_caption" "the second Launch")
expected_rvsb EGCC_TWR 124.825 radar1.example.net |
    wait_for_content windows/rvsb.ini "rvsb.ini after a Launch on the mouse's pick"
# A fresh dialog holds var.ini's texts and a clear box: appending to the
# texts and toggling the box shows what it held.
click "$final" $final_rwy_xy
xdotool key End && xdotool type --delay 20 ", wet"
click "$final" $final_addinfo_xy
xdotool key End && xdotool type --delay 20 " or later"
xdotool key Tab space
sleep 0.3
shot final-setup-fresh
click "$final" $final_go_xy
expect_ended "Go"

roger_entry() {  # $1: position, then the words of its voice callsign
    client_log_entry "$program/rogerwilco/roger.exe" /join1 "voice1.example.net/$1" /callsign "${@:2}"
}
rv_entry() { client_log_entry "$program/radavue/rv.exe"; }
# The clients run on by themselves: wait for what they record.
roger_entry EGCC_TWR Manchester Tower |
    wait_for_content rogerwilco/roger.exe.log "the voice client's start"
rv_entry | wait_for_content radavue/rv.exe.log "the radar client's start"

expected_rvsb EGCC_TWR 124.825 radar1.example.net |
    diff - windows/rvsb.ini || fail "rvsb.ini after Go"
# Line 1 holds the day and the time of the launch. The name is the cancelled
# edit: Go reads the preferences as they stand, saved or not.
check_atis() {  # $1: voice callsign, $2: user name
    head -n 1 atis | grep -qE "^$1 Information Alpha [1-9][0-9]?[0-2][0-9][0-5][0-9]"$'\r''$' ||
        fail "ATIS header: $(head -n 1 atis)"
    diff <(crlf "Voice on voice1.example.net/EGCC_TWR" "Runway 27R in use, wet" \
                "Online Until 2100z or later" "$2  -  For More info www.example.net/atc" \
                "AutoAtis is available on EGCC ATIS 128.175") <(tail -n +2 atis) ||
        fail "ATIS lines"
}
check_atis "Manchester Tower" "Night Shift"
# The three answers are saved; the cancelled name is not; nothing else moves.
# What Windows writes, edited in place; under Wine, whose profile functions
# rewrite the file without its blank lines, all but those (same_ini).
sed -e $'s/^RWY=.*/RWY=Runway 27R in use, wet\r/' -e $'s/^ADDITIONAL=.*/ADDITIONAL=2100z or later\r/' \
    -e $'s/^autoatis=.*/autoatis=1\r/' "$before/settings.ini" >"$work/settings-expected.ini"
same_ini "$work/settings-expected.ini" settings.ini || fail "settings.ini after Go"
diff -r --exclude=radavue-launcher --exclude=settings.ini --exclude=rvsb.ini --exclude=atis \
    --exclude='*.log' "$before" "$program" || fail "files Go does not own changed"

# A second start on the same folder restores the saved answers into the
# dialog: Go hands them over unchanged. Launch is on a Heathrow position;
# then, with Final Setup open, Manchester is picked again in the main window:
# the radar client gets the position the voice client joins.
start_launcher
pick_with_mouse 1 1 7
click_launch
final=$(wait_window "$final_caption" "Launch after a new start")
expected_rvsb EGLL_DEL 118.325 radar1.example.net |
    wait_for_content windows/rvsb.ini "rvsb.ini after a Launch on Heathrow"
pick_with_mouse 6 3 4
shot final-setup-restored
click "$final" $final_go_xy
expect_ended "Go after a new start"
{ roger_entry EGCC_TWR Manchester Tower; roger_entry EGCC_TWR Manchester Tower; } |
    wait_for_content rogerwilco/roger.exe.log "the voice client's second start"
{ rv_entry; rv_entry; } | wait_for_content radavue/rv.exe.log "the radar client's second start"
same_ini "$work/settings-expected.ini" settings.ini || fail "settings.ini after a restored Go"
check_atis "Manchester Tower" "Demo Controller"
expected_rvsb EGCC_TWR 124.825 radar1.example.net |
    diff - windows/rvsb.ini || fail "rvsb.ini after a pick between Launch and Go"
echo "e2e full launch: ok"
