#!/usr/bin/env node
// Measures the web build beside the native one, in one run, and prints the tables of
// docs/performance.md's Web section:
//   - the frame and its floor (frame_bench and floor_frame, on the same fixed cities) natively,
//     through run_bench.py --frames-json, then as pages in Chromium and in Firefox;
//   - in Chromium, the same at 1000 buildings on a phone-sized canvas, against 1280 by 720;
//   - navigation start to the first drawn frame of the city's own page;
//   - the site's files, plain and compressed.
// Usage (in an X server at least 1280 by 1460 pixels; run.sh starts one):
//   run_web_bench.js WEB_BUILD_DIR NATIVE_BUILD_DIR
// Needs puppeteer-core on NODE_PATH. Benchmarks, not tests: nothing here asserts a time.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');
const { launchOptions, serveSite } = require('../../lib/browsers');

const ROOT = path.resolve(__dirname, '..', '..', '..');
const SIZES = [1000, 10000];
// Each round opens the frame's page and the floor's, in turn, first one then the other.
const ROUNDS = 4;
// The first frames compile shaders and fill caches; they are drawn, not counted.
const WARM_UP_FRAMES = 10;
const COUNTED_FRAMES = { 1000: 60, 10000: 30 };
const FIRST_FRAME_LOADS = 5;
const VIEWPORT = { width: 1320, height: 900 };
// A phone's screen, as Chromium emulates it: the benchmark's canvas fills it, and its buffer
// has a pixel per device pixel, as the city's page has (1170 by 2532).
const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const PHONE_LIVE = 1000;
const PAGE_TIMEOUT_MS = 300000;

const BROWSERS = ['Chromium', 'Firefox'];

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function quartiles(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const half = Math.floor(sorted.length / 2);
  return [median(sorted.slice(0, half)), median(sorted.slice(sorted.length - half))];
}

function native(nativeBuild) {
  const output = execFileSync('python3', [path.join(__dirname, '..', 'run_bench.py'), nativeBuild,
    '--frames-json', ...SIZES.map(String)], { encoding: 'utf8', maxBuffer: 1 << 24 });
  const report = JSON.parse(output);
  const rows = {};
  for (const live of SIZES) {
    const pairs = report.samples[live];
    const ratios = pairs.map(([ours, , floor]) => ours / floor);
    rows[live] = {
      frame: median(pairs.map(([ours]) => ours)),
      floor: median(pairs.map(([, , floor]) => floor)),
      ratio: median(ratios),
      spread: quartiles(ratios),
      cpu: median(pairs.map(([, ourCpu]) => ourCpu)),
      count: `${pairs.length} pairs`,
    };
  }
  return { renderer: report.renderer, rows };
}

// The report lines of one program's page, once it has drawn enough frames.
async function pageFrames(browser, url, wanted, viewport) {
  const page = await browser.newPage();
  try {
    await page.setViewport(viewport);
    await page.goto(url);
    await page.waitForFunction((n) => document.body.dataset.state === 'failed' ||
      window.benchLines.filter((line) => line.startsWith('interval_ms ')).length >= n,
    { timeout: PAGE_TIMEOUT_MS, polling: 500 }, wanted);
    const lines = await page.evaluate(() => window.benchLines);
    if (await page.evaluate(() => document.body.dataset.state) === 'failed') {
      throw new Error(`${url} failed:\n${lines.join('\n')}`);
    }
    const values = (name) => lines.filter((line) => line.startsWith(name + ' '))
      .map((line) => Number(line.split(' ')[1])).slice(WARM_UP_FRAMES, wanted);
    return { intervals: values('interval_ms'), draws: values('draw_ms'), page };
  } catch (error) {
    await page.close();
    throw error;
  }
}

async function rendererOf(page) {
  return page.evaluate(() => {
    const gl = document.createElement('canvas').getContext('webgl2');
    const info = gl.getExtension('WEBGL_debug_renderer_info');
    return `${gl.getParameter(gl.VERSION)}, ${
      gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER)}`;
  });
}

