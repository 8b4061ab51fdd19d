#!/usr/bin/env bash
# The page's end-to-end test: serves the built site on this machine with the isolation
# headers, without them, and as a copy whose fragment shader cannot compile, then drives
# headless Chromium and Firefox ESR (in a window on Xvfb) through test_site.js.
# Usage: test_site.sh SITE_FOLDER DATA_FOLDER
set -eu
[ $# -eq 2 ] && [ -f "$1/index.html" ] && [ -f "$2/fragment_shader.glsl" ] ||
    { echo "usage: $0 SITE_FOLDER DATA_FOLDER" >&2 && exit 2; }
HERE=$(cd "$(dirname "$0")" && pwd) SITE=$(realpath "$1") DATA=$(realpath "$2")
NPM=$(dirname "$SITE")/npm # the pinned puppeteer-core, beside the site it tests
WORK=$(mktemp -d) PIDS=() FAILED=0
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
wait_until() { # wait_until SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    until "${@:2}"; do ((SECONDS < deadline)) && sleep 0.2 || return 1; done
}

# Installed again only when the lock file changed: npm ci empties node_modules, stamp and all.
export PUPPETEER_SKIP_DOWNLOAD=1
if ! cmp -s "$HERE/package-lock.json" "$NPM/node_modules/.tested-lock.json"; then
    mkdir -p "$NPM" && cp "$HERE/package.json" "$HERE/package-lock.json" "$NPM/"
    (cd "$NPM" && npm ci --ignore-scripts --no-audit --no-fund) >"$WORK/npm.log" 2>&1 ||
        { cat "$WORK/npm.log" >&2 && echo "FAIL: npm ci in $NPM" >&2 && exit 1; }
    cp "$HERE/package-lock.json" "$NPM/node_modules/.tested-lock.json"
fi

# A copy of the site whose fragment shader starts with "#error" where "#version 120" was:
# the same length, so that the data file's index still holds.
cp -r "$SITE" "$WORK/broken"
node - "$WORK/broken/city.data" "$DATA/fragment_shader.glsl" <<'JS'
'use strict';
const fs = require('fs');
const [file, shader] = process.argv.slice(2);
const data = fs.readFileSync(file);
const at = data.indexOf(fs.readFileSync(shader)) + fs.readFileSync(shader).indexOf('#version 120');
if (at < 0 || data.toString('latin1', at, at + 12) !== '#version 120') {
  throw new Error(`no "#version 120" of ${shader} in ${file}`);
}
fs.writeFileSync(file, Buffer.concat([data.subarray(0, at), Buffer.from('#error      '),
  data.subarray(at + 12)]));
JS

serve() { # serve NAME FOLDER [--no-isolation]: sets URL to where it is served
    node "$HERE/../../tools/serve_site.js" "$2" 0 "${@:3}" >"$WORK/$1.log" 2>&1 &
    PIDS+=($!)
    wait_until 10 grep -qs '^Serving' "$WORK/$1.log" || { cat "$WORK/$1.log" >&2 && exit 1; }
    URL=$(grep -o 'http://[^ ]*' "$WORK/$1.log")
}
serve site "$SITE" && URLS=("$URL")
serve plain "$SITE" --no-isolation && URLS+=("$URL")
serve broken "$WORK/broken" && URLS+=("$URL")

# Xvfb needs -noreset, or it resets when its last client leaves.
Xvfb -displayfd 3 -screen 0 1400x1050x24 -nolisten tcp -noreset 3>"$WORK/display" \
    2>"$WORK/xvfb.log" &
PIDS+=($!)
wait_until 20 test -s "$WORK/display" || { cat "$WORK/xvfb.log" >&2 && exit 1; }

for browser in chromium firefox; do
    DISPLAY=":$(head -n 1 "$WORK/display")" NODE_PATH="$NPM/node_modules" \
        timeout -k 10 200 node "$HERE/test_site.js" "$browser" "${URLS[@]}" ||
        FAILED=$((FAILED + $?))
done
((FAILED == 0)) && echo "all checks passed" || { echo "FAIL: $FAILED check(s) failed" >&2 && exit 1; }
