// The playground's service worker: after one visit, the playground opens
// and runs with no network, from a cache of every file of the folder, as an
// installed app too. build.mjs writes the folder's list and a version made
// from the files' contents into the copy it serves: a changed playground
// is a new worker, which fills a cache of its own and drops the old one.
// Browsers give service workers only to HTTPS pages and to the local
// address (localhost, 127.0.0.1); elsewhere the page works without it.
const version = 'VERSION';
const files = FILES;
const cache_name = `kavex-playground-${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cache_name).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  const old = (name) => name.startsWith('kavex-playground-') && name !== cache_name;
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter(old).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The cache first, the network for what it does not hold; the page itself
// for any address of the folder (with its #code= or ?asyncify).
self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin) return;
  const key = event.request.mode === 'navigate' ? new URL('index.html', self.registration.scope).href : url.origin + url.pathname;
  event.respondWith(caches.open(cache_name)
    .then((cache) => cache.match(key))
    .then((kept) => kept || fetch(event.request)));
});
