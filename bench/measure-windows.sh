#!/usr/bin/env bash
# Measures the Windows launcher under Wine against floors taken in the same
# run, and prints the ratios:
#   - start to its first shown window, against a bare Win32 window
#     (bare_win32_window.exe), both started by start_probe.exe, alternately;
#   - the peak working set a second after that window shows, against the
#     bare window's;
#   - the size of radavue-launcher.exe (stripped, as packaged) against the
#     Qt launcher (stripped) with the Qt libraries and the X11 platform
#     plugin it loads.
# The launcher runs on a fresh copy of the demo folder. Without a DISPLAY the
# script runs itself under xvfb-run.
#
# usage: measure-windows.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR [RUNS]
set -euo pipefail
[[ $# -ge 2 && $# -le 3 ]] ||
    { echo "usage: $0 WINDOWS_BUILD_DIR NATIVE_BUILD_DIR [RUNS]" >&2; exit 2; }
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
top="$(cd "$(dirname "$0")/.." && pwd)"
windows_build="$(cd "$1" && pwd)"
native_build="$(cd "$2" && pwd)"
runs="${3:-10}"
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$windows_build/wineprefix}"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

launcher="$windows_build/win32/radavue-launcher.exe"
bare="$windows_build/bench/bare_win32_window.exe"
probe="$windows_build/bench/start_probe.exe"
qt_launcher="$native_build/qt/radavue-launcher"
for file in "$launcher" "$bare" "$probe" "$qt_launcher"; do
    [[ -f "$file" ]] || { echo "measure-windows: no $file (build both presets first)" >&2; exit 1; }
done

scratch="$windows_build/measure"
rm -rf "$scratch" && mkdir -p "$scratch/bare"
# Stripped, as the package holds the launcher.
x86_64-w64-mingw32-strip -o "$scratch/radavue-launcher.exe" "$launcher"
x86_64-w64-mingw32-strip -o "$scratch/bare/bare_win32_window.exe" "$bare"
"$top/tools/prepare-demo.sh" "$scratch/program" "$scratch/radavue-launcher.exe"

# One start of $1 (in folder $2); prints "<ms> <KiB>".
measure() {
    (cd "$2" && "$wine" "$probe" 1 "$1" | tr -d '\r')
}
"$wine" wineboot --init >/dev/null 2>&1
# Warm-up: the prefix's first starts load and cache what later ones reuse.
measure radavue-launcher.exe "$scratch/program" >/dev/null
measure bare_win32_window.exe "$scratch/bare" >/dev/null

for _ in $(seq "$runs"); do
    measure bare_win32_window.exe "$scratch/bare" >>"$scratch/bare.txt"
    measure radavue-launcher.exe "$scratch/program" >>"$scratch/launcher.txt"
done

median() {  # $1: file, $2: column
    sort -n -k "$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

bare_ms=$(median "$scratch/bare.txt" 1)
launcher_ms=$(median "$scratch/launcher.txt" 1)
bare_kib=$(median "$scratch/bare.txt" 2)
launcher_kib=$(median "$scratch/launcher.txt" 2)

# The Qt launcher's own file, stripped, and every Qt library it and the
# platform plugin it loads on X11 need (Debian ships them stripped).
strip -o "$scratch/radavue-launcher-qt" "$qt_launcher"
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
xcb="$plugins/platforms/libqxcb.so"
[[ -f "$xcb" ]] || { echo "measure-windows: no Qt platform plugin at $xcb" >&2; exit 1; }
qt_libs=$( { ldd "$qt_launcher"; ldd "$xcb"; } | awk '$1 ~ /^libQt6/ { print $3 }' | sort -u)
qt_bytes=$(stat -L -c %s "$scratch/radavue-launcher-qt" "$xcb" $qt_libs | awk '{ s += $1 } END { print s }')
exe_bytes=$(stat -c %s "$scratch/radavue-launcher.exe")
bare_bytes=$(stat -c %s "$scratch/bare/bare_win32_window.exe")

echo "Windows launcher under $("$wine" --version), $runs starts each, medians:"
printf '  %-44s %9s %9s %7s\n' "" launcher floor ratio
printf '  %-44s %9s %9s %7s\n' "start to first shown window (ms)" "$launcher_ms" "$bare_ms" \
    "$(ratio "$launcher_ms" "$bare_ms")"
printf '  %-44s %9s %9s %7s\n' "peak working set 1 s after (KiB)" "$launcher_kib" "$bare_kib" \
    "$(ratio "$launcher_kib" "$bare_kib")"
echo "Executable size (stripped):"
printf '  %-44s %9s\n' "radavue-launcher.exe (bytes)" "$exe_bytes"
printf '  %-44s %9s\n' "bare_win32_window.exe (bytes)" "$bare_bytes"
printf '  %-44s %9s\n' "Qt launcher + its Qt libraries (bytes)" "$qt_bytes"
printf '  %-44s %9s\n' "radavue-launcher.exe / Qt launcher + Qt" "$(ratio "$exe_bytes" "$qt_bytes")"
echo "  Qt files counted: radavue-launcher $(basename "$xcb") $(for l in $qt_libs; do basename "$l"; done | tr '\n' ' ')"
