#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
#   native   the launcher, its windows (offscreen), the end-to-end test under
#            Xvfb, the core tests and the INI corpus comparison
#   asan     the core under AddressSanitizer + UndefinedBehaviorSanitizer,
#            and a bounded fuzzing run
#   windows  the core cross-built with MinGW-w64, its tests run under Wine
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"

tools/bootstrap.sh
export WINEDEBUG=-all
export WINEPREFIX="$top/build/windows/wineprefix"

for preset in native asan windows; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    # Each test is its own process (under Wine a slow one), so run them side by side.
    ctest --preset "$preset" --parallel "$(nproc)"
done
echo "== all tests passed"
