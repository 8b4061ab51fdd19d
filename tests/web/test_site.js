// Drives one browser through the built site as a user meets it and judges the canvas by its
// pixels. Usage: test_site.js chromium|firefox SITE_FOLDER DATA_FOLDER
// Each check is on a copy of the site served on a port of its own, so no service worker or
// kept file of one reaches another. Prints "NAME: ok: ..." or "NAME: FAIL: ..." per check;
// the exit status counts the failures.
'use strict';
const { execFileSync, spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [name, siteFolder, dataFolder] = process.argv.slice(2);
const TOP = path.join(__dirname, '..', '..');
// The window is sized at launch: Firefox ESR 140's driver cannot set a viewport.
const SWIFTSHADER = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
  '--window-size=1320,900'];
const BROWSERS = { // how to launch each browser, with WebGL and without
  chromium: (webgl) => ({ browser: 'chrome', executablePath: '/usr/bin/chromium',
    headless: true, defaultViewport: null, args: webgl ? SWIFTSHADER
      : SWIFTSHADER.concat('--disable-webgl', '--disable-3d-apis') }),
  // Firefox's headless mode has no WebGL here: it runs in a window, on the caller's display.
  firefox: (webgl, [width, height] = [1320, 900]) => ({ browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr', headless: false, defaultViewport: null,
    args: [`--width=${width}`, `--height=${height}`],
    extraPrefsFirefox: webgl ? {} : { 'webgl.disabled': true } }),
};
const SKY = (r, g, b) => r >= 190 && r <= 225 && g >= 228 && b >= 240;
const DARK = (r, g, b) => r + g + b < 60; // the blank canvas, before the first frame
const UPPER = [0, 300]; // rows of the 1280x720 canvas: sky over the city
const LOWER = [480, 720]; // ground and buildings, near the viewer
// The camera starts at (20, 20, 20) looking along -z through a 30° lens, and turns 1/200
// radian per pixel the pointer moves: looking down by `pitch`, it sees the ground's far edge,
// 600 units out, this share of the view's height down from its top, whatever its shape.
const edgeAt = (pitch) => 0.5 - 0.5 * Math.tan(pitch - Math.atan(20 / 620)) /
  Math.tan(Math.PI / 12);
const RADIANS_PER_PIXEL = 1 / 200;
let label = name;
let failures = 0;

function check(what, ok, detail = '') {
  console.log(`${label}: ${ok ? 'ok' : 'FAIL'}: ${what}${detail === '' ? '' : ` (${detail})`}`);
  failures += ok ? 0 : 1;
}

// A copy of the site, changed by change(folder), served as served: the URL.
const servers = [];
const stamp = (folder) => execFileSync('cmake', [`-DSITE=${folder}`,
  `-DTEMPLATE=${path.join(TOP, 'app/web/service-worker.js')}`, '-P',
  path.join(TOP, 'cmake/web/StampSite.cmake')]);
async function serve(change = () => {}, ...options) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'site-'));
  fs.cpSync(siteFolder, folder, { recursive: true });
  change(folder);
  const server = spawn('node', [path.join(TOP, 'tools/serve_site.js'), folder, '0',
    ...options], { stdio: ['ignore', 'pipe', 'inherit'] });
  servers.push(server);
  const line = await new Promise((resolve) => server.stdout.once('data', resolve));
  return Object.assign(/http:\S+/.exec(String(line))[0], { folder, server });
}

// A capture's pixels as 8-bit RGB, read by ImageMagick as the desktop's tests read windows;
// in device pixels, the size the PNG's header gives.
const decode = (png) => ({ width: png.readUInt32BE(16), height: png.readUInt32BE(20),
  pix: execFileSync('convert', ['png:-', '-depth', '8', 'rgb:-'], { input: png,
    maxBuffer: 1 << 26 }) });

