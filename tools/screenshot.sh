#!/usr/bin/env bash
# Photographs the running city for the documentation: build/city (or $CITY_BIN) in a copy of
# data/ on a display of its own, a few generations on, the view tilted towards the city.
set -u
[ $# -eq 1 ] || { echo "usage: $0 OUTPUT.png" >&2 && exit 2; }
output=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
e2e_init "${CITY_BIN:-$root/build/city}" "$root/data"
launch screenshot
point_at 0 40 && sleep 6 # 0.2 rad down: the horizon near the top, the city filling the rest
shot && convert "$WORK/now.ppm" "$output" || die "could not photograph the window"
press Escape && wait_exit 10
echo "wrote $output"
