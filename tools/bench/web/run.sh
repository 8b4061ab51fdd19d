#!/usr/bin/env bash
# Measures the web build beside the native one, in one run (docs/performance.md, "Web"):
# builds the native benchmarks (build-bench) and, by Debian's Emscripten, their pages with
# the city's own site (build-web-bench), then runs run_web_bench.js in a virtual X server,
# where the native programs' windows and Firefox's draw. Prints the tables.
# Usage: tools/bench/web/run.sh
set -eu
cd "$(dirname "$0")/../../.."
WEB=build-web-bench
NPM=$WEB/npm

cmake --preset bench >/dev/null
cmake --build --preset bench -j2
# emcc needs Debian's node modules when the node on the PATH comes from elsewhere.
NODE_PATH=/usr/share/nodejs cmake -S . -B "$WEB" -DCITY_BENCH=ON -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build "$WEB" -j2

# The browser driver, at the version that the page's tests pin; installed again when the
# pin changes (the stamp lies inside node_modules, which npm ci replaces whole).
if ! cmp -s tests/web/package-lock.json "$NPM/node_modules/.bench-lock.json"; then
    mkdir -p "$NPM"
    cp tests/web/package.json tests/web/package-lock.json "$NPM/"
    PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$NPM" --ignore-scripts --no-audit --no-fund \
        >/dev/null
    cp tests/web/package-lock.json "$NPM/node_modules/.bench-lock.json"
fi

NODE_PATH=$NPM/node_modules xvfb-run -a -s "-screen 0 1400x1500x24" \
    node tools/bench/web/run_web_bench.js "$WEB" build-bench
