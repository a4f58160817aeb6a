#!/bin/sh
# Fails when a file, section or key name of the launcher's INI table
# (profile/program_files.h) is spelt again as a quoted literal in product
# code: each name has that one home. Comments may quote names. The argument,
# if given, is the source folder.
set -eu
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
table=profile/program_files.h

# Literals that spell a name of the table but mean something else: "path literal".
#   "voice" in form2_presenter.cpp and settings_check.cpp: the voice client,
#     as messages name it ("Cannot start the voice client").
#   "rwy" in form2_table.h: the Final Setup control of that name.
#   "MAIN", "WINE" in wine_host.cpp: read by their literals until it takes
#     keys::kWine.
allowed='launch/form2_presenter.cpp "voice"
check/settings_check.cpp "voice"
launch/form2_table.h "rwy"
launch/wine_host.cpp "MAIN"
launch/wine_host.cpp "WINE"'

# The table's literals, from its code alone.
literals=$(grep -v '^#include' "$table" | sed 's://.*$::' | grep -o '"[^"]*"' | sort -u)

failures=$(printf '%s\n' "$literals" | while IFS= read -r literal; do
    grep -rnF --include='*.h' --include='*.cpp' --include='*.inc' -- "$literal" \
        base profile form catalogue launch prefs app check qt win32 2>/dev/null |
        while IFS= read -r hit; do
            file=${hit%%:*}
            code=$(printf '%s\n' "${hit#*:*:}" | sed 's://.*$::')
            if [ "$file" = "$table" ] || ! printf '%s\n' "$code" | grep -qF -- "$literal" ||
                printf '%s\n' "$allowed" | grep -qxF "$file $literal"; then
                continue
            fi
            echo "$hit"
            echo "  $literal: name it through $table"
        done
done)
if [ -n "$failures" ]; then
    printf '%s\n' "$failures"
    exit 1
fi
echo "check-names: $(printf '%s\n' "$literals" | wc -l) names, each spelt once, in $table"
