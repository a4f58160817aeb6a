#!/usr/bin/env bash
# The installed launcher (LAUNCHER, /usr/bin/radavue-launcher) on a program
# folder it does not live in: named on its command line from another current
# folder, it reads and writes that folder only; then the folder's menu entry,
# whose Exec is run as a desktop runs it, starts it there too, and removing
# the entry takes the file away. Run under xvfb-run.
#
# usage: installed_launcher_starts.sh LAUNCHER SCREENSHOT_TOOL WORK_DIR
source "$(dirname "$0")/../e2e/e2e_lib.sh"
program="$work/demo-copy"
"$top/tools/prepare-demo.sh" "$program" "$launcher"
rm "$program/$(basename "$launcher")"
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"

# $1: what started it; waits for its main window, checks what it wrote, exits.
open_and_exit() {
    main=$(wait_window "$main_caption" "$1")
    startup_writes_atis_filename
    grep -qxF "ATIS FILENAME=$program/atis"$'\r' "$program/windows/rvsb.ini" ||
        fail "$1: ATIS FILENAME does not name the folder's atis"
    click_exit
    expect_ended "Exit after $1"
}

"$launcher" ../demo-copy &
pid=$!
open_and_exit "the installed launcher on ../demo-copy"
[[ -z "$(ls -A "$work/elsewhere")" ]] || fail "the launcher wrote into the current folder"

export XDG_DATA_HOME="$work/data"
"$launcher" --add-to-menu "$program" >/dev/null || fail "--add-to-menu failed"
shopt -s nullglob
entries=("$XDG_DATA_HOME"/applications/*.desktop)
[[ ${#entries[@]} -eq 1 ]] || fail "--add-to-menu wrote ${#entries[@]} entries"
desktop-file-validate "${entries[0]}" || fail "the menu entry does not validate"
grep -qx 'Name=Demo' "${entries[0]}" || fail "the menu entry is not named after TITLE"
grep -qxF "Icon=$program/logo.png" "${entries[0]}" || fail "the menu entry does not show LOGO"

# Exec as a desktop reads it: the string escapes, then the quoting, then the
# field codes ("%%" a percent sign).
read_exec() {
    python3 - "$1" <<'EOF'
import sys
value = next(l[5:] for l in open(sys.argv[1], encoding="utf-8").read().split("\n")
             if l.startswith("Exec="))
unescaped, i = "", 0
while i < len(value):
    if value[i] == "\\" and i + 1 < len(value):
        unescaped += {"s": " ", "n": "\n", "t": "\t", "r": "\r"}.get(value[i + 1], value[i + 1])
        i += 2
    else:
        unescaped += value[i]
        i += 1
words, word, quoted, i = [], None, False, 0
while i < len(unescaped):
    c = unescaped[i]
    if quoted and c == "\\" and unescaped[i + 1] in '"`$\\':
        word, i = word + unescaped[i + 1], i + 2
        continue
    if c == '"':
        quoted, word = not quoted, word or ""
    elif c == " " and not quoted:
        if word is not None:
            words.append(word)
        word = None
    else:
        word = (word or "") + c
    i += 1
if word is not None:
    words.append(word)
for w in words:
    sys.stdout.write(w.replace("%%", "%") + "\0")
EOF
}
mapfile -d '' command < <(read_exec "${entries[0]}")
[[ ${#command[@]} -eq 2 && "${command[1]}" == "$program" ]] ||
    fail "the menu entry's Exec does not name the folder: ${command[*]}"
"${command[@]}" &
pid=$!
open_and_exit "the menu entry's Exec"

"$launcher" --remove-from-menu "$program" >/dev/null || fail "--remove-from-menu failed"
[[ ! -e "${entries[0]}" ]] || fail "--remove-from-menu left the entry"
echo "the installed launcher opens a folder by name and by its menu entry: ok"
