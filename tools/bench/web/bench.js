// Starts a benchmark program in this page: index.html?program=frame_bench&live=1000 runs
// frame_bench.js on a city of 1000 buildings. The program's report lines collect in
// window.benchLines for the driver (run_web_bench.js); document.body's data-state says
// running after the first frame, failed if the program could not start.
'use strict';

(function startBenchmark() {
  const query = new URLSearchParams(location.search);
  const program = query.get('program');
  const live = query.get('live');
  const lines = [];
  window.benchLines = lines;
  if (!['frame_bench', 'floor_frame'].includes(program) || !/^\d+$/.test(live || '')) {
    document.body.dataset.state = 'failed';
    return;
  }
  // ?canvas=window: the canvas fills the window, as the city's page fills a phone's.
  if (query.get('canvas') === 'window') {
    document.body.classList.add('filled');
  }
  window.Module = {
    canvas: document.getElementById('canvas'),
    arguments: [live],
    print(text) {
      lines.push(text);
      if (text === 'ready') {
        document.body.dataset.state = 'running';
      }
    },
    printErr(text) { lines.push('error ' + text); },
    onAbort() { document.body.dataset.state = 'failed'; },
  };
  const script = document.createElement('script');
  script.src = program + '.js';
  script.onerror = () => { document.body.dataset.state = 'failed'; };
  document.body.appendChild(script);
}());
