#!/usr/bin/env bash
# Installs what is missing, builds the launcher and opens it on a scratch copy
# of the demo program folder (build/demo-run). Without a display it runs under
# Xvfb, saves a screenshot and ends instead of waiting.
#
# usage: run-demo.sh [--wine]
#   --wine  the two clients are our Windows stand-in client (built with MinGW)
#           in a throw-away Wine prefix, build/demo-run.wine, which the
#           launcher starts through Wine; each records its command line in a
#           .log beside itself, and the radar one the ATIS text it read.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
wine=no
targets=(radavue-launcher screenshot)
if [[ "${1:-}" == --wine ]]; then
    wine=yes
    targets+=(wine-stand-in)
elif [[ $# -gt 0 ]]; then
    echo "usage: $0 [--wine]" >&2
    exit 2
fi

tools/bootstrap.sh
cmake --preset native >/dev/null
cmake --build --preset native --target "${targets[@]}"

# The build says where its targets are (launcher, screenshot, stand_in).
source build/native/demo-targets.sh
prepare=()
[[ $wine == yes ]] && prepare=(--wine "$stand_in")

run="$top/build/demo-run"
tools/prepare-demo.sh "${prepare[@]}" "$run" "$launcher"
cd "$run"

if [[ -n "${DISPLAY:-}" ]]; then
    exec ./radavue-launcher
fi

shot="$run/screenshot.png"
xvfb-run -a -s "-screen 0 800x700x24" bash -c '
    set -euo pipefail
    ./radavue-launcher &
    launcher=$!
    timeout 30 xdotool search --sync --onlyvisible --name "^Radavue Launcher" >/dev/null
    sleep 1
    "$1" "$2"
    kill "$launcher"
    wait "$launcher" || true
' _ "$screenshot" "$shot"
echo "No display: the launcher ran under Xvfb; its screenshot is $shot"
