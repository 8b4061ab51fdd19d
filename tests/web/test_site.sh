#!/usr/bin/env bash
# The page's end-to-end test: serves the built site on this machine with the isolation
# headers, without them, and as a copy whose fragment shader cannot compile, then drives
# headless Chromium and Firefox ESR (in a window on Xvfb) through test_site.js.
# Usage: test_site.sh SITE_FOLDER DATA_FOLDER
set -eu
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
[ $# -eq 2 ] && [ -f "$1/index.html" ] && [ -f "$2/fragment_shader.glsl" ] ||
    die "usage: $0 SITE_FOLDER DATA_FOLDER"
HERE=$(cd "$(dirname "$0")" && pwd) SITE=$(realpath "$1") DATA=$(realpath "$2")
NPM=$(dirname "$SITE")/npm # the pinned puppeteer-core, beside the site it tests
WORK=$(mktemp -d) SCREEN=1400x1050x24 # room for Firefox's window around the page

# Installed again only when the lock file changed: npm ci empties node_modules, stamp and all.
export PUPPETEER_SKIP_DOWNLOAD=1
if ! cmp -s "$HERE/package-lock.json" "$NPM/node_modules/.tested-lock.json"; then
    mkdir -p "$NPM" && cp "$HERE/package.json" "$HERE/package-lock.json" "$NPM/"
    (cd "$NPM" && npm ci --ignore-scripts --no-audit --no-fund) >"$WORK/npm.log" 2>&1 ||
        die "npm ci in $NPM: $(cat "$WORK/npm.log")"
    cp "$HERE/package-lock.json" "$NPM/node_modules/.tested-lock.json"
fi

# A copy of the site whose fragment shader starts with "#error" where "#version 120" was:
# the same length, so that the data file's index still holds. Its second line finds it.
cp -r "$SITE" "$WORK/broken"
[ "$(head -n 1 "$DATA/fragment_shader.glsl")" = "#version 120" ] || die "no #version 120 line"
at=$(grep -obaF -- "$(sed -n 2p "$DATA/fragment_shader.glsl")" "$SITE/city.data" | cut -d: -f1)
[ -n "$at" ] || die "the fragment shader is not in $SITE/city.data"
printf '#error      ' | dd of="$WORK/broken/city.data" bs=1 seek=$((at - 13)) conv=notrunc status=none
stamp() { # stamp FOLDER: its service worker made anew for its files, as the build makes it
    cmake -DSITE="$1" -DTEMPLATE="$HERE/../../app/web/service-worker.js" \
        -P "$HERE/../../cmake/web/StampSite.cmake"
}
stamp "$WORK/broken"

serve() { # serve NAME FOLDER [--no-isolation]: sets URL to where it is served
    node "$HERE/../../tools/serve_site.js" "$2" 0 "${@:3}" >"$WORK/$1.log" 2>&1 &
    PIDS+=($!)
    wait_until 10 grep -qs '^Serving' "$WORK/$1.log" || die "$(cat "$WORK/$1.log")"
    URL=$(grep -o 'http://[^ ]*' "$WORK/$1.log")
}
serve site "$SITE" && URLS=("$URL")
serve plain "$SITE" --no-isolation && URLS+=("$URL")
serve broken "$WORK/broken" && URLS+=("$URL")
open_display 550

for browser in chromium firefox; do
    NODE_PATH="$NPM/node_modules" timeout -k 10 200 node "$HERE/test_site.js" "$browser" \
        "${URLS[@]}" || FAILED=$((FAILED + $?))
done
finish
