// Drives one browser through copies of the built site, each served on a port of its own (no
// service worker or kept file of one reaches another), as a user meets them, and judges the
// canvas by its pixels. Usage: test_site.js chromium|firefox SITE_FOLDER
// Prints "NAME: ok: ..." or "NAME: FAIL: ..." per check; the exit status counts the failures.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const { launchOptions, serveSite } = require('../../tools/lib/browsers');

const [name, siteFolder] = process.argv.slice(2);
const TOP = path.join(__dirname, '..', '..');
const SKY = (r, g, b) => r >= 190 && r <= 225 && g >= 228 && b >= 240;
// The camera starts at (20, 20, 20) looking along -z through a 30° lens, and turns 1/200
// radian per CSS px the pointer moves: looking down by `pitch`, it sees the ground's far edge,
// 600 units out, this share of the view's height down from its top, whatever its shape.
const edgeAt = (pitch) => 0.5 - 0.5 * Math.tan(pitch - Math.atan(20 / 620)) /
  Math.tan(Math.PI / 12);
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
  const { url, server } = await serveSite(folder, ...options);
  servers.push(server);
  return Object.assign(url, { folder, server });
}

// A capture's pixels as 8-bit RGB, in device pixels, read by ImageMagick as the desktop's tests
// read windows.
const decode = (png) => ({ width: png.readUInt32BE(16), height: png.readUInt32BE(20), pix:
  execFileSync('convert', ['png:-', '-depth', '8', 'rgb:-'], { input: png, maxBuffer: 1 << 26 }) });

// The mean of measure(i) over the rows [top, bottom) and columns [left, right) of a capture,
// i indexing a pixel's first channel.
function mean(img, [top, bottom], [left, right], measure) {
  let sum = 0;
  for (let row = top; row < bottom; row++) {
    const end = (row * img.width + right) * 3;
    for (let i = (row * img.width + left) * 3; i < end; i += 3) sum += measure(i);
  }
  return sum / ((bottom - top) * (right - left));
}
// The share of the pixels of a colour class.
const share = (img, rows, colour = SKY, columns = [0, img.width]) => mean(img, rows, columns,
  (i) => (colour(img.pix[i], img.pix[i + 1], img.pix[i + 2]) ? 1 : 0));
// The mean absolute difference of the channels of two captures.
const difference = (one, two, rows) => mean(one, rows, [0, one.width], (i) =>
  [0, 1, 2].reduce((sum, c) => sum + Math.abs(one.pix[i + c] - two.pix[i + c]), 0) / 3);
const part = (size, from, to) => [Math.round(from * size), Math.round(to * size)];

// The first row that is mostly not sky: where the city meets the sky.
function horizon(img) {
  let row = 0;
  while (row < img.height && share(img, [row, row + 1]) > 0.5) row++;
  return row;
}

const pause = (seconds) => new Promise((resolve) => setTimeout(resolve, seconds * 1000));

// Polls probe() until it returns something that passes, or time runs out: its last value.
async function until(seconds, probe, passes = Boolean) {
  for (const deadline = Date.now() + seconds * 1000; ; await pause(0.2)) {
    const value = await probe();
    if (passes(value) || Date.now() > deadline) {
      return value;
    }
  }
}

const stateOf = (page) => page.evaluate(() => document.body.dataset.state);
const canvasBox = (page) => page.$eval('#canvas', (c) => c.getBoundingClientRect().toJSON());

// Does what starts the page, then waits for its start to end one way or the other, through
// the service worker's reloads, if any, when there may be no state or no page to ask.
async function settle(page, start) {
  const began = Date.now();
  await start();
  page.state = await until(60, () => stateOf(page).catch(() => 'loading'),
    (state) => ['running', 'failed', 'stopped'].includes(state));
  page.seconds = (Date.now() - began) / 1000;
  page.status = await page.$eval('#status', (status) => status.textContent);
  page.box = await canvasBox(page);
  return page;
}

async function open(browser, url, viewport = null) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await (viewport && page.setViewport(viewport));
  return settle(page, () => page.goto(url));
}

const capture = async (page) => decode(Buffer.from(await page.screenshot({ clip: page.box })));

const frames = (page) => page.evaluate(() => new Promise((resolve) => { // drawn, input and all
  let left = 4;
  (function next() { return --left ? requestAnimationFrame(next) : resolve(); }());
}));

