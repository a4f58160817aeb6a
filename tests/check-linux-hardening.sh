#!/usr/bin/env bash
# Holds Linux executables to the hardening the build gives them: a
# position-independent executable (PIE), the stack protector, fortified C
# library calls, and relocations made read-only at start (full RELRO: a
# GNU_RELRO segment and BIND_NOW).
#
# usage: check-linux-hardening.sh EXE...
set -euo pipefail
# C library functions that _FORTIFY_SOURCE replaces by a __*_chk variant
# where the compiler knows the size of the buffer.
fortifiable='memcpy|memmove|mempcpy|memset|stpcpy|strcpy|strcat|strncpy|strncat|sprintf|snprintf|vsprintf|vsnprintf|fprintf|printf|vfprintf|read|pread|pread64|fread|fgets|readlink|realpath|getcwd|wcscpy|wmemcpy|wmemset|mbstowcs|wcstombs|poll|ppoll'
status=0
for exe in "$@"; do
    name=$(basename "$exe")
    lacks() { echo "$name lacks $*" >&2; status=1; }
    header=$(readelf -hW "$exe")
    dynamic=$(readelf -dW "$exe")
    segments=$(readelf -lW "$exe")
    # The names the executable imports, without their versions.
    imports=$(readelf --dyn-syms -W "$exe" | awk '$7 == "UND" { sub(/@.*/, "", $8); print $8 }' | sort -u)
    grep -q 'Type: *DYN' <<<"$header" && grep -qE '\(FLAGS_1\).* PIE\b' <<<"$dynamic" ||
        lacks "PIE"
    grep -q ' GNU_RELRO ' <<<"$segments" || lacks "a GNU_RELRO segment"
    grep -qE '\(FLAGS\).* BIND_NOW\b' <<<"$dynamic" || lacks "BIND_NOW"
    grep -qx '__stack_chk_fail' <<<"$imports" || lacks "the stack protector (__stack_chk_fail)"
    # An executable calling none of these has nothing to fortify.
    if grep -qxE "(__)?($fortifiable)(_chk)?" <<<"$imports"; then
        grep -qxE "__($fortifiable)_chk" <<<"$imports" ||
            lacks "fortified calls: it imports $(grep -xE "$fortifiable" <<<"$imports" | xargs) but no __*_chk"
    fi
done
exit "$status"