// The share of the pixels of a colour class in the rows [top, bottom) and columns
// [left, right) of a capture.
function share(img, [top, bottom], colour = SKY, [left, right] = [0, img.width]) {
  let hits = 0;
  for (let row = top; row < bottom; row++) {
    for (let i = (row * img.width + left) * 3; i < (row * img.width + right) * 3; i += 3) {
      hits += colour(img.pix[i], img.pix[i + 1], img.pix[i + 2]) ? 1 : 0;
    }
  }
  return hits / ((bottom - top) * (right - left));
}
const part = (size, from, to) => [Math.round(from * size), Math.round(to * size)];

// The first row that is mostly not sky: where the city meets the sky.
function horizon(img) {
  let row = 0;
  while (row < img.height && share(img, [row, row + 1]) > 0.5) row++;
  return row;
}

// The mean absolute difference of the channels of two captures in the rows [top, bottom) and
// columns [left, right), the second's rows taken that many rows lower.
function difference(one, two, [top, bottom], lower = 0, [left, right] = [0, one.width]) {
  let sum = 0;
  for (let row = top; row < bottom; row++) {
    const [from, to] = [left, right].map((column) => (row * one.width + column) * 3);
    for (let i = from; i < to; i++) {
      sum += Math.abs(one.pix[i] - two.pix[i + lower * one.width * 3]);
    }
  }
  return sum / ((bottom - top) * (right - left) * 3);
}

// How many rows lower the ground lies in the second capture: the ground slides as the viewer
// moves, while buildings that come and go do not slide it.
function slide(one, two, rows, columns = [0, one.width]) {
  let best = 0;
  const most = Math.round(one.height / 7);
  const off = (lower) => difference(one, two, rows, lower, columns);
  for (let lower = -most; lower <= most; lower += 2) {
    best = off(lower) < off(best) ? lower : best;
  }
  return best;
}

const pause = (seconds) => new Promise((resolve) => setTimeout(resolve, seconds * 1000));

// Polls probe() until it returns something that passes, or time runs out: its last value.
async function until(seconds, probe, passes = Boolean) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await probe();
    if (passes(value) || Date.now() > deadline) {
      return value;
    }
    await pause(0.2);
  }
}

const stateOf = (page) => page.evaluate(() => document.body.dataset.state);
const canvasBox = (page) => page.$eval('#canvas', (c) => {
  const { x, y, width, height } = c.getBoundingClientRect();
  return { x, y, width, height };
});

// Waits for the page's start to end one way or the other, through the service worker's
// reloads, if any, when there may be no state or no page to ask; notes how long it took.
async function settle(page) {
  const start = Date.now();
  page.state = await until(60, () => stateOf(page).catch(() => 'loading'),
    (state) => ['running', 'failed'].includes(state));
  page.seconds = (Date.now() - start) / 1000;
  page.status = await page.$eval('#status', (status) => status.textContent);
  page.box = await canvasBox(page);
  return page;
}

async function open(browser, url, viewport = null) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  if (viewport) {
    await page.setViewport(viewport);
  }
  await page.goto(url);
  return settle(page);
}

const capture = async (page) => decode(Buffer.from(await page.screenshot({ clip: page.box })));

// Lets the page draw a few frames, so that what input would change has been drawn.
const frames = (page) => page.evaluate(() => new Promise((resolve) => {
  let left = 4;
  (function next() { return --left ? requestAnimationFrame(next) : resolve(); }());
}));

