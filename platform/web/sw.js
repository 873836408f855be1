// Keeps the site for use offline once it has been visited. Every file but the
// page, its manifest and this worker carries its content's hash in its name,
// so a kept copy is never stale and is served first; the page and the
// manifest come from the network while there is one, so that a new build
// shows on the next load. The site's build writes in its hash and its files.
'use strict';
const VERSION = '@VERSION@';
const FILES = ['./', 'manifest.webmanifest', @FILES@];
// Sites on one origin share its caches: each keeps to its own, by its scope.
const SITE = 'tolvane ' + registration.scope + ' ';

addEventListener('install', event => {
  event.waitUntil(caches.open(SITE + VERSION).then(cache => cache.addAll(FILES)).then(() => skipWaiting()));
});

// A new build takes over from the old at once, and the old one's files go.
// No navigation preload: where it is on, Firefox fails an offline load before
// the worker can answer it from what it kept.
addEventListener('activate', event => {
  event.waitUntil(caches.keys().then(keys => Promise.all(keys.filter(key => key.startsWith(SITE) && key !== SITE + VERSION)
                                                             .map(key => caches.delete(key))))
                    .then(() => clients.claim()));
});

addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const page = request.mode === 'navigate', fixed = page || request.url.endsWith('/manifest.webmanifest');
  event.respondWith((async () => {
    const kept = await caches.match(page ? './' : request, {cacheName: SITE + VERSION});
    if (kept && !fixed) return kept;
    try {
      return await fetch(request);
    } catch (offline) {
      if (kept) return kept;
      throw offline;
    }
  })());
});
