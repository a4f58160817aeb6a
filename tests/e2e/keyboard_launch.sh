#!/usr/bin/env bash
# A whole launch with the keyboard alone, no pointer action at all: Tab to the
# group lists, a pick with Down in one group, a pick from the opened list of a
# lower group (which must empty the higher one), Shift+Tab back to Launch,
# space, the Final Setup answers typed, the box toggled, Go; then every file
# handed over.
#
# usage: keyboard_launch.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/e2e_lib.sh"
prepare_program

start_launcher
startup_writes_atis_filename
# 9750 twips wide, as many pixels as the screen's DPI makes them.
declare -A main_width=([96]=650 [144]=975)
eval "$(xdotool getwindowgeometry --shell "$main")"
[[ "$WIDTH" -eq "${main_width[$screen_dpi]}" ]] ||
    fail "client width $WIDTH at $screen_dpi DPI, expected ${main_width[$screen_dpi]}"
# Nothing else gives the new window the keys under a bare X server.
focus_window "$main"

# The focus starts on Launch: Exit, User Preferences, Heathrow's list,
# Gatwick's list, where Down picks the first position.
press Tab Tab Tab Tab Down
settle_pick
shot keyboard-higher-group
# Back to Heathrow's list. Alt+Down opens it (keys_to_first_item reach its
# first item); Down moves down the list, Return picks the third. The pick
# empties Gatwick's list, else the higher group would stay the selection.
press shift+Tab alt+Down
list=$(wait_dropdown "Alt+Down on Heathrow's list")
press "${keys_to_first_item[@]}" Down Down Return
wait_unmapped "$list" "Return in Heathrow's list"
settle_pick
shot keyboard-picked-from-list

# User Preferences, Exit, Launch. Return is nothing to a button that is
# not a default one; space presses it.
press shift+Tab shift+Tab shift+Tab Return
sleep 1
xdotool search --onlyvisible --name "$final_caption" >/dev/null 2>&1 &&
    fail "Return pressed Launch"
press space
final=$(wait_window "$final_caption" "space on Launch")
expect_focus "$final" "Final Setup"
expected_rvsb EGLL_N_TWR 118.975 radar1.example.net |
    wait_for_content windows/rvsb.ini "rvsb.ini after a Launch on the list's pick"

# The focus starts on Go; rwy, addinfo and the box follow, then Go again.
# The answers restored from settings.ini are replaced, the ticked box cleared.
press Tab ctrl+a
type_text "Runway 09R in use"
press Tab ctrl+a
type_text "1930z"
press Tab space
shot keyboard-final-setup
press Tab space
expect_ended "space on Go"

client_log_entry "$program/rogerwilco/roger.exe" /join1 voice1.example.net/EGLL_N_TWR \
    /callsign Heathrow Tower | wait_for_content rogerwilco/roger.exe.log "the voice client's start"
client_log_entry "$program/radavue/rv.exe" |
    wait_for_content radavue/rv.exe.log "the radar client's start"

expected_rvsb EGLL_N_TWR 118.975 radar1.example.net | diff - windows/rvsb.ini ||
    fail "rvsb.ini after Go"
# Line 1 holds the day and the time of the launch. The position has an
# automatic ATIS, but the cleared box leaves its line out.
head -n 1 atis | grep -qE '^Heathrow Tower Information Alpha [1-9][0-9]?[0-2][0-9][0-5][0-9]'$'\r''$' ||
    fail "ATIS header: $(head -n 1 atis)"
diff <(crlf "Voice on voice1.example.net/EGLL_N_TWR" "Runway 09R in use" "Online Until 1930z" \
            "Demo Controller  -  For More info www.example.net/atc") <(tail -n +2 atis) ||
    fail "ATIS lines"
# The answers saved in place, as Windows edits the file; under Wine, whose
# profile functions rewrite it without its blank lines, all but those
# (same_ini).
sed -e $'s/^RWY=.*/RWY=Runway 09R in use\r/' -e $'s/^ADDITIONAL=.*/ADDITIONAL=1930z\r/' \
    -e $'s/^autoatis=.*/autoatis=0\r/' "$before/settings.ini" >"$work/settings-expected.ini"
same_ini "$work/settings-expected.ini" settings.ini || fail "settings.ini after Go"
diff -r --exclude=radavue-launcher --exclude=settings.ini --exclude=rvsb.ini --exclude=atis \
    --exclude='*.log' "$before" "$program" || fail "files Go does not own changed"
echo "e2e keyboard launch: ok"
