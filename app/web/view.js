// The city's view in the page: its size, its buffer's pixels, full screen and the on-screen
// controls. The canvas is 1280x720, as the desktop window opens, where the window has room
// for it and the lines below; elsewhere (phones, tablets, small windows) it takes the
// window's width and the height the lines leave, so that nothing scrolls. Its drawing
// buffer has a device pixel per device pixel, up to MOST_PIXELS.
'use strict';

window.cityView = (function view() {
  const main = document.getElementById('main');
  const stage = document.getElementById('stage');
  const lines = document.getElementById('lines');
  const canvas = document.getElementById('canvas');
  const fullscreen = document.getElementById('fullscreen');
  const controls = document.getElementById('controls');
  const ROOMY = [1280, 720];
  const LEAST_HEIGHT = 120;
  // Each pixel costs the fragment shader's lighting: 2560x1600 keeps phones, tablets and a
  // 1280x720 canvas on a doubled display at their full sharpness, and spares a 4K screen's
  // full-screen view (and the battery under it) twice the work for little to see.
  const MOST_PIXELS = 2560 * 1600;
  const ESCAPE = 27;
  let program = null; // the running program, once it takes a new size and keys

  function cssSize() {
    // The layout viewport's size: a phone zoomed out to show a page too wide for it, as
    // it is for a moment after turning, has a larger visual one.
    const { clientWidth: room, clientHeight: roomHeight } = document.documentElement;
    if (document.fullscreenElement === stage) {
      return [room, roomHeight];
    }
    main.style.width = `${ROOMY[0]}px`;
    if (room >= ROOMY[0] && roomHeight - lines.offsetHeight >= ROOMY[1]) {
      return ROOMY;
    }
    main.style.width = `${room}px`;
    return [room, Math.max(roomHeight - lines.offsetHeight, LEAST_HEIGHT)];
  }

  function fit() {
    const [width, height] = cssSize();
    stage.style.width = `${width}px`;
    stage.style.height = `${height}px`;
    const scale = Math.min(window.devicePixelRatio || 1,
      Math.sqrt(MOST_PIXELS / (width * height)));
    const [bufferWidth, bufferHeight] = [Math.round(width * scale), Math.round(height * scale)];
    if (program && (canvas.width !== bufferWidth || canvas.height !== bufferHeight)) {
      program._resizeView(bufferWidth, bufferHeight); // the program's reshape, as a window's
    }
  }

  function press(key, down) {
    if (program) {
      program._pressKey(key, down ? 1 : 0);
    }
  }

  // Moves act while held, as a held key does, one finger each; the rest act once, as a
  // pressed key does. Escape's stop ends the program from inside the call.
  for (const button of stage.querySelectorAll('button[data-key]')) {
    const name = button.dataset.key;
    const key = name === 'Escape' ? ESCAPE : name.charCodeAt(0);
    if (button.parentElement.id === 'moves') {
      button.addEventListener('pointerdown', (event) => {
        button.setPointerCapture(event.pointerId);
        press(key, true);
      });
      button.addEventListener('lostpointercapture', () => press(key, false));
    } else {
      button.addEventListener('click', () => {
        press(key, true);
        press(key, false);
      });
    }
  }
  stage.addEventListener('contextmenu', (event) => event.preventDefault());

  // The buttons show on a touch screen only: elsewhere the keys do the same, and the view
  // stays clear.
  if (navigator.maxTouchPoints > 0) {
    document.body.classList.add('touch');
    controls.textContent = controls.dataset.touch.replace(/\s+/g, ' ');
  }

  // Browsers take Escape to leave full screen: a second Escape stops the city.
  fullscreen.hidden = !document.fullscreenEnabled;
  fullscreen.addEventListener('click', () => (document.fullscreenElement
    ? document.exitFullscreen() : stage.requestFullscreen()).catch(() => {}));
  document.addEventListener('fullscreenchange', () => {
    fullscreen.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
    fit();
  });
  window.addEventListener('resize', fit); // turning the device too
  fit();

  return {
    fit, // after the lines below change
    started(module) {
      program = module;
      // Newer Emscriptens' GLUT sizes the buffer to the canvas's CSS pixels on every resize,
      // from a listener of its own: the page's, moved after it, comes after it.
      window.removeEventListener('resize', fit);
      window.addEventListener('resize', fit, true);
      fit();
    },
    ended() {
      program = null; // an ended program takes no calls
    },
  };
}());
