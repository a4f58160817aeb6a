#!/usr/bin/env bash
# Fails when a C++ source or header of the checkout differs from what
# clang-format makes of it with the repository's .clang-format, and names
# each such file. `clang-format -i FILE` puts one right.
# profile/windows_1252_table.inc is left out: tools/windows-1252-table.cpp
# writes it, and its layout is that tool's.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"

format=$(command -v clang-format-14 || command -v clang-format)
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print)
fi

differing=()
for f in "${files[@]}"; do
    [[ -f $f ]] || continue  # removed in the work tree, not yet in the index
    "$format" --dry-run --Werror "$f" >/dev/null 2>&1 || differing+=("$f")
done
if [[ ${#differing[@]} -gt 0 ]]; then
    echo "check-format: ${#differing[@]} of ${#files[@]} files differ from clang-format's layout:" >&2
    printf '  %s\n' "${differing[@]}" >&2
    echo "check-format: run clang-format -i on them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files as clang-format lays them out"
