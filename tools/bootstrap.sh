#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quiet and quick
# when everything is already there; uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libxcb1-dev  # bench/map_probe: start to the first mapped window
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-x86-64-posix wine64 wine  # wine: /usr/bin/wine, which starts Windows clients on Linux
    xvfb xauth xdotool x11-utils
    clang libclang-rt-14-dev clang-format clang-tidy  # clang-tidy: tools/run-tidy.sh
    python3 fonts-dejavu-core time
    python3-jsonschema  # tests/check: the SARIF report against its schema (npm, with nodejs, fetches it)
    dpkg-dev  # dpkg-shlibdeps, for the Depends of the DEB
    lintian desktop-file-utils appstream  # the DEB, its menu entries and metainfo checked
    file  # the DEB's icons checked
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
if [[ "$(id -u)" -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "bootstrap: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "bootstrap: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq >/dev/null
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
