#!/usr/bin/env bash
# A controller's first run: the demo folder without settings.ini. Launch with
# nothing picked reports and opens nothing; a pick and Launch open Final Setup
# on var.ini's defaults; Go with the client folders unset reports and leaves
# the launcher and the dialog open with nothing written or started; the
# folders set in Preferences, Launch names the ATIS file in rvsb.ini at once
# and a second Go goes on line with the defaults in the ATIS.
#
# usage: first_run.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/e2e_lib.sh"
prepare_program
rm settings.ini "$before/settings.ini"

start_launcher
cmp windows/rvsb.ini "$before/windows/rvsb.ini" || fail "start-up wrote rvsb.ini with no Windows folder"

# The error box takes the keys; Return dismisses it.
dismiss_report() {  # $1: what showed it
    local report
    report=$(wait_window '^Radavue Launcher$' "$1")
    expect_focus "$report" "the report of $1"
    press Return
    wait_window_gone '^Radavue Launcher$' "Return on the report of $1"
}
nothing_written() {  # $1: after what
    sleep 1  # a client started would have logged its start by now
    kill -0 "$pid" 2>/dev/null || fail "$1 ended the launcher"
    [[ ! -e atis && ! -e settings.ini ]] || fail "$1 wrote the ATIS file or the answers"
    [[ ! -e rogerwilco/roger.exe.log && ! -e radavue/rv.exe.log ]] || fail "$1 started a client"
}

click_launch
dismiss_report "Launch with nothing picked"
xdotool search --onlyvisible --name "$final_caption" >/dev/null 2>&1 &&
    fail "Launch with nothing picked opened Final Setup"
nothing_written "Launch with nothing picked"

# The report sent the keys to Heathrow's list: Down picks its first position.
press Down
settle_pick
click_launch
final=$(wait_window "$final_caption" "Launch on a pick")
shot first-final-setup
click "$final" $final_go_xy
dismiss_report "Go with the client folders unset"
xdotool search --onlyvisible --name "$final_caption" >/dev/null 2>&1 ||
    fail "Go with the client folders unset closed Final Setup"
nothing_written "Go with the client folders unset"
# The dialog lies over the main window's buttons: its close box drops it.
python3 "$e2e_dir/close_window.py" "$final"
wait_window_gone "$final_caption" "the Final Setup close box"

# Preferences: the servers and the three folders, saved with OK.
click_user_preferences
prefs=$(wait_window "$prefs_caption" "User Preferences")
shot first-preferences-opened
retype "$prefs" 140 26 voice1.example.net
retype "$prefs" 140 58 radar1.example.net
retype "$prefs" 220 121 "$(launcher_path "$program/radavue")"
retype "$prefs" 220 153 "$(launcher_path "$program/rogerwilco")"
retype "$prefs" 220 182 "$(launcher_path "$program/windows")"
shot first-preferences
click "$prefs" 110 268
wait_window_gone "$prefs_caption" "OK in Preferences"

# The Windows folder set in this run: Launch names the ATIS file already. The
# new dialog holds var.ini's defaults again, no answers having been saved.
click_launch
final=$(wait_window "$final_caption" "Launch after Preferences")
expected_rvsb EGLL_DEL 118.325 radar1.example.net |
    wait_for_content windows/rvsb.ini "rvsb.ini after a Launch with the Windows folder just set"
click "$final" $final_go_xy
expect_ended "Go after the folders were set"

client_log_entry "$program/rogerwilco/roger.exe" /join1 voice1.example.net/EGLL_DEL \
    /callsign Heathrow Delivery | wait_for_content rogerwilco/roger.exe.log "the voice client's start"
client_log_entry "$program/radavue/rv.exe" |
    wait_for_content radavue/rv.exe.log "the radar client's start"
# var.ini's defaults, never touched in the dialog, reach the ATIS.
diff <(crlf "Voice on voice1.example.net/EGLL_DEL" "Runway 27R in use" "Online Until 2100z") \
    <(sed -n 2,4p atis) || fail "ATIS lines"
echo "e2e first run: ok"
