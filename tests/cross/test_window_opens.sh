#!/usr/bin/env bash
# The cross-built program under its emulator, where a frame takes tens of seconds: the titled
# window opens and shows the sky, and Escape ends it with status 0.
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
e2e_init "$1" "$2" && EMULATOR=("${@:3}") # PROGRAM RUN_DIRECTORY EMULATOR...
run_dir window && start_city 400 && wait_until 120 mapped || die "no window \"$TITLE\"$(report)"
check "its first frame shows sky above the horizon" wait_until 180 sky_on_top
point_at 0 0 && quit 180
finish
