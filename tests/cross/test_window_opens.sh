#!/usr/bin/env bash
# The cross-built program under its emulator, drawn by Mesa's software renderer for its own
# architecture: the titled window opens, its first frame shows the sky above the horizon,
# and Escape ends it with status 0, printing nothing. Emulated, a frame takes tens of
# seconds, so nothing more is judged.
#   test_window_opens.sh PROGRAM RUN_DIRECTORY EMULATOR...
source "$(dirname "$0")/../e2e/lib.sh"
e2e_init "$1" "$2" && EMULATOR=("${@:3}")
run_dir window && start_city 400
wait_until 120 mapped || die "no window \"$TITLE\"$(report)"
check "its first frame shows sky above the horizon" wait_until 180 sky_on_top
point_at 0 0 && press Escape
wait_exit 180
check "Escape ends the program with status 0 (got ${STATUS:-no end})" [ "$STATUS" = 0 ]
check "it prints nothing on standard error" test ! -s "$RUN/stderr"
finish
