#!/usr/bin/env bash
# Holds Windows executables to the loader's protections: a relocatable image
# that Windows may place anywhere in the 64-bit space (DYNAMIC_BASE,
# HIGH_ENTROPY_VA) and whose data is never run (NX_COMPAT).
#
# usage: check-hardening.sh OBJDUMP EXE...
set -euo pipefail
objdump="$1"
shift
status=0
for exe in "$@"; do
    # "DllCharacteristics 00000160", then one line per flag set.
    flags=$("$objdump" -p "$exe" | awk '
        /^DllCharacteristics/ { inside = 1; next }
        inside && /^\t\t/ { print $1; next }
        { inside = 0 }')
    for wanted in DYNAMIC_BASE NX_COMPAT HIGH_ENTROPY_VA; do
        grep -qx "$wanted" <<<"$flags" || {
            echo "$(basename "$exe") lacks $wanted; it has: $(echo $flags)" >&2
            status=1
        }
    done
    # A relocatable image needs its relocations: without them Windows loads
    # it at its preferred address whatever DYNAMIC_BASE says.
    "$objdump" -h "$exe" | grep -q ' \.reloc ' || {
        echo "$(basename "$exe") has no .reloc section" >&2
        status=1
    }
done
exit "$status"
