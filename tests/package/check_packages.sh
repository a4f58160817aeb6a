#!/usr/bin/env bash
# Builds the ZIP and the DEB of a build tree with CPack and checks what a
# controller gets: in the ZIP, the launcher, the folder check, README.md and its
# pictures in the program folder and nothing else (no test data, demo INI file,
# stand-in client or build path); in the DEB, the system's layout under /usr
# with the menu entry, icons, man pages and metainfo, passing lintian,
# desktop-file-validate and appstreamcli, built twice to the same bytes;
# programs that find their libraries on this machine and point into no build
# tree, a check that finds the demo folder clean, and a DEB that names its real
# library dependencies.
# Then the DEB is used as the README says: installed with apt-get, its launcher
# started on a program folder by name, by a menu entry and as a copy in the
# folder, and the package removed again, leaving nothing of its own (this
# needs root, or a sudo that asks for no password).
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
# One time for every file of the packages, as a distribution's build sets it.
SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || echo 1781049600)
export SOURCE_DATE_EPOCH
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
    elif [[ "$report" != "0 errors, 0 warnings, 0 notes"* ]]; then
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
$folder/radavue-launcher
$folder/radavue-launcher-check"
mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
check_program ZIP "$scratch/zip/$folder/radavue-launcher"
check_program ZIP "$scratch/zip/$folder/radavue-launcher-check"
check_demo_clean ZIP "$scratch/zip/$folder/radavue-launcher-check"

# The DEB: the system's layout under /usr, owned by root.
deb_list=$(dpkg-deb -c "$deb" | awk '{print $6}' | sort)
doc=./usr/share/doc/radavue-launcher
icons=./usr/share/icons/hicolor
deb_files="./usr/bin/radavue-launcher
./usr/bin/radavue-launcher-check
./usr/share/applications/radavue-launcher.desktop
$doc/README.md
$doc/changelog.gz
$doc/copyright
$doc/docs/ci/program-folder.yml
$doc/docs/final-setup.png
$doc/docs/form1.png
$doc/docs/preferences.png
$doc/docs/qt-long-names.png
$doc/docs/win32-browse-radar.png
$doc/docs/win32-browse-voice.png
$doc/docs/win32-final-setup.png
$doc/docs/win32-form1-144dpi.png
$doc/docs/win32-form1.png
$doc/docs/win32-long-names.png
$doc/docs/win32-preferences.png
$icons/16x16/apps/radavue-launcher.png
$icons/256x256/apps/radavue-launcher.png
$icons/32x32/apps/radavue-launcher.png
$icons/48x48/apps/radavue-launcher.png
./usr/share/man/man1/radavue-launcher-check.1.gz
./usr/share/man/man1/radavue-launcher.1.gz
./usr/share/metainfo/example.radavue_launcher.launcher.metainfo.xml"
check_listing DEB "$(grep -v '/$' <<<"$deb_list")" "$deb_files"
not_root=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[[ -z "$not_root" ]] || fail "DEB: files not owned by root: $not_root"
dpkg-deb -x "$deb" "$scratch/deb"
for program in radavue-launcher radavue-launcher-check; do
    check_program DEB "$scratch/deb/usr/bin/$program"
    cmp -s "$scratch/zip/$folder/$program" "$scratch/deb/usr/bin/$program" ||
        fail "the ZIP and the DEB hold different $program programs"
done
for size in 16 32 48 256; do
    file -b "$scratch/deb/$icons/${size}x$size/apps/radavue-launcher.png" |
        grep -q "PNG image data, $size x $size," || fail "DEB: the ${size}x$size icon is no such PNG"
done
"$scratch/deb/usr/bin/radavue-launcher" --version | grep -qx "radavue-launcher $version" ||
    fail "DEB: radavue-launcher --version does not print $version"

# What Debian's own tools say of the package and its menu entry and metainfo.
lintian_report=$(lintian --fail-on error,warning "$deb" 2>&1) ||
    fail "lintian finds errors or warnings in the DEB: $lintian_report"
[[ -z "$lintian_report" ]] || echo "lintian: $lintian_report"
desktop-file-validate "$scratch/deb/usr/share/applications/radavue-launcher.desktop" ||
    fail "DEB: the desktop entry does not validate"
appstreamcli validate --no-net "$scratch/deb/usr/share/metainfo/"*.metainfo.xml >"$scratch/appstream.log" 2>&1 ||
    { cat "$scratch/appstream.log" >&2; fail "DEB: the metainfo does not validate"; }

# Built again from the same build, the packages are the same bytes.
build_packages "$cpack" "$config" "$scratch/again"
for package in "$zip" "$deb"; do
    cmp "$package" "$scratch/again/out/$(basename "$package")" ||
        fail "a second build of $(basename "$package") differs from the first"
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
installed=/usr/bin/radavue-launcher
if ! (cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive \
    "${sudo[@]}" apt-get install -y -qq "./$(basename "$deb")" >"$scratch/apt.log" 2>&1); then
    cat "$scratch/apt.log" >&2
    fail "apt-get could not install the DEB"
elif ! xvfb-run -a -s "-screen 0 1024x768x24" "$source_dir/tests/package/packaged_launcher_starts.sh" \
    "$installed" "$screenshot_tool" "$scratch/installed"; then
    fail "the launcher copied out of the installed DEB did not start and end"
elif ! xvfb-run -a -s "-screen 0 1024x768x24" "$source_dir/tests/package/installed_launcher_starts.sh" \
    "$installed" "$screenshot_tool" "$scratch/by-name"; then
    fail "the installed launcher did not open a folder by name or by its menu entry"
fi
remove_deb
left=$(dpkg-query -W -f='${Status}' radavue-launcher 2>/dev/null || true)
[[ -z "$left" || "$left" == *not-installed ]] || fail "removing the DEB left it as: $left"
for path in $deb_files ./usr/share/doc/radavue-launcher; do
    [[ ! -e "${path#.}" ]] || fail "removing the DEB left ${path#.}"
done

if [[ $failures -gt 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "packages hold what they should, and the DEB installs, starts and goes"
