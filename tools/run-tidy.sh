#!/usr/bin/env bash
# Runs clang-tidy with the checkout's .clang-tidy over the launcher's own
# sources that BUILD_DIR compiles (its compile_commands.json): the core, the
# front end that build makes, the folder check, tools/ and bench/. Any
# finding fails. The tests are left out: GoogleTest's and Qt Test's macros
# make most of the time and none of the findings worth having.
#   tools/run-tidy.sh BUILD_DIR [--target TRIPLE]
# With --target (the MinGW build: x86_64-w64-mingw32), clang parses the
# sources as that target sees them, with the cross compiler's C++ library,
# and only the sources no native build compiles (win32/ and the core's
# *_win32.cpp): the native run has the rest.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: run-tidy.sh BUILD_DIR [--target TRIPLE]}" && pwd)"
shift
[[ -f $build/compile_commands.json ]] || { echo "run-tidy: no compile_commands.json in $build" >&2; exit 1; }
extra=()
only='.'
if [[ ${1:-} == --target ]]; then
    extra=(--extra-arg="--target=${2:?--target needs a triple}")
    only='(^win32/|_win32\.cpp$)'
    # clang does not find a cross GCC's C++ library by itself: the
    # compiler of the build names its folders.
    compiler=$(python3 -c 'import json, shlex, sys
print(shlex.split(json.load(open(sys.argv[1]))[0]["command"])[0])' "$build/compile_commands.json")
    while read -r dir; do
        extra+=(--extra-arg="-isystem$dir")
    done < <("$compiler" -E -x c++ -v /dev/null 2>&1 | sed -n 's|^ \(/.*/c++.*\)$|\1|p')
fi

tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
# bench/ is left out with the tests: Google Benchmark's `for (auto _ : state)`
# loop reads to the analyzer as a dead store in every benchmark.
folders='app|base|catalogue|check|form|launch|prefs|profile|qt|win32|tools'
mapfile -t files < <(python3 - "$build/compile_commands.json" "$top" "$folders" "$only" <<'EOF'
import json, re, sys
commands, top, folders, only = sys.argv[1:]
ours = re.compile(re.escape(top) + r"/(" + folders + r")/[^/]+\.cpp$")
seen = set()
for entry in json.load(open(commands)):
    path = entry["file"]
    if ours.match(path) and re.search(only, path[len(top) + 1:]) and path not in seen:
        seen.add(path)
        print(path)
EOF
)
[[ ${#files[@]} -gt 0 ]] || { echo "run-tidy: no sources of ours in $build" >&2; exit 1; }

header_filter="^$top/($folders)/[^/]*\\.(h|inc)\$"
jobs=$(nproc)
echo "run-tidy: ${#files[@]} files, $jobs at a time" >&2
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
if [[ -n $runner ]]; then
    # Prints each file's findings together and fails when any file has one.
    # Its file arguments are patterns: each file's path, taken literally.
    patterns=()
    for f in "${files[@]}"; do
        patterns+=("^$(printf '%s' "$f" | sed 's/[][\.*^$+?(){}|]/\\&/g')\$")
    done
    # It colours its output and echoes each command: plain findings only.
    "$runner" -quiet -clang-tidy-binary "$tidy" -p "$build" -j "$jobs" \
        -header-filter "$header_filter" "${extra[@]/--extra-arg=/-extra-arg=}" "${patterns[@]}" \
        2> >(grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^$' >&2) |
        sed -e 's/\x1b\[[0-9;]*m//g' -e "\\|^$tidy |d"
else
    printf '%s\0' "${files[@]}" |
        xargs -0 -n 1 -P "$jobs" "$tidy" --quiet -p "$build" --header-filter="$header_filter" \
            "${extra[@]}" 2> >(grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^$' >&2)
fi
