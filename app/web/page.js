// Starts the city in this page once the browser has what it needs, shows the loading's
// progress, and says in words what stops it: no WebGL, no shared memory for the worker
// thread, a start-up that fails, or Escape. document.body's data-state tells where it is:
// loading, running, stopped or failed.
'use strict';

(function startCity() {
  const body = document.body;
  const status = document.getElementById('status');
  const progress = document.getElementById('progress');
  const canvas = document.getElementById('canvas');
  const said = []; // the program's own lines, for a failure's message
  const ISOLATION_TRIED = 'varnock-hollenby isolation tried';

  function show(state, text) {
    body.dataset.state = state;
    status.textContent = text;
  }

  const NO_WEBGL = 'This browser offers no WebGL, which the city is drawn with. Turn on ' +
    'WebGL (or hardware acceleration) in the browser\'s settings, or open the page in a ' +
    'browser that has it, such as a current Firefox or Chromium.';
  const NO_SHARED_MEMORY = 'This page cannot share memory with the city\'s worker thread: ' +
    'the browser gives it no SharedArrayBuffer. Serve the site over https:// or from ' +
    'localhost, with the headers "Cross-Origin-Opener-Policy: same-origin" and ' +
    '"Cross-Origin-Embedder-Policy: require-corp", or let its service worker add them; ' +
    'a page opened from a file cannot run it. "make web-serve" serves it so.';
  const STOPPED = 'The city has stopped: Escape ends it, drawing and growth alike. ' +
    'Reload the page to start a new city.';

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

  // Once per tab: a service worker of the site's own adds the headers, then the page
  // reloads under it. A second try that still lacks them ends with the message instead.
  function isolateThenReload() {
    if (!('serviceWorker' in navigator) || !window.isSecureContext ||
        sessionStorage.getItem(ISOLATION_TRIED)) {
      show('failed', NO_SHARED_MEMORY);
      return;
    }
    sessionStorage.setItem(ISOLATION_TRIED, 'yes');
    show('loading', 'Setting up the page to run the city\'s worker thread…');
    navigator.serviceWorker.addEventListener('controllerchange', () => location.reload());
    navigator.serviceWorker.register('isolation.js').then(() => {
      if (navigator.serviceWorker.controller) {
        location.reload();
      }
    }, () => show('failed', NO_SHARED_MEMORY));
  }

  // Emscripten reports the data file's download as "... (received/total)".
  function showLoading(text) {
    const parts = /\((\d+)\/(\d+)\)/.exec(text || '');
    if (parts) {
      const received = Number(parts[1]);
      const total = Number(parts[2]);
      progress.max = total;
      progress.value = received;
      show('loading', 'Loading the city: ' + Math.round(received / 1024) + ' of ' +
        Math.round(total / 1024) + ' kB');
    } else if (text && body.dataset.state === 'loading') {
      show('loading', 'Loading the city…');
    }
  }

  function run() {
    sessionStorage.removeItem(ISOLATION_TRIED);
    window.Module = {
      canvas,
      print(text) { said.push(text); console.log(text); },
      printErr(text) { said.push(text); console.warn(text); },
      setStatus: showLoading,
      postRun: [() => requestAnimationFrame(() => {
        if (body.dataset.state === 'loading') {
          show('running', '');
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
    window.addEventListener('error', (event) => {
      // Escape ends the program from inside a key handler, by Emscripten's exit exception.
      if (event.error && event.error.name === 'ExitStatus') {
        event.preventDefault();
      } else {
        failed(event.message);
      }
    });
    const program = document.createElement('script');
    program.src = 'city.js';
    program.onerror = () => failed('city.js could not be loaded');
    body.appendChild(program);
  }

  if (!hasWebGL()) {
    show('failed', NO_WEBGL);
  } else if (!hasSharedMemory()) {
    isolateThenReload();
  } else {
    run();
  }
}());
