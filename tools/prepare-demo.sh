#!/usr/bin/env bash
# Makes a fresh program folder from demo/ at DEST with the launcher copied in,
# and points the preferences' Windows, radar and voice folders at DEST's own
# subfolders, so the run touches nothing outside DEST.
#
# usage: prepare-demo.sh DEST LAUNCHER_EXECUTABLE
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 DEST LAUNCHER_EXECUTABLE" >&2; exit 2; }
here="$(cd "$(dirname "$0")/.." && pwd)"
dest="$1"
launcher="$2"

rm -rf "$dest"
mkdir -p "$(dirname "$dest")"
cp -a "$here/demo" "$dest"
dest="$(cd "$dest" && pwd)"
cp "$launcher" "$dest/"

# settings.ini has CRLF line ends; keep them.
sed -i -e "s|^WINDIR=.*|WINDIR=$dest/windows\r|" \
       -e "s|^RWDIR=.*|RWDIR=$dest/rogerwilco\r|" \
       -e "s|^RDVDIR=.*|RDVDIR=$dest/radavue\r|" "$dest/settings.ini"
