#!/usr/bin/env bash
# Preferences edited but neither saved nor cancelled, then Exit on the main
# window: the program ends and no edit reaches a file.
#
# usage: exit_drops_edits.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/e2e_lib.sh"
prepare_program

start_launcher
startup_writes_atis_filename

click_user_preferences
prefs=$(wait_window "$prefs_caption" "User Preferences")
retype "$prefs" $prefs_name_xy "Night Shift"
shot preferences-edited
# The dialog stays open, centred over Exit: a click on the bare main window
# gives it the keys, and the focus, still on User Preferences, goes back to
# Exit.
click "$main" 10 200
xdotool key shift+Tab space
expect_ended "Exit with Preferences open"

diff -r --exclude=radavue-launcher --exclude=rvsb.ini "$before" "$program" ||
    fail "a file changed"
# Start-up's own rvsb.ini key is the one change allowed.
expected_rvsb "" "" "" | diff - windows/rvsb.ini || fail "rvsb.ini"
echo "e2e exit drops edits: ok"
