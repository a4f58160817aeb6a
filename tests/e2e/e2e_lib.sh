# Shared by the end-to-end scenarios; sourced, never run on its own. A scenario
# is run under xvfb-run as: SCENARIO.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
# It drives the real launcher with key presses and clicks only; positions come
# from the twips layout (device-independent pixels = twips / 15).
#
# The same scenarios drive both front ends. Two settings from the environment
# choose the Windows one, run under Wine (empty, the defaults, for the Qt one):
#   E2E_RUNNER    the command that runs LAUNCHER (/usr/lib/wine/wine64), in
#                 the Wine prefix WINEPREFIX
#   E2E_STAND_IN  our Windows stand-in client, put in place of the demo's
#                 radar and voice clients (rv.exe, roger.exe); it records the
#                 command line exactly as a Windows program receives it
#   E2E_FOCUS_PROBE  a Windows program that prints the caption of the window
#                 holding the keyboard focus (see expect_focus)
#   E2E_WINE_SETTINGS  the screen DPI and Windows version of the prefix, as
#                 tests/win32/wine-settings.sh takes them ("--dpi 144")
set -euo pipefail
[[ $# -eq 3 ]] || { echo "usage: $0 LAUNCHER SCREENSHOT_TOOL WORK_DIR" >&2; exit 2; }
launcher="$1"
screenshot_tool="$2"
work="$3"
e2e_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$e2e_dir/../.." && pwd)"
read -r -a runner <<<"${E2E_RUNNER:-}"
stand_in="${E2E_STAND_IN:-}"
focus_probe="${E2E_FOCUS_PROBE:-}"
windows=no
[[ "$launcher" == *.exe ]] && windows=yes

pid=""
fail() {
    echo "FAIL: $*" >&2
    # A failed run must not leave the launcher holding the X server.
    [[ -n "$pid" ]] && kill "$pid" 2>/dev/null
    exit 1
}

if [[ ${#runner[@]} -gt 0 && "${runner[0]}" == */wine* ]]; then
    # Every Wine process of this run ends with it, and any left in the
    # prefix before it, so that no Wine desktop of another X server stays.
    wineserver="$(dirname "${runner[0]}")/wineserver"
    "$wineserver" -k 2>/dev/null || true
    trap '"$wineserver" -k 2>/dev/null || true' EXIT
    if [[ -n "${E2E_WINE_SETTINGS:-}" ]]; then
        read -r -a settings <<<"$E2E_WINE_SETTINGS"
        "$top/tests/win32/wine-settings.sh" "${settings[@]}" || fail "could not set up the prefix"
    fi
    # A new prefix is made on the first start, which takes seconds: before
    # the scenario, not inside its wait for the window.
    "${runner[@]}" wineboot --init >/dev/null 2>&1 || fail "wineboot could not make the prefix"
    "$wineserver" -w
fi

# The screen's dots per inch: the prefix's setting, else 96.
screen_dpi=96
[[ "${E2E_WINE_SETTINGS:-}" =~ --dpi\ ([0-9]+) ]] && screen_dpi=${BASH_REMATCH[1]}

# A path of the program folder as the launcher names it: a Windows program
# sees the Linux file system as drive Z:.
launcher_path() {  # $1: absolute path
    if [[ $windows == yes ]]; then
        printf 'Z:%s\n' "${1//\//\\}"
    else
        printf '%s\n' "$1"
    fi
}
# The frame a window's outer height includes, for a bare X server that draws
# none. The Qt launcher takes off the typical frame it expects a window
# manager to give (31 px above, 8 below); Wine takes off the frame of its own
# metrics at 96 DPI (a 19 px caption, a 3 px fixed border above and below).
bare_frame_px=39
[[ $windows == yes ]] && bare_frame_px=25
# The separator the launcher puts between a folder and a name in it.
sep=/
[[ $windows == yes ]] && sep='\'

# A fresh program folder, a pristine copy beside it, and the folder as the
# current one (the launcher hands it on to the clients it starts). Options go
# to prepare-demo.sh (--wine STAND_IN_EXE: Windows clients in a Wine prefix).
prepare_program() {
    program="$work/program"
    before="$work/before"
    mkdir -p "$work"
    "$top/tools/prepare-demo.sh" "$@" "$program" "$launcher"
    if [[ $windows == yes ]]; then
        # The folders in settings.ini as a Windows user's would be.
        local key
        for key in WINDIR RWDIR RDVDIR; do
            sed -i "s|^$key=\\(.*\\)\r\$|$key=Z:\\1\r|; /^$key=/ s|/|\\\\|g" "$program/settings.ini"
        done
    fi
    if [[ -n "$stand_in" ]]; then
        cp "$stand_in" "$program/radavue/rv.exe"
        cp "$stand_in" "$program/rogerwilco/roger.exe"
    fi
    rm -rf "$before" && cp -a "$program" "$before"
    cd "$program"
}

# For review only: a failed screenshot does not fail the scenario.
shot() { "$screenshot_tool" "$work/$1.png" || echo "note: no screenshot $1" >&2; }

# Prints the id of the visible window whose caption matches the regex $1.
wait_window() {  # $1: caption regex, $2: what should have shown it
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
        fail "$2: no window captioned /$1/"
    [[ -n "$id" ]] || fail "$2: no window captioned /$1/"
    # Mapped is not yet drawn and listening; give the toolkit a moment.
    sleep 0.5
    echo "$id"
}
wait_window_gone() {  # $1: caption regex, $2: what should have hidden it
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "$2: a window captioned /$1/ is still shown"
}
# Prints the top-level window that holds window $1: the window manager's
# frame around it, or $1 itself on a bare X server.
outer_window() {  # $1: window
    local id=$1 tree root parent
    while tree=$(xwininfo -children -id "$id") &&
        root=$(awk '/Root window id:/ { print $4; exit }' <<<"$tree") &&
        parent=$(awk '/Parent window id:/ { print $4; exit }' <<<"$tree") &&
        [[ "$parent" != "$root" ]]; do
        id=$parent
    done
    printf '%d\n' "$id"
}

# The caption gains a title and version, so only its fixed start is matched.
main_caption='^Radavue Launcher '
start_launcher() {
    "${runner[@]}" "./$(basename "$launcher")" &
    pid=$!
    main=$(wait_window "$main_caption" "the launcher's start")
}
expect_ended() {  # $1: what ended it
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "$1 did not end the program"
    fi
    local status=0
    wait "$pid" || status=$?
    pid=""
    [[ $status -eq 0 ]] || fail "$1: the program ended with status $status"
}

click() {  # $1: window, $2 $3: position in it
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}
# Replaces the text of the field under the pointer.
retype() {  # $1: window, $2 $3: position of the field, $4: new text
    click "$1" "$2" "$3"
    xdotool key ctrl+a
    xdotool type --delay 20 "$4"
    sleep 0.2
}
# The 100 ms poll shows a pick; several ticks on a loaded machine.
settle_pick() { sleep 1.2; }

# Main window (Form1): the buttons at y 1905..2280 twips.
click_user_preferences() { click "$main" 216 139; }
click_launch() { click "$main" 328 139; }
click_exit() { click "$main" 440 139; }
# Group n's list: its frame at 360 + 1800 * column, 3480 + 840 * row; the
# list at 225, 330 inside (360 for groups 4 and 11), 1305 by 315 twips.
group_list_xy() {  # $1: group; prints "x y" of the middle of the field
    local n=$1 column=$(( ($1 - 1) % 5 )) row=$(( ($1 - 1) / 5 )) top=330
    [[ $n -eq 4 || $n -eq 11 ]] && top=360
    echo "$(( (360 + 1800 * column + 225) / 15 + 40 )) $(( (3480 + 840 * row + top) / 15 + 10 ))"
}
# Opens group $1's list with a click on its arrow and clicks item $2 of the
# $3 items, wherever and however tall the toolkit draws the drop-down.
pick_with_mouse() {  # $1: group, $2: item (from 1), $3: items in the list
    local x y
    read -r x y < <(group_list_xy "$1")
    click "$main" $(( x + 38 )) "$y"  # the arrow at the right end of the field
    local popup
    popup=$(wait_dropdown "group $1's list")
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    xdotool mousemove $(( X + WIDTH / 2 )) $(( Y + (2 * $2 - 1) * HEIGHT / (2 * $3) )) click 1
    wait_unmapped "$popup" "a click on item $2 of group $1"
    settle_pick
}
# Prints the id of the open drop-down list.
wait_dropdown() {  # $1: what should have opened
    local popup="" id
    for _ in $(seq 50); do
        # The drop-down is the launcher's one shown window without a caption
        # of ours.
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            [[ "$(xdotool getwindowname "$id" 2>/dev/null)" =~ $main_caption|$prefs_caption|$final_caption ]] ||
                popup=$id
        done
        [[ -n "$popup" ]] && break
        sleep 0.1
    done
    [[ -n "$popup" ]] || fail "$1 did not open"
    sleep 0.3
    echo "$popup"
}
wait_unmapped() {  # $1: window, $2: what should have closed it
    for _ in $(seq 50); do
        xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    fail "$2 left the window open"
}

# The keyboard alone. With no window manager, a window has the input focus
# only when the program asks for it or when it is handed the focus the way a
# window manager hands it (focus_window); neither is a pointer action.
focus_window() {  # $1: window
    xdotool windowfocus --sync "$1"
    sleep 0.2
}
# Waits until window $1 holds the input focus, so keys typed now reach it.
expect_focus() {  # $1: window, $2: what should have given it the focus
    if [[ -n "$focus_probe" ]]; then
        # Wine hands the X input focus on only through a window manager, so
        # with none it stays where it was; the keys still reach the window
        # that Windows has made the active one, which is what is asked here.
        local caption
        caption=$(xdotool getwindowname "$1")
        for _ in $(seq 30); do
            [[ "$("${runner[@]}" "$focus_probe" 2>/dev/null | tr -d '\r')" == "$caption" ]] && return 0
            sleep 0.1
        done
        fail "$2: the window did not get the keyboard focus"
    fi
    for _ in $(seq 50); do
        [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]] && return 0
        sleep 0.1
    done
    fail "$2: the window did not get the keyboard focus"
}
# The keys that move an editable list just opened with nothing picked onto
# its first item. Qt's list opens on it; a Windows combo box opens with no
# item marked, and the first Down marks the first item.
keys_to_first_item=()
[[ $windows == yes ]] && keys_to_first_item=(Down)
# Keys in order, each handled before the next comes.
press() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}
# Types $1 into the field that has the focus.
type_text() {
    xdotool type --delay 20 "$1"
    sleep 0.2
}

# Preferences (Form4).
prefs_caption='^Preferences$'
prefs_name_xy="148 89"  # userName: 1200, 1200, 2055, 285
prefs_cancel_xy="213 266"  # Command2: 2775, 3750, 855, 495

# Final Setup (Form2): text boxes at 240, 240 inside frames at 240, 120 and
# 240, 960; Go at 2610, 2475, 1095, 495.
final_caption='^Final Setup$'
final_rwy_xy="200 33"
final_addinfo_xy="200 89"
final_go_xy="210 181"

# Waits until file $1 holds what stdin holds, for 10 s or $3 tenths of a
# second; then diffs, to show how not.
wait_for_content() {  # $1: file, $2: what it is, [$3: tenths of a second]
    local expected
    expected=$(mktemp)
    cat >"$expected"
    for _ in $(seq "${3:-100}"); do
        cmp -s "$expected" "$1" 2>/dev/null && { rm -f "$expected"; return 0; }
        sleep 0.1
    done
    diff "$expected" "$1" >&2 || true
    rm -f "$expected"
    fail "$2"
}

crlf() { printf '%s\r\n' "$@"; }

# Compares an INI file the launcher wrote with what it should hold. Windows'
# profile functions edit a file in place, so its bytes are the expected ones.
# Wine's functions rewrite the whole file on a change, leaving out its blank
# lines: the Wine run compares every line but the blank ones.
same_ini() {  # $1: expected file, $2: the file written
    if [[ $windows == yes ]]; then
        diff <(grep -v $'^\r\\?$' "$1") <(grep -v $'^\r\\?$' "$2")
    else
        diff "$1" "$2"
    fi
}

# Every start writes "ATIS FILENAME" into rvsb.ini before the window shows, and
# restores the last Final Setup answers; a start without it is a failure.
startup_writes_atis_filename() {
    grep -q '^ATIS FILENAME=' "$program/windows/rvsb.ini" ||
        fail "start-up did not write ATIS FILENAME into rvsb.ini"
}

# rvsb.ini as the demo has it with the launcher's keys filled in; the
# start-up key goes after the section's last key, the other section stays.
expected_rvsb() {  # $1 $2 $3: callsign, frequency, server
    crlf "[RV 2.0]" "CALLSIGN=$1" "COM 1 FREQ=$2" "SERVER IP=$3" "RANGE RINGS=5" \
        "ATIS FILENAME=$(launcher_path "$program")${sep}atis" "[DISPLAY]" "COLOUR SCHEME=night"
}

# What a stand-in client records for one start.
client_log_entry() {  # $1: executable, then its arguments
    if [[ -n "$stand_in" ]]; then
        # The Windows stand-in: the command line as the program receives it,
        # its path quoted; the radar client is shown maximised
        # (SW_SHOWMAXIMIZED, 3), the voice client normally (SW_SHOWNORMAL, 1).
        local show=1
        [[ "$(basename "$1")" == rv.exe ]] && show=3
        local line
        line="\"$(launcher_path "$1")\""
        [[ $# -gt 1 ]] && line+=" ${*:2}"
        printf '%s\n' "command: $line" "folder: $(launcher_path "$program")" "show: $show"
        return
    fi
    printf '%s\n' "started: $1" "folder: $program"
    shift
    local arg
    for arg in "$@"; do printf 'arg: %s\n' "$arg"; done
    printf '\n'
}
