// The page's worker thread needs shared memory, which a browser gives only to a page served
// with the cross-origin isolation headers. A host that cannot send them serves the site all
// the same: this service worker adds them to the site's own responses, and the page reloads
// once under it (app/web/page.js). Requests to other origins pass untouched.
'use strict';

self.addEventListener('install', () => self.skipWaiting());
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

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

self.addEventListener('fetch', (event) => {
  if (new URL(event.request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(fetch(event.request).then(isolated));
});
