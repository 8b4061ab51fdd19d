#!/usr/bin/env bash
# Runs a command on a virtual display of the size the end-to-end tests use, so that GL tests
# and the program find an X server without one of their own.
#   tools/on_screen.sh COMMAND...
set -eu
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/lib/window.sh"
trap - EXIT INT TERM HUP # nothing of the window library's own is started here
exec xvfb-run -a -s "-screen 0 $SCREEN" "$@"
