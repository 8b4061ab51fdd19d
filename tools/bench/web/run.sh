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

# shellcheck source=tools/lib/puppeteer.sh
source tools/lib/puppeteer.sh
install_puppeteer "$NPM" 2>/dev/null

NODE_PATH=$NPM/node_modules xvfb-run -a -s "-screen 0 1400x1500x24" \
    node tools/bench/web/run_web_bench.js "$WEB" build-bench
