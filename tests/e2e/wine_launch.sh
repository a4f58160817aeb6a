#!/usr/bin/env bash
# A whole launch on Linux with Windows clients: both are our MinGW stand-in
# client in a throw-away Wine prefix, and the folder was copied from a Windows
# machine (its user name, a group name and a voice callsign in Windows-1252).
# The launcher starts them through Wine; the radar stand-in opens rvsb.ini in
# its Windows folder, follows "ATIS FILENAME" from inside Wine and keeps the
# ATIS text it read, byte for byte.
#
# usage: wine_launch.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
# The stand-in client: $LAUNCHER_WINE_STAND_IN.
source "$(dirname "$0")/e2e_lib.sh"
[[ -f "${LAUNCHER_WINE_STAND_IN:-}" ]] || fail "no stand-in client at '${LAUNCHER_WINE_STAND_IN:-}'"
prepare_program --wine "$LAUNCHER_WINE_STAND_IN"
prefix="$program.wine"
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true' EXIT

# Text as a Windows machine wrote it: 0xFC is "ü" in Windows-1252.
export LC_ALL=C
sed -i -e $'s/^NAME=.*/NAME=J\xfcrgen M\xfcller\r/' settings.ini
sed -i -e $'s/^1=Heathrow\r$/1=Z\xfcrich\r/' -e $'s/^TITLE=.*/TITLE=Z\xfcrich\r/' config.ini
sed -i -e $'s/^EGLL_DEL=.*/EGLL_DEL=Z\xfcrich Delivery\r/' voice.ini
unset LC_ALL
cp -a settings.ini "$work/settings-before.ini"

start_launcher
[[ "$(xdotool getwindowname "$main")" == "Radavue Launcher Zürich Edition Version "* ]] ||
    fail "caption from a Windows-1252 config.ini: $(xdotool getwindowname "$main")"
shot windows-text

# Group 1's first position, with the keyboard (as in full_launch.sh).
click "$main" 10 200
xdotool key Tab Tab Tab Down
settle_pick
click_launch
final=$(wait_window "$final_caption" "Launch")
click "$final" $final_go_xy
expect_ended "Go"

# A Linux path as the clients see it through Wine's drive Z:.
on_z() { printf 'Z:%s' "${1//\//\\}"; }
# Wine needs a moment per start, a busy machine more: up to a minute.
voice="$prefix/drive_c/Program Files/Roger Wilco"
radar="$prefix/drive_c/Program Files/Radavue"
printf '%s\n' \
    'command: "C:\Program Files\Roger Wilco\roger.exe" /join1 voice1.example.net/EGLL_DEL /callsign Zürich Delivery' \
    "folder: $(on_z "$program")" "show: 1" |
    wait_for_content "$voice/roger.exe.log" "the voice client's start under Wine" 600
# Wine's start.exe leaves a blank after a path without arguments.
printf '%s\n' 'command: "C:\Program Files\Radavue\rv.exe" ' "folder: $(on_z "$program")" "show: 3" \
    "atis: $(on_z "$program")\\atis" "code page: 1252" |
    wait_for_content "$radar/rv.exe.log" "the radar client's start under Wine" 600

# What the radar client read is what Go wrote, in Windows-1252.
cmp atis "$radar/rv.exe.atis" || fail "the radar client read other ATIS text"
LC_ALL=C grep -qE $'^Z\xfcrich Delivery Information Alpha [1-9][0-9]?[0-2][0-9][0-5][0-9]\r$' \
    <(head -n 1 atis) || fail "ATIS header: $(head -n 1 atis | od -c | head -n 2)"
diff <(printf '%s\r\n' "Voice on voice1.example.net/EGLL_DEL" "Runway 27L in use" \
           "Online Until 2200z" $'J\xfcrgen M\xfcller  -  For More info www.example.net/atc') \
    <(tail -n +2 atis) || fail "ATIS lines"

# rvsb.ini names the ATIS file as the client sees it; the user's Windows text
# in settings.ini is left as it was, and no replacement character appears.
grep -qxF "ATIS FILENAME=$(on_z "$program")\\atis"$'\r' "$prefix/drive_c/windows/rvsb.ini" ||
    fail "ATIS FILENAME in rvsb.ini: $(grep 'ATIS FILENAME' "$prefix/drive_c/windows/rvsb.ini")"
grep -qxF "CALLSIGN=EGLL_DEL"$'\r' "$prefix/drive_c/windows/rvsb.ini" || fail "CALLSIGN in rvsb.ini"
LC_ALL=C sed -e $'s/^RWY=.*/RWY=Runway 27L in use\r/' -e $'s/^ADDITIONAL=.*/ADDITIONAL=2200z\r/' \
    -e $'s/^autoatis=.*/autoatis=1\r/' "$work/settings-before.ini" | diff - settings.ini ||
    fail "settings.ini after Go"
! LC_ALL=C grep -rl $'\xef\xbf\xbd' "$program" --include='*.ini' --include=atis ||
    fail "a replacement character was written"
echo "e2e launch with Windows clients under Wine: ok"
