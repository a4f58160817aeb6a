#!/usr/bin/env bash
# Installs what is missing, checks the sources, builds every configuration
# and runs every test:
#   format   every C++ file as clang-format lays it out (tools/check-format.sh)
#   native   the launcher, its windows (offscreen), the end-to-end test under
#            Xvfb, the core tests and the INI corpus comparison, the packages
#   tidy     clang-tidy over the native build's sources (tools/run-tidy.sh)
#   debug    the same sources as a GCC Debug build with libstdc++'s
#            assertions: the core and the windows' tests
#   asan     a clang Debug build under AddressSanitizer +
#            UndefinedBehaviorSanitizer: the core, the Qt windows and the
#            end-to-end scenarios, and a bounded fuzzing run
#   windows  the Win32 launcher cross-built with MinGW-w64: the core tests,
#            the end-to-end scenarios and the ZIP's start under Wine in Xvfb
# No test is run twice: a test that fails now and then is a fault to find.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"

step() {
    echo "== $1 ($SECONDS s)"
}

tools/bootstrap.sh
export WINEDEBUG=-all
export WINEPREFIX="$top/build/windows/wineprefix"

step format
tools/check-format.sh

for preset in native debug asan windows; do
    step "$preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    if [[ $preset == native ]]; then
        step tidy
        tools/run-tidy.sh build/native
    elif [[ $preset == windows ]]; then
        step "tidy (Windows sources)"
        tools/run-tidy.sh build/windows --target x86_64-w64-mingw32
    fi
    # Each test is its own process (under Wine a slow one), so run them side by side.
    ctest --preset "$preset" --parallel "$(nproc)"
done
step "all tests passed"