// The page as a device shows it: the canvas `wide` CSS px wide (1280 by 720 on a desktop), all
// in view, nothing to scroll, a device pixel per buffer pixel, buttons a finger's size clear of
// the middle; the city's start drawn to the canvas's shape, its far edge where the lens puts it.
async function fitsAndDraws(page, { width, height, deviceScaleFactor: scale }, wide = width) {
  const layout = await until(10, () => page.evaluate(() => {
    const [canvas, root] = [document.getElementById('canvas'), document.documentElement];
    const { width: w, height: h } = canvas.getBoundingClientRect();
    const clear = (r) => r.width === 0 || (r.width >= 44 && r.height >= 44 &&
      (r.right < 0.3 * w || r.left > 0.7 * w || r.bottom < 0.3 * h || r.top > 0.7 * h));
    return { w, h, bw: canvas.width, bh: canvas.height, page: [root.scrollWidth,
      root.scrollHeight], buttons: [...document.querySelectorAll('#stage button')].every((b) =>
      clear(b.getBoundingClientRect())) };
  }), (l) => l.w === wide && l.bw === Math.round(l.w * scale));
  page.box = await canvasBox(page);
  check(`the page fits ${width}x${height}`, layout.w === wide && (wide !== 1280 ||
    layout.h === 720) && page.box.y + layout.h <= height && layout.page[0] <= width &&
    layout.page[1] <= height && layout.bw === Math.round(layout.w * scale) &&
    layout.bh === Math.round(layout.h * scale) && layout.buttons, JSON.stringify(layout));
  const far = (i) => horizon(i) / i.height;
  const img = await until(30, () => capture(page), (i) => Math.abs(far(i) - edgeAt(0)) < 0.01);
  const near = part(img.height, 0.8, 1);
  check('the city runs, drawn to the canvas\'s shape', page.state === 'running' &&
    Math.abs(far(img) - edgeAt(0)) < 0.01 && share(img, near, SKY) < 0.05, `far edge at ` +
    `${far(img).toFixed(3)} of the height, expected ${edgeAt(0).toFixed(3)}`);
}

// Where the ground's far edge is, as a share of the view's height, once drawn again.
const edge = async (page) => frames(page).then(() => pause(0.5)).then(() => capture(page))
  .then((img) => horizon(img) / img.height);

// Keys and pointer, or fingers on the canvas and the page's buttons. turn: comes in at (x, y),
// then moves `by` CSS px down; hold: held until the function it gives is called.
const KEYS = {
  names: { w: '"w"', l: '"l"', Escape: 'Escape' },
  async turn(page, [x, y], by) {
    await page.mouse.move(page.box.x - 10, y).then(() => page.mouse.move(x, y)); // from outside
    await page.mouse.move(x, y + by, { steps: 4 });
  },
  hold: (page, key) => page.keyboard.down(key).then(() => () => page.keyboard.up(key)),
  press: (page, key) => page.keyboard.press(key),
};
const button = (page, key) => page.$(`::-p-aria(${TOUCH.names[key].slice(1, -1)})`);
const TOUCH = {
  names: { w: '"Move forward"', l: '"Outlines"', Escape: '"Stop"' },
  async turn(page, [x, y], by) {
    const finger = await page.touchscreen.touchStart(x, y);
    for (let step = 1; step <= 4; step++) await finger.move(x, y + (by * step) / 4);
    await finger.end();
  },
  hold: async (page, key) => (await button(page, key)).touchStart().then((f) => () => f.end()),
  press: async (page, key) => (await button(page, key)).tap(),
};

