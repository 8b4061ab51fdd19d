#!/usr/bin/env bash
# The page's end-to-end test: drives headless Chromium and Firefox ESR (in a window on Xvfb)
# through test_site.js, which serves copies of the built site on this machine.
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

open_display 900

for browser in chromium firefox; do
    NODE_PATH="$NPM/node_modules" TMPDIR=$WORK timeout -k 10 400 node "$HERE/test_site.js" \
        "$browser" "$SITE" "$DATA" || FAILED=$((FAILED + $?))
done
finish