async function cityRun(browser, url) {
  const page = await open(browser, url);
  check('the city starts', page.state === 'running', page.status);
  const canvas = await page.$eval('#canvas', (c) => [c.width, c.height, c.clientWidth,
    c.clientHeight].join('x'));
  check('title and 1280x720 canvas', await page.title() === 'Varnock | Hollenby' &&
    canvas === '1280x720x1280x720', `${await page.title()}, ${canvas}`);
  if (name === 'chromium') { // its own check, as its install prompt makes it
    const cdp = await page.target().createCDPSession();
    const { installabilityErrors: errors } = await cdp.send('Page.getInstallabilityErrors');
    check('installable as an app', errors.length === 0, JSON.stringify(errors));
  }
  const first = await until(30, () => capture(page), (img) => share(img, UPPER) > 0.9);
  check('sky above, ground and buildings below', share(first, UPPER) > 0.9 &&
    share(first, LOWER) < 0.05 && share(first, LOWER, DARK) < 0.5,
    [UPPER, LOWER].map((rows) => share(first, rows).toFixed(3)).join(' then '));
  const grown = difference(first, await until(20, () => capture(page),
    (img) => difference(first, img, LOWER) > 1), LOWER);
  check('without input the city changes', grown > 1, `difference ${grown.toFixed(2)}`);

  // In, out to the page's margin, and back in elsewhere: the step from where the pointer left
  // to where it came back must turn nothing.
  for (const [x, y] of [[300, 300], [-10, 300], [600, 500]]) {
    await page.mouse.move(page.box.x + x, page.box.y + y);
  }
  // Watched for a few seconds: frames may reach the screen some time after the input.
  const entered = horizon(await until(3, () => capture(page),
    (img) => Math.abs(horizon(img) - horizon(first)) > 2));
  check('the pointer coming in turns nothing', Math.abs(entered - horizon(first)) <= 2,
    `horizon at row ${horizon(first)}, then ${entered}`);
  // 100 pixels down: 0.5 radian, the ground near enough below for a step to slide it.
  await page.mouse.move(page.box.x + 620, page.box.y + 600, { steps: 5 });
  const turned = await until(10, () => capture(page), (img) => entered - horizon(img) > 50);
  check('pointer motion inside turns the view', entered - horizon(turned) > 50,
    `horizon at row ${entered}, then ${horizon(turned)}`);
  await page.keyboard.down('w');
  await pause(1);
  await frames(page); // drawn while held, however slow the frames
  await page.keyboard.up('w');
  const moved = slide(turned, await until(5, () => capture(page),
    (img) => Math.abs(slide(turned, img, [300, 420])) >= 8), [300, 420]);
  check('holding "w" moves the view', Math.abs(moved) >= 8, `the ground slid ${moved} rows`);

  for (const [outlines, passes] of [[true, (s) => s > 0.4], [false, (s) => s < 0.05]]) {
    await page.keyboard.press('l');
    const sky = share(await until(10, () => capture(page),
      (img) => passes(share(img, LOWER))), LOWER);
    check(`"l" ${outlines ? 'shows outlines' : 'again fills the view'}`, passes(sky),
      `share of sky colour below ${sky.toFixed(3)}`);
  }

  await page.keyboard.press('Escape');
  await stopped(page, 'Escape');
}

async function stopped(page, how) {
  const state = await until(10, () => stateOf(page), (s) => s === 'stopped');
  const words = await page.$eval('#status', (status) => status.textContent);
  check(`${how} stops the city and says so`, state === 'stopped' &&
    /The city has stopped.*Reload the page/s.test(words), `${state}: ${words}`);
  const still = await capture(page);
  await pause(3); // longer than a generation
  const change = difference(still, await capture(page), [0, still.height]);
  check(`after ${how} nothing changes`, change === 0, `difference ${change.toFixed(3)}`);
  check('no page error', page.errors.length === 0, page.errors.join('; '));
  await page.close();
}

