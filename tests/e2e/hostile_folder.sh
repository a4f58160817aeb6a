#!/usr/bin/env bash
# A program folder made to attack the launcher, as one downloaded from a
# website may be: the launcher must load no code from it, write nothing
# outside it, and open no picture that could hold it up.
#   - Qt plugins: an image plugin in imageformats/ beside the launcher, and a
#     platform plugin in a folder that a qt.conf beside the launcher names;
#     each leaves a marker file if it is ever loaded, and Qt, asked to list
#     where it looks for plugins, must never look in the folder.
#   - atis a symbolic link to a file outside the folder, later a dangling
#     one; windows/rvsb.ini (the demo's WINDIR) a link to a file outside.
#   - LOGO a FIFO, which blocks whoever opens it for reading; BACK a network
#     path.
# The window must show as it shows with no LOGO and no BACK. Launch and Go run
# as usual up to the ATIS file, which Go refuses to write through a link: it
# reports that and starts neither client. Files outside stay as they were.
# The second start has the demo's pictures back, with the plugins planted.
#
# The Windows launcher under Wine takes the pictures' part alone: it has no Qt
# plugins, and Wine shows it a Linux symbolic link as the file it names (no
# reparse point), where Windows would show a link.
#
# usage: hostile_folder.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
# The Qt launcher's run needs E2E_PLANTED_IMAGE_PLUGIN and
# E2E_PLANTED_PLATFORM_PLUGIN: the two builds of planted_plugin.cpp.
source "$(dirname "$0")/e2e_lib.sh"
linux=yes
[[ $windows == yes ]] && linux=no
if [[ $linux == yes ]]; then
    for plugin in "${E2E_PLANTED_IMAGE_PLUGIN:-}" "${E2E_PLANTED_PLATFORM_PLUGIN:-}"; do
        [[ -f "$plugin" ]] || fail "set E2E_PLANTED_IMAGE_PLUGIN and E2E_PLANTED_PLATFORM_PLUGIN"
    done
fi
prepare_program
outside="$work/outside"
rm -rf "$outside" "$work/outside-before" "$work"/*.png "$work/launcher.err"

# The launcher's messages of one run; Qt also lists every folder it looks in
# for plugins.
start_logged() {  # $1: what starts it
    if [[ $linux == yes ]]; then
        : >"$work/launcher.err"
        QT_DEBUG_PLUGINS=1 "${runner[@]}" "./$(basename "$launcher")" 2>>"$work/launcher.err" &
    else
        "${runner[@]}" "./$(basename "$launcher")" &
    fi
    pid=$!
    main=$(wait_window "$main_caption" "$1") ||
        fail "$1: no main window; plugin markers: $(planted_markers)"
}
planted_markers() { find "$program" -name '*.ran' | xargs; }
# The whole screen, once the window is drawn and the pointer away from it.
screen_shot() {  # $1: name
    xdotool mousemove 1020 760
    sleep 0.3
    shot "$1"
}
no_code_ran() {  # $1: after what
    [[ -z "$(planted_markers)" ]] || fail "$1: a planted plugin ran: $(planted_markers)"
    if grep "checking directory path \"$program" "$work/launcher.err" >&2; then
        fail "$1: Qt looked for plugins in the program folder"
    fi
}
outside_untouched() {  # $1: after what
    diff -r "$work/outside-before" "$outside" || fail "$1: files outside the folder changed"
    [[ "$(readlink windows/rvsb.ini)" == "$outside/rvsb.ini" ]] || fail "$1: the rvsb.ini link changed"
}
launch() {  # $1: what for
    local x y
    read -r x y < <(group_list_xy 1)
    click "$main" "$x" "$y"
    xdotool key Down  # the first Heathrow position
    settle_pick
    click_launch
    final=$(wait_window "$final_caption" "Launch $1")
}
# Go with atis a link: the report, and no client started. Final Setup stays
# open for another Go; the close box and Exit end the launcher.
go_refused() {  # $1: what the link is
    click "$final" $final_go_xy
    local report
    report=$(wait_window '^Radavue Launcher$' "Go with atis $1")
    screen_shot "go-atis-$1"
    grep -qiE "cannot (create|write) the ATIS file" "$work/launcher.err" ||
        fail "Go with atis $1 reported: $(grep 'radavue-launcher:' "$work/launcher.err" | tail -n 1)"
    expect_focus "$report" "the report of atis $1"
    press Return
    wait_window_gone '^Radavue Launcher$' "Return on the report of atis $1"
    sleep 1  # a client started would have logged its start by now
    [[ ! -e rogerwilco/roger.exe.log && ! -e radavue/rv.exe.log ]] ||
        fail "Go with atis $1 started a client"
    xdotool search --onlyvisible --name "$final_caption" >/dev/null 2>&1 ||
        fail "Final Setup closed after Go with atis $1"
    python3 "$e2e_dir/close_window.py" "$final"
    wait_window_gone "$final_caption" "the Final Setup close box"
    click_exit
    expect_ended "Exit after Go with atis $1"
}

# How the window looks with no pictures at all.
sed -i -e $'s/^LOGO=.*/LOGO=\r/' -e $'s/^BACK=.*/BACK=\r/' config.ini
start_launcher
screen_shot no-pictures
click_exit
expect_ended "Exit with no pictures"

