#!/usr/bin/env bash
# Builds the Windows ZIP of a cross build tree with CPack and checks what a
# controller on Windows gets: radavue-launcher.exe, the folder check
# radavue-launcher-check.exe, README.md and its pictures and nothing else (no
# DLL beside them, no test data, demo INI file, stand-in client or build path),
# programs that import system DLLs only, a check that finds the demo folder
# clean under Wine, and a launcher that, unzipped, starts under Wine on the
# demo folder and ends by Exit.
#
# usage: check_windows_package.sh CPACK CPACK_CONFIG SCRATCH SOURCE_DIR BUILD_DIR VERSION OBJDUMP
# The start runs under xvfb-run with $E2E_RUNNER (wine64) in $WINEPREFIX.
set -euo pipefail
[[ $# -eq 7 ]] ||
    { echo "usage: $0 CPACK CPACK_CONFIG SCRATCH SOURCE_DIR BUILD_DIR VERSION OBJDUMP" >&2; exit 2; }
cpack="$1"
config="$2"
scratch="$3"
source_dir="$4"
build_dir="$5"
version="$6"
objdump="$7"

source "$(dirname "$0")/package_lib.sh"
build_packages "$cpack" "$config" "$scratch"

shopt -s nullglob
packages=("$scratch"/out/*.*)
shopt -u nullglob
folder="radavue-launcher-$version-win64"
[[ ${#packages[@]} -eq 1 && "${packages[0]}" == "$scratch/out/$folder.zip" ]] || {
    echo "FAIL: expected $folder.zip alone, got: ${packages[*]}" >&2
    exit 1
}
zip="${packages[0]}"
echo "ZIP $(basename "$zip"): $(stat -c %s "$zip") bytes"

# The program folder and nothing else: one executable, no DLL beside it.
listing=$(python3 -c 'import sys, zipfile
for n in sorted(zipfile.ZipFile(sys.argv[1]).namelist()):
    print(n)' "$zip")
expected="$folder/README.md
$folder/docs/
$folder/docs/ci/
$folder/docs/ci/program-folder.yml
$folder/docs/final-setup.png
$folder/docs/form1.png
$folder/docs/preferences.png
$folder/docs/qt-long-names.png
$folder/docs/win32-browse-radar.png
$folder/docs/win32-browse-voice.png
$folder/docs/win32-final-setup.png
$folder/docs/win32-form1-144dpi.png
$folder/docs/win32-form1.png
$folder/docs/win32-long-names.png
$folder/docs/win32-preferences.png
$folder/radavue-launcher-check.exe
$folder/radavue-launcher.exe"
if [[ "$listing" != "$expected" ]]; then
    fail "the ZIP holds other files than expected:"
    diff <(echo "$expected") <(echo "$listing") >&2 || true
fi
# Kept apart from the exact list, so that a file added to both on purpose
# still cannot bring these along.
stray=$(grep -Ei '\.(ini|dll|log)$|(^|/)(rv|roger|stand_in_client|focus_probe)\.exe$|(^|/)(demo|tests?|CMakeFiles|_CPack_Packages|plugins)(/|$)|qt\.conf|_test\.exe$' <<<"$listing" || true)
[[ -z "$stray" ]] || fail "the ZIP holds DLLs, test data, demo files or build files: $stray"
# Every picture the README shows comes along, so it reads the same offline.
for picture in $(grep -oE '\]\(docs/[^)]+\)' "$source_dir/README.md" | sed -e 's/^](//' -e 's/)$//' | sort -u); do
    grep -qxF "$folder/$picture" <<<"$listing" || fail "the ZIP lacks $picture, which README.md shows"
done

mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
exe="$scratch/zip/$folder/radavue-launcher.exe"
[[ -f "$exe" ]] || { echo "FAIL: no launcher at $exe" >&2; exit 1; }
echo "radavue-launcher.exe: $(stat -c %s "$exe") bytes"
cmp -s "$scratch/zip/$folder/README.md" "$source_dir/README.md" || fail "README.md is not the source's"

# $1: the program, $2: its subsystem (2 a GUI program, 3 a console one). A
# 64-bit Windows program, stripped, importing nothing but Windows' own DLLs:
# the C++ runtime and the threads library are inside it.
check_program() {
    local name headers imports carried
    name=$(basename "$1")
    [[ -f "$1" ]] || { fail "no $name at $1"; return; }
    headers=$("$objdump" -p "$1")
    grep -q '^Magic[[:space:]]*020b' <<<"$headers" || fail "$name: not a PE32+ (64-bit) executable"
    grep -qE "^Subsystem[[:space:]]+0*$2[[:space:]]" <<<"$headers" ||
        fail "$name: not of subsystem $2: $(grep '^Subsystem' <<<"$headers")"
    if "$objdump" -h "$1" | grep -qE '[[:space:]]\.debug_'; then
        fail "$name still carries debug information"
    fi
    imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort)
    echo "$name imports: $(tr '\n' ' ' <<<"$imports")"
    [[ -n "$imports" ]] || fail "$name: no DLL imports found"
    for dll in $imports; do
        case "$dll" in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | ole32.dll | \
            oleaut32.dll | shell32.dll | shlwapi.dll | advapi32.dll | msvcrt.dll | \
            windowscodecs.dll | uxtheme.dll | version.dll) ;;
        *) fail "$name imports $dll, which is not part of Windows" ;;
        esac
    done
    # Read to the end: grep -q would stop strings early, and pipefail would
    # take that for no match.
    carried=$(strings -a "$1" | grep -F -e "$build_dir" -e "$source_dir/" || true)
    [[ -z "$carried" ]] || fail "$name carries paths of the build: $(head -n 3 <<<"$carried")"
}
check_program "$exe" 2
check_program "$scratch/zip/$folder/radavue-launcher-check.exe" 3

# The unzipped check finds the demo folder clean.
if ! report=$(cd "$source_dir" && "$E2E_RUNNER" "$scratch/zip/$folder/radavue-launcher-check.exe" demo); then
    fail "the unzipped check finds errors in the demo folder, or cannot run under Wine: $report"
elif [[ "$(tr -d '\r' <<<"$report")" != "0 errors, 0 warnings, 0 notes"* ]]; then
    fail "the unzipped check does not find the demo folder clean: $report"
fi

# The unzipped launcher starts on the demo folder and ends by Exit.
if ! xvfb-run -a -s "-screen 0 1024x768x24" "$source_dir/tests/package/packaged_launcher_starts.sh" \
    "$exe" "$source_dir/tests/e2e/screenshot.py" "$scratch/run"; then
    fail "the unzipped launcher did not start and end under Wine"
fi

if [[ $failures -gt 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the Windows package holds what it should"