// The page as a device shows it: the canvas the window's width and all in view, nothing to
// scroll, a device pixel per buffer pixel, buttons a finger's size, the middle left clear;
// and the city's start drawn to the canvas's shape, the ground's far edge where the lens
// puts it.
async function fitsAndDraws(page, { width, height, deviceScaleFactor: scale, hasTouch }) {
  const layout = await until(10, () => page.evaluate(() => {
    const { width: w, height: h } = document.getElementById('canvas').getBoundingClientRect();
    const middle = (r) => r.right > 0.3 * w && r.left < 0.7 * w && r.bottom > 0.3 * h &&
      r.top < 0.7 * h;
    const buttons = [...document.querySelectorAll('#stage button')].map((b) =>
      b.getBoundingClientRect()).filter((r) => r.width > 0);
    const { width: bw, height: bh } = document.getElementById('canvas');
    const root = document.documentElement;
    return { w, h, bw, bh, page: [root.scrollWidth, root.scrollHeight], buttons: buttons.length,
      small: buttons.filter((r) => r.width < 44 || r.height < 44 || middle(r)).length };
  }), (l) => l.w === width && l.bw === Math.round(l.w * scale));
  page.box = await canvasBox(page);
  check(`the page fits ${width}x${height}`, page.box.x === 0 && layout.w === width &&
    page.box.y + layout.h <= height && layout.page[0] <= width && layout.page[1] <= height &&
    layout.bw === Math.round(layout.w * scale) && layout.bh === Math.round(layout.h * scale) &&
    layout.buttons >= (hasTouch ? 7 : 0) && layout.small === 0, JSON.stringify(layout));
  const img = await until(20, () => capture(page),
    (i) => Math.abs(horizon(i) / i.height - edgeAt(0)) < 0.01);
  check('the city is drawn to the canvas\'s shape', Math.abs(horizon(img) / img.height -
    edgeAt(0)) < 0.01 && share(img, part(img.height, 0.8, 1), SKY,
    part(img.width, 0.5, 1)) < 0.05, `far edge at ${(horizon(img) / img.height).toFixed(3)} ` +
    `of the height, expected ${edgeAt(0).toFixed(3)}`);
}

// Where the ground's far edge is, as a share of the view's height, once the view has settled.
async function edge(page) {
  let last = -1;
  const img = await until(5, async () => {
    await frames(page);
    const now = await capture(page);
    [now.same, last] = [horizon(now) === last, horizon(now)];
    return now;
  }, (now) => now.same);
  return Object.assign(horizon(img) / img.height, { img });
}

const DRAG = 40; // CSS pixels
async function drag(finger, [x, y], by) {
  for (let step = 1; step <= 4; step++) {
    await finger.move(x, y + (by * step) / 4);
  }
}

// Fingers on the canvas and the on-screen buttons, as the keys and pointer are tried on the
// desktop: expected far edges worked out from the lens and the turn per CSS pixel.
async function hands(page) {
  const { x, y, width, height } = page.box;
  const [a, b] = [[x + 0.5 * width, y + 0.3 * height], [x + 0.6 * width, y + 0.6 * height]];
  const button = (text) => page.$(`::-p-aria(${text})`);
  const down = edgeAt(DRAG * RADIANS_PER_PIXEL);
  const first = await page.touchscreen.touchStart(...a);
  await drag(first, a, DRAG);
  await first.end();
  const turned = await edge(page);
  check(`a finger dragged ${DRAG} px down turns the view as far`,
    Math.abs(turned - down) < 0.01, `far edge at ${turned.toFixed(3)}, expected ` +
    down.toFixed(3));

  // Moving, seen in outline: the ground's texture repeats every few units, the buildings not.
  const near = (img) => share(img, part(img.height, 0.75, 1), SKY, part(img.width, 0.5, 1));
  const outlines = async (passes, what) => {
    await (await button('Outlines')).tap();
    const img = await until(10, () => capture(page), (i) => passes(near(i)));
    check(`"Outlines" ${what}`, passes(near(img)), `share of sky colour below ` +
      near(img).toFixed(3));
    return img;
  };
  const before = await outlines((sky) => sky > 0.4, 'shows outlines');
  let forward = await (await button('Move forward')).touchStart();
  await pause(1);
  await frames(page); // drawn while held, however slow the frames
  await forward.end();
  const [rows, middle] = [part(before.height, 0.3, 0.7), part(before.width, 0.3, 0.7)];
  const moved = slide(before, await until(5, () => capture(page),
    (img) => Math.abs(slide(before, img, rows, middle)) >= 0.008 * img.height), rows, middle);
  check('holding "Move forward" moves the view', Math.abs(moved) >= 0.008 * before.height,
    `the buildings slid ${moved} rows`);
  await outlines((sky) => sky < 0.05, 'again fills the view');

  // A new finger elsewhere, dragged back up while another holds a move: a swing from where the
  // first finger left would leave the view turned.
  forward = await (await button('Move forward')).touchStart();
  const second = await page.touchscreen.touchStart(...b);
  await drag(second, b, -DRAG);
  await second.end();
  await forward.end();
  const back = await edge(page);
  check('a new touch elsewhere turns nothing, nor does a finger holding a move',
    Math.abs(back - edgeAt(0)) < 0.02, `far edge at ${back.toFixed(3)}, expected about ` +
    edgeAt(0).toFixed(3));

  await (await button('Stop')).tap();
  await stopped(page, '"Stop"');
}