# The hostile folder.
cp "$before/config.ini" config.ini
rm logo.png && mkfifo logo.png
sed -i $'s|^BACK=.*|BACK=//host/share/back.png\r|' config.ini
mkdir -p "$outside"
if [[ $linux == yes ]]; then
    mkdir -p imageformats planted/platforms
    cp "$E2E_PLANTED_IMAGE_PLUGIN" imageformats/
    cp "$E2E_PLANTED_PLATFORM_PLUGIN" planted/platforms/
    printf '[Paths]\nPlugins=planted\n' >qt.conf
    printf 'The user'"'"'s own file\n' >"$outside/atis"
    ln -s "$outside/atis" atis
    mv windows/rvsb.ini "$outside/rvsb.ini"
    ln -s "$outside/rvsb.ini" windows/rvsb.ini
fi
cp -a "$outside" "$work/outside-before"

# The FIFO would hold the window back for as long as nothing writes to it.
start_logged "the start in the hostile folder"
screen_shot hostile
for _ in $(seq 10); do
    cmp -s "$work/no-pictures.png" "$work/hostile.png" && break
    screen_shot hostile
done
cmp -s "$work/no-pictures.png" "$work/hostile.png" ||
    fail "the window differs from the one with no pictures (see $work/hostile.png)"
if [[ $linux == no ]]; then
    click_exit
    expect_ended "Exit in the hostile folder"
    echo "e2e hostile folder (pictures): ok"
    exit 0
fi
no_code_ran "the start"
outside_untouched "the start"

launch "with atis a link"
outside_untouched "Launch"
go_refused "a link"
outside_untouched "Go"
[[ "$(readlink atis)" == "$outside/atis" ]] || fail "the atis link was replaced"
no_code_ran "the start, Launch and Go"

# A dangling link must not make its target appear. The demo's own pictures
# are back: Qt reads them with the image plugin still planted.
rm atis logo.png
ln -s "$outside/dangling-atis" atis
cp "$before/logo.png" "$before/config.ini" .
start_logged "the start with atis a dangling link"
launch "with atis a dangling link"
go_refused "a dangling link"
[[ ! -e "$outside/dangling-atis" ]] || fail "Go created the dangling link's target"
[[ -L atis && "$(readlink atis)" == "$outside/dangling-atis" ]] || fail "the dangling link was replaced"
outside_untouched "Go with a dangling link"
no_code_ran "the second start, Launch and Go"
echo "e2e hostile folder: ok"
