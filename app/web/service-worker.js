// The site's service worker. It keeps one build's files, whole and checked against the
// SHA-256 that the build stamped below (cmake/web/StampSite.cmake), and serves the page
// from them, with or without a network. A newer build is a new worker: it keeps its own
// files beside these and takes over only when a page that has not started asks it to, so
// that no page runs one build's city.js with another's city.wasm or city.data. It also adds
// the cross-origin isolation headers that the city's worker thread needs, for hosts that
// cannot send them. Requests to other origins pass untouched.
'use strict';

const BUILD = '@BUILD@';
const FILES = { // name: SHA-256
@FILES@};
const KEPT = `varnock-hollenby-${BUILD}`;

function hex(digest) {
  return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0'))
    .join('');
}

async function keepFile(cache, name) {
  const response = await fetch(name, { cache: 'reload' }).catch(() => {
    throw new Error(`${name} could not be fetched: the network failed`);
  });
  if (!response.ok) {
    throw new Error(`${name} could not be fetched: ${response.status} ${response.statusText}`);
  }
  const digest = await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer());
  if (hex(digest) !== FILES[name]) {
    throw new Error(`${name} is not the file this build published: it was cut short, or ` +
      'comes from another build');
  }
  await cache.put(name, response);
}

// A first visit's page waits for this and hears why it failed; a failed update leaves the
// kept build running, and the browser tries again on a later visit.
async function keep() {
  const cache = await caches.open(KEPT);
  try {
    await Promise.all(Object.keys(FILES).map((name) => keepFile(cache, name)));
  } catch (error) {
    await caches.delete(KEPT);
    if (!self.registration.active) {
      const pages = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
      pages.forEach((page) => page.postMessage(error.message));
    }
    throw error;
  }
}

self.addEventListener('install', (event) => event.waitUntil(keep()));

self.addEventListener('activate', (event) => event.waitUntil((async () => {
  const old = (await caches.keys()).filter((name) => name.startsWith('varnock-hollenby-') &&
    name !== KEPT);
  await Promise.all(old.map((name) => caches.delete(name)));
  await self.clients.claim();
})()));

self.addEventListener('message', (event) => {
  if (event.data === 'run the new build') {
    self.skipWaiting();
  }
});

function isolated(response) {
  if (response.status === 0) {
    return response; // opaque: its headers cannot be read or changed
  }
  const headers = new Headers(response.headers);
  headers.set('Cross-Origin-Opener-Policy', 'same-origin');
  headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
  return new Response(response.body, {
    status: response.status, statusText: response.statusText, headers,
  });
}

async function respond(request) {
  const name = new URL(request.url).pathname
    .slice(new URL(self.registration.scope).pathname.length) || 'index.html';
  const kept = name in FILES && await caches.match(name, { cacheName: KEPT });
  return isolated(kept || await fetch(request));
}

self.addEventListener('fetch', (event) => {
  if (new URL(event.request.url).origin === self.location.origin &&
      event.request.method === 'GET') {
    event.respondWith(respond(event.request));
  }
});
