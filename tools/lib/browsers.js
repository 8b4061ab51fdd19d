// What the page's test and the web benchmark share: how each browser is launched, and how a
// site is served.
'use strict';
const { spawn } = require('child_process');
const path = require('path');

// Chromium draws WebGL with SwiftShader on the CPU (root needs --no-sandbox); Firefox's
// headless mode has no WebGL here, so it runs in a window on the caller's X display. Windows
// are sized at launch, and pages fill them unless given a viewport.
function launchOptions(name, { webgl = true, size: [width, height] = [1320, 900] } = {}) {
  if (name === 'chromium') {
    return { browser: 'chrome', executablePath: '/usr/bin/chromium', headless: true,
      defaultViewport: null, args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader',
        '--no-sandbox', `--window-size=${width},${height}`]
        .concat(webgl ? [] : ['--disable-webgl', '--disable-3d-apis']) };
  }
  return { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    defaultViewport: null, args: [`--width=${width}`, `--height=${height}`],
    extraPrefsFirefox: webgl ? {} : { 'webgl.disabled': true } };
}

// Serves a folder by tools/serve_site.js on a free port, passing it OPTIONS; resolves to the
// address and the server.
function serveSite(folder, ...options) {
  const server = spawn(process.execPath, [path.join(__dirname, '..', 'serve_site.js'), folder,
    '0', ...options], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    server.stdout.once('data', (text) => resolve({ url: /http:\S+/.exec(String(text))[0], server }));
    server.on('exit', () => reject(new Error(`could not serve ${folder}`)));
  });
}

module.exports = { launchOptions, serveSite };
