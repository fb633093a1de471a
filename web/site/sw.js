// Keeps the site for use offline: every file of it cached at install, served from the cache
// first. Nothing is fetched from anywhere but this site.
"use strict";

// The build names the cache by the version and the site's contents and lists the site's files
// (web/StampServiceWorker.cmake, from web/CMakeLists.txt's list).
const CACHE = "tavero";
const FILES = [];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(caches.match(event.request, { ignoreSearch: true })
    .then((cached) => cached || fetch(event.request)));
});
