#!/usr/bin/env bash
# Holds what Windows executables import to a list of DLL!function names: the
# functions Windows 7 SP1 has. An import not on the list fails the check, so
# that a function of a later Windows is reached through GetProcAddress, or is
# added to the list on purpose once Windows 7 SP1 is known to have it.
#
# usage: check-imports.sh OBJDUMP ALLOWED_LIST EXE...
set -euo pipefail
objdump="$1" allowed="$2"
shift 2
status=0
for exe in "$@"; do
    # "DLL Name: KERNEL32.dll", then one line per function: address, hint, name.
    imports=$("$objdump" -p "$exe" | awk '
        /DLL Name:/ { dll = tolower($3); next }
        dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll "!" $3 }' |
        sort -u)
    [[ -n "$imports" ]] || { echo "$exe: no imports read" >&2; status=1; continue; }
    unknown=$(comm -23 <(echo "$imports") <(grep -v '^#' "$allowed" | sort -u))
    if [[ -n "$unknown" ]]; then
        echo "$(basename "$exe") imports what $(basename "$allowed") does not list:" >&2
        echo "$unknown" >&2
        status=1
    fi
done
exit "$status"
