#!/usr/bin/env bash
# The launcher as a package delivers it (unzipped from the Windows ZIP, or
# copied out of the installed DEB) starts on a fresh copy of the demo folder,
# shows its main window and ends by Exit. Run under xvfb-run; the Windows one
# with the e2e library's settings for Wine in the environment.
#
# usage: packaged_launcher_starts.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/../e2e/e2e_lib.sh"
prepare_program
start_launcher
startup_writes_atis_filename
shot packaged-main-window
click_exit
expect_ended "Exit"
echo "the packaged launcher starts and ends: ok"
