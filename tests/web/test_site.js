// Drives one browser through the built site as a user meets it and judges the canvas by its
// pixels. Usage: test_site.js chromium|firefox URL URL_WITHOUT_HEADERS URL_OF_BROKEN_SHADER
// Prints "NAME: ok: ..." or "NAME: FAIL: ..." per check; the exit status counts the failures.
'use strict';
const { execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');

const [name, site, plainSite, brokenSite] = process.argv.slice(2);
// The window is sized at launch: Firefox ESR 140's driver cannot set a viewport.
const SWIFTSHADER = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox',
  '--window-size=1320,900'];
const BROWSERS = { // how to launch each browser, with WebGL and without
  chromium: (webgl) => ({ browser: 'chrome', executablePath: '/usr/bin/chromium',
    headless: true, defaultViewport: null, args: webgl ? SWIFTSHADER
      : SWIFTSHADER.concat('--disable-webgl', '--disable-3d-apis') }),
  // Firefox's headless mode has no WebGL here: it runs in a window, on the caller's display.
  firefox: (webgl) => ({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
    headless: false, defaultViewport: null, args: ['--width=1320', '--height=900'],
    extraPrefsFirefox: webgl ? {} : { 'webgl.disabled': true } }),
};
const SKY = (r, g, b) => r >= 190 && r <= 225 && g >= 228 && b >= 240;
const DARK = (r, g, b) => r + g + b < 60; // the blank canvas, before the first frame
const UPPER = [0, 300]; // rows of the canvas: sky over the city
const LOWER = [480, 720]; // ground and buildings, near the viewer
let failures = 0;

function check(what, ok, detail = '') {
  console.log(`${name}: ${ok ? 'ok' : 'FAIL'}: ${what}${detail === '' ? '' : ` (${detail})`}`);
  failures += ok ? 0 : 1;
}

// A capture's pixels as 8-bit RGB, read by ImageMagick as the desktop's tests read windows.
const decode = (png, { width, height }) => ({ width, height, channels: 3,
  pix: execFileSync('convert', ['png:-', '-depth', '8', 'rgb:-'], { input: png,
    maxBuffer: 1 << 24 }) });

// The share of the pixels of a colour class in the rows [top, bottom) of a capture.
function share(img, [top, bottom], colour = SKY) {
  let hits = 0;
  for (let i = top * img.width * img.channels; i < bottom * img.width * img.channels;
    i += img.channels) {
    hits += colour(img.pix[i], img.pix[i + 1], img.pix[i + 2]) ? 1 : 0;
  }
  return hits / ((bottom - top) * img.width);
}

// The first row that is mostly not sky: where the city meets the sky.
function horizon(img) {
  let row = 0;
  while (row < img.height && share(img, [row, row + 1]) > 0.5) row++;
  return row;
}

// The mean absolute difference of the channels of two captures in the rows [top, bottom),
// the second's rows taken that many rows lower.
function difference(one, two, [top, bottom], lower = 0) {
  let sum = 0;
  const [from, to, by] = [top, bottom, lower].map((row) => row * one.width * one.channels);
  for (let i = from; i < to; i++) {
    sum += Math.abs(one.pix[i] - two.pix[i + by]);
  }
  return sum / (to - from);
}

// How many rows lower the ground lies in the second capture: the ground slides as the viewer
// moves, while buildings that come and go do not slide it.
function slide(one, two, rows) {
  let best = 0;
  for (let lower = -100; lower <= 100; lower += 2) {
    best = difference(one, two, rows, lower) < difference(one, two, rows, best) ? lower : best;
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

// Opens the site and waits for its start to end one way or the other, through the service
// worker's reload, if any, when there may be no state or no page to ask.
async function open(browser, url) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.goto(url);
  page.state = await until(60, () => stateOf(page).catch(() => 'loading'),
    (state) => ['running', 'failed'].includes(state));
  page.status = await page.$eval('#status', (status) => status.textContent);
  page.box = await page.$eval('#canvas', (c) => {
    const { x, y, width, height } = c.getBoundingClientRect();
    return { x, y, width, height };
  });
  return page;
}

const capture = async (page) => decode(Buffer.from(await page.screenshot({ clip: page.box })),
  page.box);

// Lets the page draw a few frames, so that what input would change has been drawn.
const frames = (page) => page.evaluate(() => new Promise((resolve) => {
  let left = 4;
  (function next() { return --left ? requestAnimationFrame(next) : resolve(); }());
}));

async function cityRun(browser) {
  const page = await open(browser, site);
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
  const state = await until(10, () => stateOf(page), (s) => s === 'stopped');
  const words = await page.$eval('#status', (status) => status.textContent);
  check('Escape stops the city and says so', state === 'stopped' &&
    /The city has stopped.*Reload the page/s.test(words), `${state}: ${words}`);
  const stopped = await capture(page);
  await pause(3); // longer than a generation
  const still = difference(stopped, await capture(page), [0, 720]);
  check('after Escape nothing changes', still === 0, `difference ${still.toFixed(3)}`);
  check('no page error', page.errors.length === 0, page.errors.join('; '));
  await page.close();
}

// [what, URL, launched without WebGL (last: in a browser of its own), what passes]
const SIDE_RUNS = [
  ['without the isolation headers, the service worker lets it run', plainSite, false,
    async (page) => page.state === 'running' &&
      await page.evaluate(() => window.crossOriginIsolated) === true],
  ['a shader that does not compile stops the start with its message', brokenSite, false,
    (page) => page.state === 'failed' && /ended with status 1[^]*Error compiling fragment/
      .test(page.status) && /Cannot run without a working shader program/.test(page.status)],
  ['without WebGL, the page says so', site, true,
    (page) => page.state === 'failed' && /no WebGL/.test(page.status)],
];

(async () => {
  let browser = await puppeteer.launch({ ...BROWSERS[name](true), protocolTimeout: 60000 });
  try {
    await cityRun(browser);
  } catch (error) {
    check('the city run completes', false, error.stack);
  }
  for (const [what, url, noWebGL, passes] of SIDE_RUNS) {
    try {
      if (noWebGL) {
        await browser.close();
        browser = await puppeteer.launch(BROWSERS[name](false));
      }
      const page = await open(browser, url);
      check(what, await passes(page), `${page.state}: ${page.status}`);
      await page.close();
    } catch (error) {
      check(what, false, error.stack);
    }
  }
  await browser.close();
  process.exit(Math.min(failures, 100));
})();
