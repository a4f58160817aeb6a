#!/usr/bin/env bash
# Measures each front end's start against a bare window of its own toolkit,
# started the same way in the same run, and prints the ratios:
#   - start to the moment the X server maps the first window;
#   - the peak resident memory a second after that.
# Qt: the launcher against bench/bare_window. Win32 under Wine: the launcher
# against bench/bare_win32_window.exe, all under one running wineserver in a
# prefix warmed by a first start of each, with Wine's desktop kept running.
# A second floor, "furnished", is the same bare window showing a line of text
# and the demo's banner picture (Win32: with the launcher's styled controls):
# what any window that shows text and a picture pays. The programs take
# turns; each line is the median of RUNS starts. map_probe times them all
# from the X server's side. Without a DISPLAY the script runs itself under
# xvfb-run (no window manager: nothing decorates or delays a window). Last,
# where each launcher's memory beyond its bare window's lies: the mappings
# (libraries, fonts, [anon] and [heap]) that differ most, from one more start
# of each.
#
# A third floor is optional: the same window as the launcher's first one,
# written by hand in one function with no framework. Name its executables in
# FLOOR_QT (a Linux program) and FLOOR_WIN32 (a Windows one); each starts from
# its front end's demo folder, as the launcher does, and gets a column of its
# own. FRONT_ENDS="qt", "win32" or "qt win32" (the default) picks what is
# measured; for Win32 alone the native build needs only bench/map_probe.
#
# usage: measure-start.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [RUNS]
set -euo pipefail
[[ $# -ge 2 && $# -le 3 ]] ||
    { echo "usage: $0 NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [RUNS]" >&2; exit 2; }
if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
top="$(cd "$(dirname "$0")/.." && pwd)"
native="$(cd "$1" && pwd)"
windows="$(cd "$2" && pwd)"
runs="${3:-10}"
probe="$native/bench/map_probe"
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$windows/wineprefix}"
export QT_LOGGING_RULES="*.warning=false" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
fronts="${FRONT_ENDS:-qt win32}"
measures() { [[ " $fronts " == *" $1 "* ]]; }

needed=("$probe")
if measures qt; then
    needed+=("$native/bench/bare_window" "$native/qt/radavue-launcher" ${FLOOR_QT:+"$FLOOR_QT"})
fi
if measures win32; then
    needed+=("$windows/bench/bare_win32_window.exe" "$windows/bench/bare_win32_furnished.exe"
        "$windows/win32/radavue-launcher.exe" ${FLOOR_WIN32:+"$FLOOR_WIN32"})
fi
for file in "${needed[@]}"; do
    [[ -f "$file" ]] || { echo "measure-start: no $file (build both presets first)" >&2; exit 1; }
done

scratch="$native/measure-start"
rm -rf "$scratch" && mkdir -p "$scratch/bare"
cp "$top/demo/logo.png" "$scratch/bare/"
# Each program measured: "<name>:<folder>:<command>".
programs=()
if measures qt; then
    "$top/tools/prepare-demo.sh" "$scratch/qt" "$native/qt/radavue-launcher" >/dev/null
    programs+=(
        qt-bare:bare:"$native/bench/bare_window"
        qt-furnished:bare:"$native/bench/bare_window logo.png"
        qt-launcher:qt:./radavue-launcher
    )
    if [[ -n "${FLOOR_QT:-}" ]]; then
        cp "$FLOOR_QT" "$scratch/qt/floor"
        programs+=(qt-floor:qt:./floor)
    fi
fi
if measures win32; then
    # The Windows programs stripped, as the package holds the launcher: Wine
    # reads a debug build's symbols into memory with the rest of the file.
    x86_64-w64-mingw32-strip -o "$scratch/radavue-launcher.exe" "$windows/win32/radavue-launcher.exe"
    for bare in bare_win32_window bare_win32_furnished; do
        x86_64-w64-mingw32-strip -o "$scratch/bare/$bare.exe" "$windows/bench/$bare.exe"
    done
    "$top/tools/prepare-demo.sh" "$scratch/win32" "$scratch/radavue-launcher.exe" >/dev/null
    programs+=(
        win32-bare:bare:"$wine bare_win32_window.exe"
        win32-furnished:bare:"$wine bare_win32_furnished.exe logo.png"
        win32-launcher:win32:"$wine radavue-launcher.exe"
    )
    if [[ -n "${FLOOR_WIN32:-}" ]]; then
        x86_64-w64-mingw32-strip -o "$scratch/win32/floor.exe" "$FLOOR_WIN32"
        programs+=(win32-floor:win32:"$wine floor.exe")
    fi
fi

# One start: FOLDER OUTPUT COMMAND...; appends "<ms> <KiB>" to OUTPUT.
start() {
    local folder="$1" output="$2"
    shift 2
    (cd "$folder" && "$probe" 1000 "$@") >>"$output"
}

# One server for every start, as on a running desktop.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -p
"$wine" wineboot --init >/dev/null 2>&1
# And one Windows program running throughout (a command prompt waiting for a
# line that never comes): when the last one ends, Wine's desktop process ends
# a second later, and the next start, whichever program it is, pays a good
# 150 ms to start it again.
mkfifo "$scratch/keeper"
"$wine" cmd.exe <"$scratch/keeper" >/dev/null 2>&1 &
exec 3>"$scratch/keeper"
# One start of each program: OUTPUT_SUFFIX; the output is /dev/null for none.
each() {
    local name file folder command
    for name in "${programs[@]}"; do
        IFS=: read -r file folder command <<<"$name"
        # shellcheck disable=SC2086 # the command is a program and its arguments
        start "$scratch/$folder" "$([[ -n "$1" ]] && echo "$scratch/$file$1" || echo /dev/null)" \
            $command
    done
}
each ""
for _ in $(seq "$runs"); do
    each .txt
done
# One more, telling where the memory lies.
for name in "${programs[@]}"; do
    IFS=: read -r file folder command <<<"$name"
    # shellcheck disable=SC2086
    MAP_PROBE_MAPPINGS="$scratch/$file.maps" start "$scratch/$folder" /dev/null $command
done

median() {  # $1: file, $2: column
    sort -n -k "$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# The mappings whose resident KiB differ by 128 or more, largest first.
differences() {  # $1: launcher's mappings, $2: bare window's
    awk 'NR == FNR { bare[substr($0, index($0, " ") + 1)] = $1; next }
         { name = substr($0, index($0, " ") + 1); shown[name] = $1 - bare[name]; delete bare[name] }
         END { for (n in bare) shown[n] = -bare[n]
               for (n in shown) if (shown[n] >= 128 || shown[n] <= -128) {
                   short = n; sub(".*/", "", short); printf "%d %s\n", shown[n], short } }' \
        "$2" "$1" | sort -rn | awk '{ printf "    %+7d KiB  %s\n", $1, $2 }'
}
fastest() {  # $1: file, $2: column
    sort -n -k "$2" "$1" | awk -v c="$2" 'NR == 1 { print $c }'
}
report() {  # $1: front end, $2: its files' prefix
    local row statistic column what l b f h floor
    # The medians, and the fastest start: on a busy machine the starts that
    # others slowed down fall on the slow side, so the fastest tells the
    # programs' own cost where the medians scatter.
    for row in median:1 median:2 fastest:1; do
        statistic=${row%:*}
        column=${row#*:}
        what=$([[ $column == 1 ]] && echo "start to first window (ms)" || echo "peak memory (KiB)")
        [[ $statistic == fastest ]] && what="fastest start (ms)"
        l=$($statistic "$scratch/$2-launcher.txt" "$column")
        b=$($statistic "$scratch/$2-bare.txt" "$column")
        f=$($statistic "$scratch/$2-furnished.txt" "$column")
        floor=""
        if [[ -f "$scratch/$2-floor.txt" ]]; then
            h=$($statistic "$scratch/$2-floor.txt" "$column")
            floor=$(printf ' %9s %6s' "$h" "$(ratio "$l" "$h")")
        fi
        printf '  %-6s %-26s %8s %8s %6s %9s %6s%s\n' "$([[ $row == median:1 ]] && echo "$1")" \
            "$what" "$l" "$b" "$(ratio "$l" "$b")" "$f" "$(ratio "$l" "$f")" "$floor"
    done
}

echo "Medians (and the fastest) of $runs alternate starts on the demo folder ($(nproc) cores, load $(cut -d' ' -f1 /proc/loadavg)):"
printf '  %-6s %-26s %8s %8s %6s %9s %6s' "" "" launcher bare ratio furnished ratio
[[ -n "${FLOOR_QT:-}${FLOOR_WIN32:-}" ]] && printf ' %9s %6s' "by hand" ratio
echo
measures qt && report "Qt" qt
measures win32 && report "Win32" win32
echo "  ($("$wine" --version); bare and furnished: bench/bare_window, bench/bare_win32_*.exe;" \
    "by hand: ${FLOOR_QT:-} ${FLOOR_WIN32:-})"
for front in qt:Qt win32:Win32; do
    measures "${front%%:*}" || continue
    echo "Resident beyond the bare window, ${front#*:}:"
    differences "$scratch/${front%%:*}-launcher.maps" "$scratch/${front%%:*}-bare.maps"
done
