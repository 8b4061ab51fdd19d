#!/usr/bin/env bash
# With no X display, unset or not answering, the program ends with a failure status after one
# line on standard error that names the command showing the city without a display.
source "$(dirname "$0")/lib.sh"
[ $# -eq 2 ] && [ -x "$1" ] || die "usage: $0 PROGRAM RUN_DIRECTORY"
CITY_BIN=$(realpath "$1") WORK=$(mktemp -d)
for display in -u\ DISPLAY DISPLAY=:7919; do
    (cd "$2" && exec env $display timeout 20 "$CITY_BIN" >"$WORK/out" 2>"$WORK/err")
    status=$?
    check "env $display: a failure status (got $status)" [ "$status" = 1 ]
    check "env $display: nothing on standard output" test ! -s "$WORK/out"
    check "env $display: one line on standard error" [ "$(wc -l <"$WORK/err")" = 1 ]
    check "env $display: that line names \"make demo\"" grep -q '"make demo"' "$WORK/err"
done
finish
