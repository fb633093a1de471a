// Keeps the site for use offline: every file of it cached at install, served from the cache
// first. Nothing is fetched from anywhere but this site.
"use strict";

const CACHE = "tavero";  // the build adds the version and the stamp of the site's files (web/StampServiceWorker.cmake)
const FILES = ["./", "index.html", "style.css", "page.js", "app.js", "tavero.js", "tavero.wasm", "manifest.webmanifest",
               "TAVERO.ico"];

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
  event.respondWith(caches.match(event.request, { ignoreSearch: true }).then((cached) => cached || fetch(event.request)));
});
