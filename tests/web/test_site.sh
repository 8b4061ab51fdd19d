#!/usr/bin/env bash
# The page's end-to-end test: drives headless Chromium and Firefox ESR (in a window on Xvfb)
# through test_site.js, which serves copies of the built site on this machine.
# Usage: test_site.sh SITE_FOLDER
set -eu
# shellcheck source=tools/lib/window.sh
source "$(dirname "$0")/../../tools/lib/window.sh"
# shellcheck source=tools/lib/puppeteer.sh
source "$(dirname "$0")/../../tools/lib/puppeteer.sh"
[ $# -eq 1 ] && [ -f "$1/index.html" ] || die "usage: $0 SITE_FOLDER"
HERE=$(cd "$(dirname "$0")" && pwd) SITE=$(realpath "$1")
NPM=$(dirname "$SITE")/npm # the pinned puppeteer-core, beside the site it tests
WORK=$(mktemp -d) SCREEN=1400x1050x24 # room for Firefox's window around the page

install_puppeteer "$NPM" 2>"$WORK/npm.log" || die "npm ci in $NPM: $(cat "$WORK/npm.log")"

open_display 1900

for browser in chromium firefox; do
    NODE_PATH="$NPM/node_modules" TMPDIR=$WORK timeout -k 10 900 node "$HERE/test_site.js" \
        "$browser" "$SITE" || FAILED=$((FAILED + $?))
done
finish
