#!/usr/bin/env bash
# The Windows launcher in program folders named in letters Windows-1252 lacks,
# "Łukasz" and "Ελένη", with Wine speaking Windows-1252 as an English Windows
# does: the window shows the demo's title, groups and pictures, a launch
# writes rvsb.ini in the Windows folder, the answers in settings.ini and the
# ATIS file in the program folder, and the radar client, reading rvsb.ini in
# the code page, opens the ATIS file by the name it finds there.
#
# usage: unicode_folders.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
# The program that lists a window's texts: $E2E_WINDOW_TEXTS.

# Wine takes its ANSI code page from the locale: a UTF-8 one whose language
# is English gives Windows-1252 and lets Wine spell any Linux file name.
export LC_ALL=C.UTF-8
source "$(dirname "$0")/e2e_lib.sh"
[[ $windows == yes && -n "$stand_in" && -f "${E2E_WINDOW_TEXTS:-}" ]] ||
    fail "the Windows launcher, the stand-in client and window_texts.exe are needed"

# The clients in folders of plain letters (settings.ini names them in the code
# page), and rvsb.ini in the prefix's Windows folder, where the radar
# stand-in looks for it.
clients="$work/clients"
windows_folder="$WINEPREFIX/drive_c/windows"

# A fresh copy of the demo at $work/$1, the current folder.
prepare_named_program() {  # $1: the folder's name
    program="$work/$1"
    before="$work/before"
    rm -rf "$clients" "$before"
    "$top/tools/prepare-demo.sh" "$program" "$launcher"
    mkdir -p "$clients"
    mv "$program/radavue" "$program/rogerwilco" "$clients/"
    cp "$stand_in" "$clients/radavue/rv.exe"
    cp "$stand_in" "$clients/rogerwilco/roger.exe"
    mv "$program/windows/rvsb.ini" "$windows_folder/rvsb.ini"
    rmdir "$program/windows"
    local radar voice
    radar=$(launcher_path "$clients/radavue")
    voice=$(launcher_path "$clients/rogerwilco")
    sed -i -e $'s|^WINDIR=.*|WINDIR=C:\\\\windows\r|' \
        -e "s|^RDVDIR=.*|RDVDIR=${radar//\\/\\\\}"$'\r|' \
        -e "s|^RWDIR=.*|RWDIR=${voice//\\/\\\\}"$'\r|' "$program/settings.ini"
    cp -a "$program" "$before"
    cd "$program"
}

# Whether the window shows picture $1 at $2 $3 in it, pixel for pixel.
shows_picture() {  # $1: PNG file, $2 $3: its place in the window
    local screen="$work/screen.png" X Y WIDTH HEIGHT SCREEN WINDOW
    "$screenshot_tool" "$screen" || return 1
    eval "$(xdotool getwindowgeometry --shell "$main")"
    python3 - "$e2e_dir" "$screen" "$1" $(( X + $2 )) $(( Y + $3 )) <<'EOF'
import sys
sys.path.insert(0, sys.argv[1])
from check_screenshot import pixels
_, _, screen = pixels(sys.argv[2])
width, height, picture = pixels(sys.argv[3])
left, top = int(sys.argv[4]), int(sys.argv[5])
same = sum(screen[top + y][left + x] == picture[y][x] for y in range(height) for x in range(width))
print(f"{sys.argv[3]}: {same} of {width * height} pixels on the screen")
sys.exit(0 if same == width * height else 1)
EOF
}

launch_in_folder() {  # $1: the folder's name
    prepare_named_program "$1"
    start_launcher
    [[ "$(xdotool getwindowname "$main")" == "Radavue Launcher Demo Edition Version "* ]] ||
        fail "$1: caption from config.ini: $(xdotool getwindowname "$main")"
    local texts
    texts=$("${runner[@]}" "$E2E_WINDOW_TEXTS" "Radavue Launcher " 2>/dev/null | tr -d '\r')
    for group in Heathrow Manchester Scotland; do
        grep -qx "$group" <<<"$texts" || fail "$1: no group '$group' in the window: $texts"
    done
    # The corner picture at the window's origin, the banner at LOGOLEFT (2040
    # twips) and 120 twips down.
    shows_picture "$program/back.png" 0 0 || fail "$1: the corner picture is not shown"
    shows_picture "$program/logo.png" 136 8 || fail "$1: the banner is not shown"
    shot "main-window-$1"

    # rvsb.ini is Windows-1252 text: the ATIS file is named by the short form
    # of the program folder, in plain letters.
    local atis_name
    atis_name=$(sed -n 's/^ATIS FILENAME=\(.*\)\r$/\1/p' "$windows_folder/rvsb.ini")
    local work_path short_part
    work_path="$(launcher_path "$work")\\"
    short_part=${atis_name#"$work_path"}
    [[ "$short_part" != "$atis_name" && "$short_part" =~ ^[A-Z0-9_~]{1,8}\\atis$ ]] ||
        fail "$1: ATIS FILENAME is '$atis_name'"

    # Group 1's first position with the keyboard, Launch, a new runway, Go.
    click "$main" 10 200
    xdotool key Tab Tab Tab Down
    settle_pick
    click_launch
    final=$(wait_window "$final_caption" "$1: Launch")
    crlf "[RV 2.0]" "CALLSIGN=EGLL_DEL" "COM 1 FREQ=118.325" "SERVER IP=radar1.example.net" \
        "RANGE RINGS=5" "ATIS FILENAME=$atis_name" "[DISPLAY]" "COLOUR SCHEME=night" |
        wait_for_content "$windows_folder/rvsb.ini" "$1: rvsb.ini after Launch"
    retype "$final" $final_rwy_xy "Runway 09L in use"
    click "$final" $final_go_xy
    expect_ended "$1: Go"

    client_log_entry "$clients/rogerwilco/roger.exe" /join1 voice1.example.net/EGLL_DEL \
        /callsign Heathrow Delivery | wait_for_content "$clients/rogerwilco/roger.exe.log" \
        "$1: the voice client's start"
    { client_log_entry "$clients/radavue/rv.exe"; printf '%s\n' "atis: $atis_name" "code page: 1252"; } |
        wait_for_content "$clients/radavue/rv.exe.log" "$1: the radar client's start"
    cmp atis "$clients/radavue/rv.exe.atis" || fail "$1: the radar client read other ATIS text"
    diff <(crlf "Voice on voice1.example.net/EGLL_DEL" "Runway 09L in use" "Online Until 2200z" \
                "Demo Controller  -  For More info www.example.net/atc") <(tail -n +2 atis) ||
        fail "$1: ATIS lines"
    sed -e $'s/^RWY=.*/RWY=Runway 09L in use\r/' "$before/settings.ini" >"$work/settings-expected.ini"
    same_ini "$work/settings-expected.ini" settings.ini || fail "$1: settings.ini after Go"
    cd "$work"
}

launch_in_folder "Łukasz"
launch_in_folder "Ελένη"
echo "e2e unicode folders: ok"
