// Starts the city in this page once the browser has what it needs, shows the loading's
// progress, and says in words what stops it: no WebGL, no shared memory for the worker
// thread, a site's file missing, cut short or from another build, a start-up that fails, or
// Escape. document.body's data-state tells where it is: loading, running, stopped or failed.
'use strict';

(function startCity() {
  const body = document.body;
  const status = document.getElementById('status');
  const progress = document.getElementById('progress');
  const canvas = document.getElementById('canvas');
  const workers = navigator.serviceWorker;
  const said = []; // the program's own lines, for a failure's message
  const ISOLATION_TRIED = 'varnock-hollenby isolation tried';
  const RUN_THE_NEW_BUILD = 'run the new build'; // to a waiting service worker
  let registration = null; // the site's service worker's, where the browser has one

  // An app installed from the page has no reload button of the browser's: the page has one,
  // where the words ask for a reload.
  const reload = document.getElementById('reload');
  reload.addEventListener('click', () => location.reload());

  function show(state, text) {
    body.dataset.state = state;
    status.textContent = text;
    reload.hidden = !['stopped', 'failed'].includes(state);
    if (!reload.hidden) {
      window.cityView.ended();
    }
    window.cityView.fit();
  }

  const NO_WEBGL = 'This browser offers no WebGL, which the city is drawn with. Turn on ' +
    'WebGL (or hardware acceleration) in the browser\'s settings, or open the page in a ' +
    'browser that has it, such as a current Firefox or Chromium.';
  const NO_SHARED_MEMORY = 'This page cannot share memory with the city\'s worker thread: ' +
    'the browser gives it no SharedArrayBuffer. Serve the site over https:// or from ' +
    'localhost, with the headers "Cross-Origin-Opener-Policy: same-origin" and ' +
    '"Cross-Origin-Embedder-Policy: require-corp", or let its service worker add them; ' +
    'a page opened from a file cannot run it. "make web-serve" serves it so.';
  const STOPPED = 'The city has stopped (Escape or Stop ends it), drawing and growth alike. ' +
    'Reload the page to start a new city.';
  const NEW_VERSION = 'A new version of the city is ready: reload the page to run it.';

  function failed(reason) {
    if (body.dataset.state === 'failed' || body.dataset.state === 'stopped') {
      return;
    }
    const lines = said.slice(-8).join('\n');
    show('failed', 'The city could not start' + (reason ? ': ' + reason : '.') +
      (lines ? '\nIt said:\n' + lines : '') +
      '\nThe site may be incomplete or damaged: publish the whole site folder again, ' +
      'then reload the page.');
  }

  function hasWebGL() {
    const probe = document.createElement('canvas');
    return Boolean(probe.getContext('webgl2') || probe.getContext('webgl'));
  }

  function hasSharedMemory() {
    return window.crossOriginIsolated === true && typeof SharedArrayBuffer === 'function';
  }

  // The page's headers are its first load's: a page that lacks them reloads once under the
  // service worker, which adds them. A second try that still lacks them ends in words.
  function runIsolated() {
    if (hasSharedMemory()) {
      run().catch((error) => failed(error.message));
    } else if (workers && window.isSecureContext && !sessionStorage.getItem(ISOLATION_TRIED)) {
      sessionStorage.setItem(ISOLATION_TRIED, 'yes');
      location.reload();
    } else {
      show('failed', NO_SHARED_MEMORY);
    }
  }

  // Every start goes through the site's service worker where the browser has one: it keeps
  // one build's files, whole and checked, and serves them with or without a network. A new
  // build it kept on an earlier visit runs now, before any of the old build's files load.
  async function startUnderWorker() {
    workers.addEventListener('message', (event) => failed(event.data)); // its failure, if any
    workers.startMessages();
    registration = await workers.register('service-worker.js').catch((error) => {
      if (!workers.controller) {
        throw error;
      }
      return workers.ready; // offline, say, with the build already kept
    });
    if (workers.controller && registration.waiting) {
      workers.addEventListener('controllerchange', () => location.reload());
      registration.waiting.postMessage(RUN_THE_NEW_BUILD);
      return;
    }
    // A first visit, or a load that bypassed the worker (a forced reload): the page runs
    // once a build is kept and the worker has taken the page, or, if it does not take it
    // within a second, from a plain reload.
    if (!workers.controller) {
      show('loading', 'Keeping the city\'s files in the browser, for use offline too…');
      const first = registration.installing || registration.waiting;
      if (first) { // the worker's own words may come just after it gives up: they go first
        first.addEventListener('statechange', () => first.state === 'redundant' &&
          setTimeout(() => failed('its files could not be kept in the browser'), 1000));
      }
      await workers.ready;
      await new Promise((resolve) => {
        workers.addEventListener('controllerchange', resolve);
        setTimeout(resolve, workers.controller ? 0 : 1000);
      });
    }
    runIsolated();
  }

  // Asks for a newer build once the city runs: kept beside this one, it runs on the next
  // load. The browser may have found it already, on its own.
  function watchForUpdates() {
    const ready = () => {
      if (body.dataset.state === 'running') {
        status.textContent = NEW_VERSION;
        reload.hidden = false;
        window.cityView.fit();
      }
    };
    const watch = (next) => next && next.addEventListener('statechange', () =>
      next.state === 'installed' && ready());
    if (registration.waiting) {
      ready();
    } else {
      watch(registration.installing);
    }
    registration.addEventListener('updatefound', () => watch(registration.installing));
    registration.update().catch(() => {}); // offline: nothing newer to hear of
  }

  // The length the server gives is the progress bar's end only: a host may compress.
  async function download(name) {
    const response = await fetch(name).catch(() => {
      throw new Error(`${name} could not be fetched: the network failed`);
    });
    if (!response.ok) {
      throw new Error(`${name} could not be fetched: ${response.status} ${response.statusText}`);
    }
    const total = Number(response.headers.get('Content-Length')) || 0;
    const reader = response.body.getReader();
    const parts = [];
    for (let received = 0; ;) {
      const { done, value } = await reader.read().catch(() => {
        throw new Error(`${name} stopped arriving: the network failed`);
      });
      if (done) {
        return new Blob(parts).arrayBuffer();
      }
      parts.push(value);
      received += value.length;
      progress.max = Math.max(total, received);
      progress.value = received;
      show('loading', `Loading the city: ${Math.round(received / 1024)}` +
        (total ? ` of ${Math.round(total / 1024)} kB` : ' kB'));
    }
  }

  // The data file is fetched here, not by the program, so that every way its load can end
  // is known: the program is handed it only when its size is the one the program was built
  // with.
  async function run() {
    sessionStorage.removeItem(ISOLATION_TRIED);
    const data = await download('city.data');
    window.Module = {
      canvas,
      print(text) { said.push(text); console.log(text); },
      printErr(text) { said.push(text); console.warn(text); },
      getPreloadedPackage(name, size) {
        if (data.byteLength !== size) {
          const reason = `${name} holds ${data.byteLength} bytes where this city.js was ` +
            `built with ${size}: it was cut short, or comes from another build`;
          failed(reason);
          throw new Error(reason);
        }
        return data;
      },
      postRun: [() => requestAnimationFrame(() => {
        if (body.dataset.state === 'loading') {
          show('running', '');
          window.cityView.started(window.Module);
          if (registration) {
            watchForUpdates();
          }
        }
      })],
      onExit(code) {
        if (code === 0) {
          show('stopped', STOPPED);
        } else {
          failed('it ended with status ' + code);
        }
      },
      onAbort(what) { failed(String(what)); },
    };
    const program = document.createElement('script');
    program.src = 'city.js';
    program.onerror = () => failed('city.js could not be loaded');
    body.appendChild(program);
  }

  window.addEventListener('error', (event) => {
    // Escape ends the program from inside a key handler, by Emscripten's exit exception.
    if (event.error && event.error.name === 'ExitStatus') {
      event.preventDefault();
    } else {
      failed(event.message);
    }
  });
  if (!hasWebGL()) {
    show('failed', NO_WEBGL);
  } else if (workers && window.isSecureContext) {
    startUnderWorker().catch(() => runIsolated());
  } else {
    runIsolated();
  }
}());
