# Shared by the package checks; sourced, never run on its own.

# A check that fails is counted; the script goes on and reports all of them.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Builds the packages of CPack config $2 with CPack $1 into $3/out, in a fresh
# scratch folder $3; stops the check when CPack fails.
build_packages() {  # $1: cpack, $2: config, $3: scratch
    rm -rf "$3"
    mkdir -p "$3"
    if ! "$1" --config "$2" -B "$3/out" >"$3/cpack.log" 2>&1; then
        cat "$3/cpack.log" >&2
        echo "FAIL: cpack could not build the packages" >&2
        exit 1
    fi
}