// [device, CSS width, height (portrait), device pixels per CSS pixel]
const DEVICES = [['phone', 390, 844, 3], ['tablet', 820, 1180, 2]];

async function handheld(browser, url, [device, width, height, deviceScaleFactor]) {
  const portrait = { width, height, deviceScaleFactor, isMobile: true, hasTouch: true };
  const landscape = { ...portrait, width: height, height: width };
  for (const [turn, start, turned] of [['portrait', portrait, landscape],
    ['landscape', landscape, null]]) {
    label = `${name} ${device} ${turn}`;
    const page = await open(browser, url, start);
    check('the city starts', page.state === 'running', page.status);
    await fitsAndDraws(page, start);
    if (turned) { // the device turned, and back
      for (const viewport of [turned, start]) {
        await page.setViewport(viewport);
        await fitsAndDraws(page, viewport);
      }
    }
    await hands(page);
  }
  label = name;
}

// A site published in part, or changed since: [what, how its copy differs, what passes].
const mark = (folder) => fs.writeFileSync(path.join(folder, 'index.html'), fs.readFileSync(
  path.join(folder, 'index.html'), 'utf8').replace('<title>', '<meta name="build" content="2">' +
  '<title>'));
const SITES = [
  ['without the isolation headers, the service worker lets it run', () => {}, ['--no-isolation'],
    async (page) => page.state === 'running' &&
      await page.evaluate(() => window.crossOriginIsolated) === true],
  ['a shader that does not compile stops the start with its message', (folder) => {
    // "#version 120" becomes "#error" of the same length, so the data file's index holds.
    const file = path.join(folder, 'city.data');
    const data = fs.readFileSync(file);
    const shader = fs.readFileSync(path.join(dataFolder, 'fragment_shader.glsl'), 'utf8');
    data.write('#error      ', data.indexOf(shader.split('\n')[1]) - 13);
    fs.writeFileSync(file, data);
    stamp(folder);
  }, [], (page) => page.state === 'failed' && /ended with status 1[^]*Error compiling fragment/
    .test(page.status) && /Cannot run without a working shader program/.test(page.status)],
  ['a site without city.data says so', (folder) => fs.rmSync(path.join(folder, 'city.data')),
    [], (page) => page.state === 'failed' && page.seconds < 10 &&
      /city\.data could not be fetched: 404/.test(page.status)],
  ['a site with city.wasm cut short says so', (folder) => fs.truncateSync(
    path.join(folder, 'city.wasm'), 100000), [], (page) => page.state === 'failed' &&
    page.seconds < 10 && /city\.wasm is not the file this build published/.test(page.status)],
  ['a build that lists a city.data cut short says so', (folder) => {
    fs.truncateSync(path.join(folder, 'city.data'), 1000);
    stamp(folder);
  }, [], (page) => page.state === 'failed' && page.seconds < 10 &&
    /city\.data holds 1000 bytes where this city.js was built with \d+/.test(page.status)],
];

