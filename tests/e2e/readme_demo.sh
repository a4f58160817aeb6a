#!/usr/bin/env bash
# The README's first command as a newcomer runs it: from the repository root,
# with no display. It must end well and leave its screenshot, which must show
# the demo's main window (650 x 407 pixels: fourteen groups in three rows).
#
# usage: readme_demo.sh [--wine]
set -euo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$top"
shot=build/demo-run/screenshot.png
rm -f "$shot"
env -u DISPLAY -u WAYLAND_DISPLAY tools/run-demo.sh "$@"
[[ -f "$shot" ]] || { echo "FAIL: tools/run-demo.sh $* left no screenshot" >&2; exit 1; }
tests/e2e/check_screenshot.py "$shot" 650 407
