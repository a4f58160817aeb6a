#!/usr/bin/env bash
# The launcher as unzipped from the Windows package starts under Wine on a
# fresh copy of the demo folder, shows its main window and ends by Exit. Run
# under xvfb-run, with the e2e library's settings for Wine in the environment.
#
# usage: zip_launcher_starts.sh LAUNCHER.exe SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/../e2e/e2e_lib.sh"
prepare_program
start_launcher
startup_writes_atis_filename
shot unzipped-main-window
click_exit
expect_ended "Exit"
echo "the unzipped launcher starts and ends: ok"