// The city as a user plays it; far edges worked out from the lens and the turn per CSS px.
async function play(page, hands) {
  const { x, y, width, height } = page.box;
  const [a, b] = [[x + 0.5 * width, y + 0.3 * height], [x + 0.6 * width, y + 0.6 * height]];
  const first = await capture(page);
  const rows = part(first.height, 0.3, 0.7);
  const grown = difference(first, await until(20, () => capture(page),
    (img) => difference(first, img, rows) > 1), rows);
  check('without input the city changes', grown > 1, `difference ${grown.toFixed(2)}`);

  const DRAG = 40;
  await hands.turn(page, a, DRAG);
  const [turned, down] = [await edge(page), edgeAt(DRAG / 200)];
  check(`${DRAG} px down turns the view ${DRAG}/200 radian`, Math.abs(turned - down) < 0.01,
    `far edge at ${turned.toFixed(3)}, expected ${down.toFixed(3)}`);

  // Held until the ground's far edge comes nearer: steps come 60 a second at most, however
  // slow the frames, and unlike the buildings the edge never repeats.
  let release = await hands.hold(page, 'w');
  const nearer = await until(30, () => edge(page), (at) => at - turned >= 0.0025);
  await release();
  check(`holding ${hands.names.w} moves the view`, nearer - turned >= 0.0025,
    `far edge from ${turned.toFixed(3)} to ${nearer.toFixed(3)} of the height`);

  const near = (img) => share(img, part(img.height, 0.75, 1), SKY, part(img.width, 0.5, 1));
  for (const [what, passes] of [['shows outlines', (sky) => sky > 0.4],
    ['again fills the view', (sky) => sky < 0.05]]) {
    await hands.press(page, 'l');
    const sky = near(await until(10, () => capture(page), (img) => passes(near(img))));
    check(`${hands.names.l} ${what}`, passes(sky), `share of sky colour below ${sky.toFixed(3)}`);
  }

  // Back up, coming in elsewhere while a move is held: a swing from where the last turn left
  // off would leave the view turned.
  release = await hands.hold(page, 'w');
  await hands.turn(page, b, -DRAG).then(release);
  const back = await edge(page);
  check(`coming in elsewhere turns nothing, ${hands.names.w} held or not`,
    Math.abs(back - edgeAt(0)) < 0.02, `far edge at ${back.toFixed(3)}, expected about ` +
    edgeAt(0).toFixed(3));

  await hands.press(page, 'Escape');
  await settle(page, () => until(10, () => stateOf(page), (s) => s === 'stopped'));
  const still = await capture(page);
  await pause(3); // longer than a generation
  const change = difference(still, await capture(page), [0, still.height]);
  check(`${hands.names.Escape} stops the city, says so, and nothing changes after`,
    page.state === 'stopped' && /The city has stopped.*Reload the page/s.test(page.status) &&
    change === 0, `difference ${change.toFixed(3)}: ${page.status}`);
  check('no page error', page.errors.length === 0, page.errors.join('; '));
  await page.close();
}

async function desktopRun(browser, url) {
  const page = await open(browser, url);
  check('the city starts, titled "Varnock | Hollenby"', page.state === 'running' &&
    await page.title() === 'Varnock | Hollenby', `${await page.title()}: ${page.status}`);
  if (name === 'chromium') { // its own check, as its install prompt makes it
    const cdp = await page.target().createCDPSession();
    const { installabilityErrors: errors } = await cdp.send('Page.getInstallabilityErrors');
    check('installable as an app', errors.length === 0, JSON.stringify(errors));
  }
  const [width, height] = await page.evaluate(() => [innerWidth, innerHeight]);
  await fitsAndDraws(page, { width, height, deviceScaleFactor: 1 }, 1280);
  await play(page, KEYS);
}

const DEVICES = [['phone', 390, 844, 3], ['tablet', 820, 1180, 2]]; // CSS px upright, scale

async function handheld(browser, url, [device, width, height, deviceScaleFactor]) {
  const upright = { width, height, deviceScaleFactor, isMobile: true, hasTouch: true };
  const aside = { ...upright, width: height, height: width };
  for (const [how, start, turned] of [['upright', upright, aside], ['aside', aside, null]]) {
    label = `${name} ${device} ${how}`;
    const page = await open(browser, url, start);
    await fitsAndDraws(page, start);
    for (const viewport of turned ? [turned, start] : []) { // the device turned, and back
      await page.setViewport(viewport);
      await fitsAndDraws(page, viewport);
    }
    await play(page, TOUCH);
  }
  label = name;
}

// Copies that fail: [what, how the copy differs, what the page says within seconds].
const BROKEN = [
  ['a shader that does not compile stops the start with its message', (folder) => {
    // The first shader's "#version 120" becomes "#error", the same length: the index holds.
    const data = fs.readFileSync(path.join(folder, 'city.data'));
    data.write('#error      ', data.indexOf('#version 120'));
    fs.writeFileSync(path.join(folder, 'city.data'), data);
    stamp(folder);
  }, /status 1[^]*Error compiling \w+ shader[^]*Cannot run without a working shader program/],
  ['a site without city.data says so', (folder) => fs.rmSync(path.join(folder, 'city.data')),
    /city\.data could not be fetched: 404/],
  ['a site with city.wasm cut short says so', (folder) => fs.truncateSync(
    path.join(folder, 'city.wasm'), 100000), /city\.wasm is not the file this build published/],
  ['a build that lists a city.data cut short says so', (folder) => {
    fs.truncateSync(path.join(folder, 'city.data'), 1000);
    stamp(folder);
  }, /city\.data holds 1000 bytes where this city.js was built with \d+/],
];

