// Keeps the site for use offline: every file of it cached at install, served from the cache
// first. Nothing is fetched from anywhere but this site.
"use strict";

// The build names the cache by the version and the site's contents, lists the site's files and
// gives each file's SHA-256 (web/StampServiceWorker.cmake, from web/CMakeLists.txt's list).
const CACHE = "tavero";
const FILES = [];
const DIGESTS = {};

const hex = (buffer) => Array.from(new Uint8Array(buffer), (byte) => byte.toString(16).padStart(2, "0")).join("");

// A file of this build, from the network: the browser's HTTP cache may still hold a file of an
// earlier build (served with a date long past, it is thought fresh), and a cache that mixed the
// two would serve that mix offline until the next build. Checked against its digest, so that a
// server half-way through an upload fails the install instead; the old worker then serves on.
const fetchOfThisBuild = async (name) => {
  const response = await fetch(name, { cache: "no-store" });
  if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
  const digest = DIGESTS[name];
  if (digest && hex(await self.crypto.subtle.digest("SHA-256", await response.clone().arrayBuffer())) !== digest)
    throw new Error(`${name} is not the file of this build`);
  return response;
};

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const responses = await Promise.all(FILES.map(fetchOfThisBuild));
    const cache = await caches.open(CACHE);
    await Promise.all(FILES.map((name, i) => cache.put(name, responses[i])));
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// From the cache first; a request that asks to bypass caches (the program's check of its
// tavero.wasm, web/ProgramCheck.js) goes to the network first, to the cache when offline.
self.addEventListener("fetch", (event) => {
  if (new URL(event.request.url).origin !== location.origin) return;
  const cached = () => caches.match(event.request, { ignoreSearch: true });
  if (event.request.cache === "reload" || event.request.cache === "no-store")
    event.respondWith(fetch(event.request).catch(() => cached()));
  else
    event.respondWith(cached().then((hit) => hit || fetch(event.request)));
});
