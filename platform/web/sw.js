// Keeps the site for use offline once it has been visited. Every file but the
// page, its manifest and this worker carries its content's hash in its name,
// so a kept copy is never stale and is served first (an old page's from its
// build's cache); the page and the manifest come from the network while it
// answers well and in time, so that a new build shows on the next load. The
// site's build writes in its hash and its files.
'use strict';
const VERSION = '@VERSION@';
const FILES = ['./', 'manifest.webmanifest', @FILES@];
// Sites on one origin share its caches: each keeps to its own, by its scope.
const SITE = 'tolvane ' + registration.scope + ' ';
const CACHE = SITE + VERSION;
// A weak signal can hold a request for a minute before it fails; a working
// connection answers the page well within this, and past it the kept one shows.
const PATIENCE = 3000;

// Fresh copies: a host that ignores no-cache must not put an old page beside new files.
addEventListener('install', event => {
  const fresh = FILES.map(file => new Request(file, {cache: 'reload'}));
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(fresh)).then(() => skipWaiting()));
});

// A new build takes over from the old at once, but a page of the old build may
// still be open and ask for its files (a font, the WebAssembly): the old caches
// stay until every open window of the site is one whose page this worker
// served. Those are known in memory only, so after the worker restarts the old
// caches wait for a time when every open window was loaded since.
const ours = new Set();
let others = true;
async function dropOthers() {
  const open = await clients.matchAll({type: 'window', includeUncontrolled: true});
  if (!others || open.some(client => client.url.startsWith(registration.scope) && !ours.has(client.id))) return;
  others = false;
  const keys = await caches.keys();
  await Promise.all(keys.filter(key => key.startsWith(SITE) && key !== CACHE).map(key => caches.delete(key)));
}

// No navigation preload: where it is on, Firefox fails an offline load before
// the worker can answer it from what it kept.
addEventListener('activate', event => event.waitUntil(dropOthers().then(() => clients.claim())));

async function kept(request, fixed) {
  const own = await caches.match(fixed && request.mode === 'navigate' ? './' : request, {cacheName: CACHE});
  if (own || fixed) return own;
  for (const key of (await caches.keys()).filter(key => key.startsWith(SITE))) {
    const old = await caches.match(request, {cacheName: key});
    if (old) return old;
  }
}

addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const fixed = request.mode === 'navigate' || request.url.endsWith('/manifest.webmanifest');
  if (event.resultingClientId) ours.add(event.resultingClientId);
  if (others) event.waitUntil(dropOthers());
  event.respondWith((async () => {
    const copy = await kept(request, fixed);
    if (!copy) return fetch(request);
    if (!fixed) return copy;
    // An error, a redirect (a captive portal's login) or no answer in time: the kept page.
    const late = new Promise(given => setTimeout(given, PATIENCE));
    const answer = await Promise.race([fetch(request).catch(() => null), late]);
    return answer?.ok && !answer.redirected ? answer : copy;
  })());
});