// From a host without the isolation headers, which the service worker adds: a build published
// while a visitor has the old one is said to be ready, and runs on the next load; with the
// server gone, the city still starts.
async function keptRun(browser) {
  const site = await serve(() => {}, '--no-isolation');
  const page = await open(browser, site);
  check('without the isolation headers, the city runs', page.state === 'running' &&
    await page.evaluate(() => window.crossOriginIsolated), page.status);
  fs.writeFileSync(path.join(site.folder, 'index.html'), fs.readFileSync(path.join(site.folder,
    'index.html'), 'utf8').replace('<title>', '<meta name="build" content="2"><title>'));
  stamp(site.folder);
  const build = () => page.$eval('meta[name="build"]', (m) => m.content).catch(() => '1');
  // Reloaded as a user does: Chromium's driver reloads it past the service worker.
  const reload = () => Promise.all([page.waitForNavigation(),
    page.evaluate(() => location.reload())]);
  await settle(page, reload);
  if (await build() === '1') { // else its worker found the new build before the page ran
    const said = await until(30, () => page.$eval('#status', (s) => s.textContent),
      (text) => /new version/.test(text));
    check('a new build published: the old runs and says the new is ready',
      /reload the page to run it/.test(said), said);
    await settle(page, () => Promise.all([page.waitForNavigation(), page.click('#reload')]));
  }
  check('within two loads the new build runs, with no page error between', page.state ===
    'running' && await build() === '2' && page.errors.length === 0,
    `build ${await build()}, ${page.state}: ${page.status} ${page.errors.join('; ')}`);
  site.server.kill();
  await settle(page, reload);
  check('offline, the city starts', page.state === 'running' && page.errors.length === 0,
    `${page.state}: ${page.status} ${page.errors.join('; ')}`);
  await page.close();
}

// The checks that need a browser of their own: a 390-px Firefox window, whose toolbars keep
// it 500 px wide unless a style sheet of its profile's own lets them shrink; no WebGL.
async function ownBrowserRuns(url) {
  if (name === 'firefox') {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'firefox-'));
    fs.cpSync(path.join(__dirname, 'userChrome.css'), path.join(profile, 'chrome/userChrome.css'));
    const browser = await puppeteer.launch({ ...launchOptions('firefox', { size: [390, 844] }),
      userDataDir: profile, extraPrefsFirefox: {
        'toolkit.legacyUserProfileCustomizations.stylesheets': true } });
    const page = await open(browser, url);
    label = `${name} 390-px window`;
    await fitsAndDraws(page, { width: 390, height: await page.evaluate(() => innerHeight),
      deviceScaleFactor: 1 });
    label = name;
    await browser.close();
  }
  const browser = await puppeteer.launch(launchOptions(name, { webgl: false }));
  const page = await open(browser, url);
  check('without WebGL, the page says so', page.state === 'failed' &&
    /no WebGL/.test(page.status), `${page.state}: ${page.status}`);
  await browser.close();
}

const attempt = (what, run) => run().catch((error) => check(what, false, error.stack));

(async () => {
  const url = await serve();
  const browser = await puppeteer.launch({ ...launchOptions(name), protocolTimeout: 60000 });
  await attempt('the desktop run completes', () => desktopRun(browser, url));
  if (name === 'chromium') {
    for (const device of DEVICES) {
      await attempt(`the ${device[0]} runs complete`, () => handheld(browser, url, device));
    }
  }
  await attempt('the update and offline runs complete', () => keptRun(browser));
  for (const [what, change, says] of BROKEN) {
    await attempt(what, async () => {
      const page = await open(browser, await serve(change));
      check(what, page.state === 'failed' && page.seconds < 10 && says.test(page.status),
        `${page.state} in ${page.seconds} s: ${page.status}`);
      await page.close();
    });
  }
  await browser.close();
  await attempt('the runs in browsers of their own complete', () => ownBrowserRuns(url));
  servers.forEach((server) => server.kill());
  process.exit(Math.min(failures, 100));
})();