async function webFrames(browser, benchUrl, sizes = SIZES, viewport = VIEWPORT) {
  const rows = {};
  let renderer = '';
  for (const live of sizes) {
    const wanted = WARM_UP_FRAMES + COUNTED_FRAMES[live];
    const all = { frame_bench: [], floor_frame: [], draws: [] };
    const ratios = [];
    for (let round = 0; round < ROUNDS; round += 1) {
      const order = round % 2 === 0 ? ['frame_bench', 'floor_frame'] : ['floor_frame', 'frame_bench'];
      const medians = {};
      for (const program of order) {
        const run = await pageFrames(browser, `${benchUrl}?program=${program}&live=${live}` +
          (viewport === VIEWPORT ? '' : '&canvas=window'), wanted, viewport);
        renderer = renderer || await rendererOf(run.page);
        await run.page.close();
        all[program].push(...run.intervals);
        if (program === 'frame_bench') {
          all.draws.push(...run.draws);
        }
        medians[program] = median(run.intervals);
      }
      ratios.push(medians.frame_bench / medians.floor_frame);
    }
    rows[live] = {
      frame: median(all.frame_bench),
      floor: median(all.floor_frame),
      ratio: median(ratios),
      spread: [Math.min(...ratios), Math.max(...ratios)],
      rounds: ratios,
      mainThread: median(all.draws),
      count: `${ROUNDS} × ${COUNTED_FRAMES[live]} each`,
    };
  }
  return { renderer, rows };
}

