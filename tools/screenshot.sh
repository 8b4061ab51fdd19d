#!/usr/bin/env bash
# Photographs the running city for the documentation.
# Usage: tools/screenshot.sh OUTPUT.png
# Runs build/city (or $CITY_BIN) in a copy of data/ on a virtual display of its own, lets a
# few generations pass, tilts the view a little towards the city and saves the window.
set -u
if [ $# -ne 1 ]; then
    echo "usage: $0 OUTPUT.png" >&2
    exit 2
fi
output=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
program=${CITY_BIN:-$root/build/city}
[ -x "$program" ] || {
    echo "$program not found: build it first or set CITY_BIN" >&2
    exit 1
}

source "$root/tests/e2e/lib.sh"
e2e_init "$program" "$root/data"
start_display
launch screenshot

# Tilted 0.2 rad down: the horizon near the top, the city filling the picture.
point_at 0 40
settle 6
shot "$WORK/city.ppm" && convert "$WORK/city.ppm" "$output" || die "could not photograph the window"
press Escape
wait_exit 10
echo "wrote $output"
