#!/usr/bin/env bash
# Builds the ZIP and the DEB of a build tree with CPack and checks what a
# controller gets: the launcher, the folder check, README.md and its pictures in
# the program folder and nothing else (no test data, demo INI file, stand-in
# client or build path), programs that find their libraries on this machine and
# point into no build tree, a check that finds the demo folder clean, and a DEB
# that names its real library dependencies.
# Then the DEB is used as the README says: installed with apt-get, its launcher
# copied into a program folder and started there, and the package removed
# again (this needs root, or a sudo that asks for no password).
#
# usage: check_packages.sh CPACK CPACK_CONFIG SCRATCH SOURCE_DIR BUILD_DIR VERSION SCREENSHOT_TOOL
set -euo pipefail
[[ $# -eq 7 ]] || {
    echo "usage: $0 CPACK CPACK_CONFIG SCRATCH SOURCE_DIR BUILD_DIR VERSION SCREENSHOT_TOOL" >&2
    exit 2
}
cpack="$1"
config="$2"
scratch="$3"
source_dir="$4"
build_dir="$5"
version="$6"
screenshot_tool="$7"

source "$(dirname "$0")/package_lib.sh"
build_packages "$cpack" "$config" "$scratch"

shopt -s nullglob
zips=("$scratch"/out/*.zip)
debs=("$scratch"/out/*.deb)
shopt -u nullglob
[[ ${#zips[@]} -eq 1 && ${#debs[@]} -eq 1 ]] || {
    echo "FAIL: expected one ZIP and one DEB, got: ${zips[*]} ${debs[*]}" >&2
    exit 1
}
zip="${zips[0]}"
deb="${debs[0]}"
echo "ZIP $(basename "$zip"): $(stat -c %s "$zip") bytes"
echo "DEB $(basename "$deb"): $(stat -c %s "$deb") bytes"

# $1: what is listed, $2: the listing, one path a line; $3: the expected one.
check_listing() {
    if [[ "$2" != "$3" ]]; then
        fail "$1 holds other files than expected:"
        diff <(echo "$3") <(echo "$2") >&2 || true
    fi
    # Kept apart from the exact list, so that a file added to both on purpose
    # still cannot bring these along.
    local stray
    stray=$(grep -Ei '\.ini$|(^|/)(rv|roger)\.exe$|\.log$|(^|/)(demo|tests?|testdata|CMakeFiles|_CPack_Packages)(/|$)|install_manifest|CMakeCache|(^|/)tst_|_test$' <<<"$2" || true)
    [[ -z "$stray" ]] || fail "$1 holds test data, demo files or build files: $stray"
    case "$2" in
    *"$build_dir"* | *"$source_dir/"*) fail "$1 names a path of the build: $2" ;;
    esac
}

# $1: what it is, $2: the program as packaged (the launcher or the check).
check_program() {
    local name
    name=$(basename "$2")
    [[ -f "$2" ]] || { fail "$1: no $name at $2"; return; }
    [[ -x "$2" ]] || fail "$1: $name is not executable"
    readelf -h "$2" >/dev/null 2>&1 || fail "$1: $name is not an ELF file"
    local paths
    paths=$(readelf -d "$2" | grep -E '\((RPATH|RUNPATH)\)' || true)
    case "$paths" in
    *"$build_dir"* | *"$source_dir"*) fail "$1: $name searches the build tree: $paths" ;;
    esac
    local missing
    missing=$(ldd "$2" | grep 'not found' || true)
    [[ -z "$missing" ]] || fail "$1: libraries $name does not find: $missing"
    # Read to the end: grep -q would stop strings early, and pipefail would
    # take that for no match.
    local carried
    carried=$(strings -a "$2" | grep -F -e "$build_dir" -e "$source_dir/" || true)
    [[ -z "$carried" ]] || fail "$1: $name carries paths of the build: $(head -n 3 <<<"$carried")"
}

# $1: what it is, $2: the check as packaged; the demo folder checks clean.
check_demo_clean() {
    local report
    if ! report=$(cd "$source_dir" && "$2" demo); then
        fail "$1: the check finds errors in the demo folder, or cannot run: $report"
    elif [[ "$report" != "0 errors, 0 warnings, 0 notes" ]]; then
        fail "$1: the check does not find the demo folder clean: $report"
    fi
}

# The ZIP: one folder named after the package, the program folder itself.
folder="radavue-launcher-$version-Linux"
zip_list=$(python3 -c 'import sys, zipfile
for n in sorted(zipfile.ZipFile(sys.argv[1]).namelist()):
    print(n)' "$zip")
check_listing ZIP "$zip_list" "$folder/README.md
$folder/docs/
$folder/docs/final-setup.png
$folder/docs/form1.png
$folder/docs/preferences.png
$folder/docs/win32-browse-radar.png
$folder/docs/win32-browse-voice.png
$folder/docs/win32-final-setup.png
$folder/docs/win32-form1-144dpi.png
$folder/docs/win32-form1.png
$folder/docs/win32-preferences.png
$folder/radavue-launcher
$folder/radavue-launcher-check"
mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
check_program ZIP "$scratch/zip/$folder/radavue-launcher"
check_program ZIP "$scratch/zip/$folder/radavue-launcher-check"
check_demo_clean ZIP "$scratch/zip/$folder/radavue-launcher-check"

# The DEB: the same folder under /opt, owned by root.
deb_list=$(dpkg-deb -c "$deb" | awk '{print $6}' | sort)
check_listing DEB "$deb_list" "./opt/
./opt/radavue-launcher/
./opt/radavue-launcher/README.md
./opt/radavue-launcher/docs/
./opt/radavue-launcher/docs/final-setup.png
./opt/radavue-launcher/docs/form1.png
./opt/radavue-launcher/docs/preferences.png
./opt/radavue-launcher/docs/win32-browse-radar.png
./opt/radavue-launcher/docs/win32-browse-voice.png
./opt/radavue-launcher/docs/win32-final-setup.png
./opt/radavue-launcher/docs/win32-form1-144dpi.png
./opt/radavue-launcher/docs/win32-form1.png
./opt/radavue-launcher/docs/win32-preferences.png
./opt/radavue-launcher/radavue-launcher
./opt/radavue-launcher/radavue-launcher-check"
not_root=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[[ -z "$not_root" ]] || fail "DEB: files not owned by root: $not_root"
dpkg-deb -x "$deb" "$scratch/deb"
for program in radavue-launcher radavue-launcher-check; do
    check_program DEB "$scratch/deb/opt/radavue-launcher/$program"
    cmp -s "$scratch/zip/$folder/$program" "$scratch/deb/opt/radavue-launcher/$program" ||
        fail "the ZIP and the DEB hold different $program programs"
done

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == radavue-launcher ]] || fail "DEB: Package is '$(field Package)'"
[[ "$(field Version)" == "$version" ]] || fail "DEB: Version is '$(field Version)', not $version"
depends=$(field Depends)
echo "Depends: $depends"
for needed in libc6 libqt6widgets6; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "DEB: Depends does not name $needed: $depends"
done
for name in Maintainer Section Description; do
    [[ -n "$(field "$name")" ]] || fail "DEB: no $name"
done

# The DEB as a controller installs it. The package is removed on the way out,
# whatever happened, so no run leaves it installed.
sudo=()
if [[ "$(id -u)" -ne 0 ]]; then
    sudo -n true 2>/dev/null ||
        { fail "installing the DEB needs root or a sudo that asks for no password"; exit 1; }
    sudo=(sudo -n)
fi
remove_deb() { "${sudo[@]}" apt-get remove -y -qq radavue-launcher >/dev/null 2>&1 || true; }
trap remove_deb EXIT
installed=/opt/radavue-launcher/radavue-launcher
if ! (cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive \
    "${sudo[@]}" apt-get install -y -qq "./$(basename "$deb")" >"$scratch/apt.log" 2>&1); then
    cat "$scratch/apt.log" >&2
    fail "apt-get could not install the DEB"
elif ! xvfb-run -a -s "-screen 0 1024x768x24" "$source_dir/tests/package/packaged_launcher_starts.sh" \
    "$installed" "$screenshot_tool" "$scratch/installed"; then
    fail "the launcher copied out of the installed DEB did not start and end"
fi
remove_deb
[[ ! -e "$installed" ]] || fail "removing the DEB left $installed"

if [[ $failures -gt 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "packages hold what they should, and the DEB installs, starts and goes"