// After one visit, the city starts with its server gone; a build published while a visitor
// has the old one is said to be ready, and runs on the next load.
async function keptRun(browser) {
  const url = await serve();
  let page = await open(browser, url);
  url.server.kill();
  await page.reload();
  await settle(page);
  check('offline after one visit, the city starts', page.state === 'running' &&
    page.errors.length === 0, `${page.state}: ${page.status} ${page.errors.join('; ')}`);
  await page.close();

  const site = await serve();
  page = await open(browser, site);
  mark(site.folder);
  stamp(site.folder);
  const build = () => page.$eval('meta[name="build"]', (m) => m.content).catch(() => '1');
  await page.reload();
  await settle(page);
  const said = await until(30, () => page.$eval('#status', (s) => s.textContent),
    (text) => /new version/.test(text));
  check('a new build published: the old runs and says the new is ready', page.state ===
    'running' && await build() === '1' && /reload the page to run it/.test(said), said);
  await page.reload();
  await until(30, async () => await settle(page) && build(), (b) => b === '2');
  check('on the next load the new build runs, with no page error between', page.state ===
    'running' && await build() === '2' && page.errors.length === 0,
    `build ${await build()}, ${page.state}: ${page.status} ${page.errors.join('; ')}`);
  await page.close();
}

// Firefox's toolbars keep its window 500 px wide at least: a style sheet of its profile's own
// lets it be as narrow as a phone.
function narrowFirefox() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'firefox-'));
  fs.mkdirSync(path.join(profile, 'chrome'));
  fs.writeFileSync(path.join(profile, 'chrome', 'userChrome.css'), ':root, #navigator-toolbox, ' +
    '#nav-bar, #TabsToolbar, #urlbar-container, #browser, #appcontent, #tabbrowser-tabbox, ' +
    '#tabbrowser-tabpanels, .browserStack, browser { min-width: 0 !important; }\n');
  const options = BROWSERS.firefox(true, [390, 844]);
  return { ...options, userDataDir: profile, extraPrefsFirefox: {
    'toolkit.legacyUserProfileCustomizations.stylesheets': true } };
}

// The checks that need a browser of their own: a narrow Firefox window; no WebGL.
async function ownBrowserRuns(url) {
  if (name === 'firefox') {
    const browser = await puppeteer.launch(narrowFirefox());
    const page = await open(browser, url);
    label = `${name} 390-px window`;
    const height = await page.evaluate(() => innerHeight);
    await fitsAndDraws(page, { width: 390, height, deviceScaleFactor: 1 });
    label = name;
    await browser.close();
  }
  const browser = await puppeteer.launch(BROWSERS[name](false));
  const page = await open(browser, url);
  check('without WebGL, the page says so', page.state === 'failed' &&
    /no WebGL/.test(page.status), `${page.state}: ${page.status}`);
  await browser.close();
}

async function attempt(what, run) {
  try {
    await run();
  } catch (error) {
    check(what, false, error.stack);
  }
}

(async () => {
  const url = await serve();
  const browser = await puppeteer.launch({ ...BROWSERS[name](true), protocolTimeout: 60000 });
  await attempt('the city run completes', () => cityRun(browser, url));
  if (name === 'chromium') {
    for (const device of DEVICES) {
      await attempt(`the ${device[0]} runs complete`, () => handheld(browser, url, device));
    }
  }
  await attempt('the offline and update runs complete', () => keptRun(browser));
  for (const [what, change, options, passes] of SITES) {
    await attempt(what, async () => {
      const page = await open(browser, await serve(change, ...options));
      check(what, await passes(page), `${page.state} in ${page.seconds} s: ${page.status}`);
      await page.close();
    });
  }
  await browser.close();
  await attempt('the runs in browsers of their own complete', () => ownBrowserRuns(url));
  servers.forEach((server) => server.kill());
  process.exit(Math.min(failures, 100));
})();
