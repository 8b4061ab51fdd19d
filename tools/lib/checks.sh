# shellcheck shell=bash
# A test script's checks: each is recorded and the script goes on; finish sums them up.
FAILED=0
check() { # check DESCRIPTION COMMAND...: records the outcome and goes on
    if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" >&2 && ((FAILED += 1)) && return 1; fi
}
die() { echo "FAIL: $*" >&2 && exit 1; }
finish() { ((FAILED == 0)) && echo "all checks passed" || die "$FAILED check(s) failed"; }