// Navigation start to the first frame: page.js sets data-state to running in the first
// animation frame after the program reached GLUT's loop. Each load in a new browser
// context, so that nothing is cached.
async function firstFrames(browser, siteUrl) {
  const times = [];
  for (let load = 0; load < FIRST_FRAME_LOADS; load += 1) {
    const context = await browser.createBrowserContext();
    try {
      const page = await context.newPage();
      await page.setViewport(VIEWPORT);
      await page.evaluateOnNewDocument(() => {
        new MutationObserver((changes, observer) => {
          const state = document.body && document.body.dataset.state;
          if (state && state !== 'loading') {
            window.benchFirstFrame = { state, ms: performance.now() };
            observer.disconnect();
          }
        }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-state'] });
      });
      await page.goto(siteUrl);
      await page.waitForFunction(() => window.benchFirstFrame, { timeout: PAGE_TIMEOUT_MS });
      const first = await page.evaluate(() => window.benchFirstFrame);
      if (first.state !== 'running') {
        throw new Error(`the city's page ended ${first.state}`);
      }
      times.push(first.ms);
    } finally {
      await context.close();
    }
  }
  return { median: median(times), low: Math.min(...times), high: Math.max(...times) };
}

function siteSizes(folder) {
  return fs.readdirSync(folder).sort().map((name) => {
    const data = fs.readFileSync(path.join(folder, name));
    const brotli = zlib.brotliCompressSync(data, {
      params: {
        [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
        [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length,
      },
    });
    return {
      name,
      plain: data.length,
      gzip: execFileSync('gzip', ['-9', '-n', '-c'], { input: data }).length,
      brotli: brotli.length,
    };
  });
}

const spaced = (number) => number.toLocaleString('en').replace(/,/g, ' ');
const ms = (value) => `${value.toFixed(1)} ms`;
const range = ([low, high]) => `${low.toFixed(3)} to ${high.toFixed(3)}`;

function printFrames(nativeResult, web) {
  console.log('| Where | Buildings | Frame | Floor | Frame against floor | Frame against native ' +
    '| Frames counted | Frame\'s main thread |');
  console.log('|---|--:|--:|--:|--:|--:|--:|--:|');
  for (const live of SIZES) {
    const nativeRow = nativeResult.rows[live];
    console.log(`| Native, ${nativeResult.renderer} | ${spaced(live)} | ${ms(nativeRow.frame)} | ` +
      `${ms(nativeRow.floor)} | × ${nativeRow.ratio.toFixed(3)} (middle half ` +
      `${range(nativeRow.spread)}) | × 1 | ${nativeRow.count} | ${ms(nativeRow.cpu)} CPU, ` +
      'all threads |');
    for (const result of web) {
      const row = result.rows && result.rows[live];
      if (!row) {
        console.log(`| ${result.name} | ${spaced(live)} | failed: ${result.error} |||||| `);
        continue;
      }
      console.log(`| ${result.name} ${result.version}, ${result.renderer} | ${spaced(live)} | ` +
        `${ms(row.frame)} | ${ms(row.floor)} | × ${row.ratio.toFixed(3)} (rounds ` +
        `${range(row.spread)}) | × ${(row.frame / nativeRow.frame).toFixed(2)} | ${row.count} | ` +
        `${ms(row.mainThread)} in the draw |`);
    }
  }
}

// What a phone's device pixels cost: the same frame and floor on both canvases.
function printPhone(chromium) {
  if (!chromium) {
    return;
  }
  console.log(`\n| Chromium ${chromium.version}, ${PHONE_LIVE} buildings | Canvas (CSS px) | ` +
    'Buffer (device px) | Frame | Floor | Frame against floor |');
  console.log('|---|--:|--:|--:|--:|--:|');
  for (const [where, canvas, buffer, row] of [
    ['Desktop', '1280 × 720', '1280 × 720', chromium.rows[PHONE_LIVE]],
    ['Phone', `${PHONE.width} × ${PHONE.height}`, `${PHONE.width * PHONE.deviceScaleFactor} × ` +
      `${PHONE.height * PHONE.deviceScaleFactor}`, chromium.phone.rows[PHONE_LIVE]]]) {
    console.log(`| ${where} | ${canvas} | ${buffer} | ${ms(row.frame)} | ${ms(row.floor)} | ` +
      `× ${row.ratio.toFixed(3)} (rounds ${range(row.spread)}) |`);
  }
}

function printSizes(sizes) {
  const kB = (bytes) => (bytes / 1024).toFixed(1);
  console.log('| File | Plain (kB) | gzip -9 (kB) | brotli, quality 11 (kB) |');
  console.log('|---|--:|--:|--:|');
  for (const file of sizes) {
    console.log(`| ${file.name} | ${kB(file.plain)} | ${kB(file.gzip)} | ${kB(file.brotli)} |`);
  }
  const total = (key) => kB(sizes.reduce((sum, file) => sum + file[key], 0));
  console.log(`| all | ${total('plain')} | ${total('gzip')} | ${total('brotli')} |`);
}

async function main() {
  if (process.argv.length !== 4) {
    console.error('usage: run_web_bench.js WEB_BUILD_DIR NATIVE_BUILD_DIR');
    process.exit(2);
  }
  const [webBuild, nativeBuild] = process.argv.slice(2).map((dir) => path.resolve(dir));
  const loadBefore = os.loadavg()[0];
  const started = new Date();

  const nativeResult = native(nativeBuild);
  const benchSite = await serveSite(path.join(webBuild, 'bench-site'));
  const citySite = await serveSite(path.join(webBuild, 'site'));
  const web = [];
  try {
    for (const name of BROWSERS) {
      const result = { name };
      web.push(result);
      let browser;
      try {
        browser = await puppeteer.launch(launchOptions(name.toLowerCase()));
        result.version = (await browser.version()).replace(/^[^/]*\//, '');
        Object.assign(result, await webFrames(browser, benchSite.url));
        if (name === 'Chromium') {
          result.phone = await webFrames(browser, benchSite.url, [PHONE_LIVE], PHONE);
        }
        result.firstFrame = await firstFrames(browser, citySite.url);
      } catch (error) {
        result.error = error.message.split('\n')[0];
        console.error(`${name}: ${error.stack}`);
      } finally {
        if (browser) {
          await browser.close();
        }
      }
    }
  } finally {
    benchSite.server.kill();
    citySite.server.kill();
  }
  const loadAfter = os.loadavg()[0];

  console.log(`${started.toISOString().slice(0, 10)}; ${os.cpus()[0].model}, ` +
    `${os.cpus().length} cores; load average (1 min) ${loadBefore.toFixed(2)} before, ` +
    `${loadAfter.toFixed(2)} after. Canvas and windows 1280 by 720.\n`);
  printFrames(nativeResult, web);
  printPhone(web.find((result) => result.phone));
  console.log('\n| Browser | Navigation start to first frame, median of ' +
    `${FIRST_FRAME_LOADS} loads | Fastest to slowest |`);
  console.log('|---|--:|--:|');
  for (const result of web.filter((entry) => entry.firstFrame)) {
    const first = result.firstFrame;
    console.log(`| ${result.name} ${result.version} | ${(first.median / 1000).toFixed(2)} s | ` +
      `${(first.low / 1000).toFixed(2)} to ${(first.high / 1000).toFixed(2)} s |`);
  }
  console.log('');
  printSizes(siteSizes(path.join(webBuild, 'site')));
  fs.writeFileSync(path.join(webBuild, 'web-bench.json'),
    JSON.stringify({ started, loadBefore, loadAfter, native: nativeResult, web }, null, 1));
}

main().catch((error) => {
  console.error(error.stack);
  process.exit(1);
});
