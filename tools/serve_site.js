#!/usr/bin/env node
// Serves a built site folder on 127.0.0.1, for a look in a browser and for the page's tests.
// Usage: serve_site.js FOLDER [PORT] [--no-isolation]
// With the cross-origin isolation headers unless --no-isolation, as a plain static host
// serves it. Only files inside FOLDER are served; nothing is listed or written.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const args = process.argv.slice(2);
const isolation = !args.includes('--no-isolation');
const [folder, port = '8080'] = args.filter((a) => a !== '--no-isolation');
if (!folder || !/^\d+$/.test(port)) {
  console.error('usage: serve_site.js FOLDER [PORT] [--no-isolation]');
  process.exit(2);
}
if (!fs.existsSync(path.join(folder, 'index.html'))) {
  console.error(`${folder} holds no site: build it first with "make web"`);
  process.exit(1);
}
const root = fs.realpathSync(folder);
const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.txt': 'text/plain; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
};

function fileFor(url) {
  let name;
  try {
    name = decodeURIComponent(new URL(url, 'http://host').pathname);
  } catch (error) {
    return null;
  }
  if (name.endsWith('/')) {
    name += 'index.html';
  }
  const file = path.join(root, path.normalize(name));
  return file.startsWith(root + path.sep) ? file : null;
}

const server = http.createServer((request, response) => {
  const file = fileFor(request.url);
  const headers = { 'Cache-Control': 'no-cache' };
  if (isolation) {
    headers['Cross-Origin-Opener-Policy'] = 'same-origin';
    headers['Cross-Origin-Embedder-Policy'] = 'require-corp';
  }
  fs.stat(file || '', (error, stat) => {
    if (!file || error || !stat.isFile() || !['GET', 'HEAD'].includes(request.method)) {
      response.writeHead(file && !error && stat.isFile() ? 405 : 404, headers);
      response.end();
      return;
    }
    headers['Content-Type'] = TYPES[path.extname(file)] || 'application/octet-stream';
    headers['Content-Length'] = stat.size;
    response.writeHead(200, headers);
    if (request.method === 'HEAD') {
      response.end();
    } else {
      fs.createReadStream(file).pipe(response);
    }
  });
});
server.listen(Number(port), '127.0.0.1', () => {
  console.log(`Serving ${folder} on http://127.0.0.1:${server.address().port}/` +
    (isolation ? '' : ' without the isolation headers'));
});
