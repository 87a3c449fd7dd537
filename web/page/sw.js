// The service worker: every file of the page kept at the first visit, so that the page loads and
// plays with no network at all. Each build has a cache of its own, filled whole before the build
// takes over and dropped when a newer one does, so the files of two builds never meet.
'use strict';

// Filled in when the site is built: the build's name, the page's SHA-256 and every other file.
const BUILD = { id: 'unbuilt', page: '', files: [] };

const CACHE = `quorvale-${BUILD.id}`;
const PAGE = new URL('./', self.registration.scope).href;

const hex = (buffer) => [...new Uint8Array(buffer)].map((b) => b.toString(16).padStart(2, '0')).join('');

self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        // The page is asked of the server again; the other files carry their content in their
        // names, so whatever the browser already holds of them is right.
        const page = await fetch(new Request(PAGE, { cache: 'no-cache' }));
        const body = await page.clone().arrayBuffer();
        if (!page.ok || hex(await crypto.subtle.digest('SHA-256', body)) !== BUILD.page)
            throw new Error('the server has moved on to another build; this one is not installed');
        const files = await Promise.all(BUILD.files.map(async (file) => {
            const response = await fetch(file);
            if (!response.ok) throw new Error(`${file}: ${response.status}`);
            return [file, response];
        }));
        const cache = await caches.open(CACHE);
        await Promise.all([[PAGE, page], ...files].map(([file, response]) => cache.put(file, response)));
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (name !== CACHE && name.startsWith('quorvale-')) await caches.delete(name);
        }
        await self.clients.claim();
    })());
});

// The page from the server whenever it answers, so a new build shows at the next load; from the
// cache only without a network. Everything else from the cache, where this build's files are.
self.addEventListener('fetch', (event) => {
    const { request } = event;
    if (request.method !== 'GET') return;
    if (request.mode === 'navigate') {
        event.respondWith(fetch(request).catch(async () =>
            (await caches.open(CACHE)).match(PAGE).then((r) => r || Response.error())));
        return;
    }
    event.respondWith(caches.open(CACHE).then((cache) => cache.match(request))
        .then((cached) => cached || fetch(request)));
});
