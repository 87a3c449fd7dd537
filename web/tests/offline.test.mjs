// The page installed and offline: its manifest, its service worker, a game played with no
// network, a new build taking over, and what scripts/web sends. The worker's tests serve the
// site with web/tools/serve.py from a folder of their own, so that they can stop the server or
// publish another build into it.
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import puppeteer from 'puppeteer-core';
import {
    KEY_NAMES, pageTest, routeKeys, script, siteDir, testsDir, typeInCheatBox, waitForBox,
} from './helpers.mjs';

const root = path.join(testsDir, '..', '..');
const stageDir = path.join(siteDir, '..', 'stage');
const publish = path.join(root, 'web', 'tools', 'publish.mjs');

// A server started from `command`, and the address it prints once it listens.
async function start(command, args) {
    const child = spawn(command, args, { cwd: root, stdio: ['ignore', 'pipe', 'ignore'] });
    const exited = new Promise((r) => child.once('exit', r));
    const address = await new Promise((resolve, reject) => {
        let out = '';
        child.stdout.on('data', (d) => {
            out += d;
            const m = /^(http:\/\/\S+)$/m.exec(out);
            if (m) resolve(m[1]);
        });
        child.once('exit', (code) => reject(new Error(`${command} stopped (${code}) before it listened`)));
    });
    return { address, stop: () => { child.kill(); return exited; } };
}

const serveCopy = async (dir) => start('python3', [path.join(root, 'web', 'tools', 'serve.py'), '0', dir]);

function copySite(to) {
    fs.rmSync(to, { recursive: true, force: true });
    fs.cpSync(siteDir, to, { recursive: true });
}

let browser = null;
let profile = null;
before(async () => {
    profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-offline-'));
    browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--no-first-run', `--user-data-dir=${profile}`],
    });
});
after(async () => {
    await browser?.close();
    fs.rmSync(profile, { recursive: true, force: true });
});

// A first visit in a context of its own (no worker, no cache), ready and controlled by the worker;
// `own` false uses the browser's default context instead (an app cannot be installed from the
// others, which are incognito).
async function firstVisit(address, own = true) {
    const context = own ? await browser.createBrowserContext() : browser.defaultBrowserContext();
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.goto(address, { waitUntil: 'load' });
    await page.evaluate(() => window.quorvale.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 });
    return { context, page, errors };
}

const cacheNames = (page) => page.evaluate(() => caches.keys());
const builtFor = (dir) => /"id":"([0-9a-f]+)"/.exec(fs.readFileSync(path.join(dir, 'sw.js'), 'utf8'))[1];

pageTest('ManifestNamesTheGameAndIconsThatExist', async (page) => {
    const manifest = await page.evaluate(async () => {
        const link = document.querySelector('link[rel="manifest"]');
        const url = new URL(link.getAttribute('href'), document.baseURI);
        const parsed = JSON.parse(await (await fetch(url)).text());
        const icons = [];
        for (const icon of parsed.icons) {
            const response = await fetch(new URL(icon.src, url));
            const image = response.ok && icon.type !== 'image/svg+xml'
                ? await createImageBitmap(await response.blob()) : null;
            icons.push({ ...icon, ok: response.ok, type: response.headers.get('Content-Type'),
                actual: image ? `${image.width}x${image.height}` : null });
        }
        return { ...parsed, icons, page: document.baseURI,
            startUrl: new URL(parsed.start_url, url).href, scope: new URL(parsed.scope, url).href };
    });
    assert.equal(manifest.name, 'Quorvale');
    assert.ok(manifest.short_name, 'a short name');
    assert.equal(manifest.display, 'standalone');
    assert.equal(manifest.startUrl, manifest.page, 'the start URL is the page');
    assert.equal(manifest.scope, manifest.page, 'the scope is the page');
    for (const icon of manifest.icons) {
        assert.ok(icon.ok, `${icon.src} exists`);
        if (icon.actual) assert.equal(icon.actual, icon.sizes, `${icon.src} is the size it says`);
    }
    const sizes = manifest.icons.map((i) => i.sizes);
    for (const size of ['192x192', '512x512', 'any']) assert.ok(sizes.includes(size), `an icon of ${size}`);
    assert.ok(manifest.icons.some((i) => i.purpose === 'maskable'), 'a maskable icon');
});

// Through the server that gives every file its type, as the icons need.
test('PageIsInstallable', async () => {
    const server = await serveCopy(siteDir);
    const { page } = await firstVisit(server.address, false);
    try {
        const cdp = await page.createCDPSession();
        const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);
    } finally {
        await page.close();
        await server.stop();
    }
});

test('WorkerIsActiveAndHoldsTheBuildAfterTheFirstLoad', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-site-'));
    copySite(dir);
    const server = await serveCopy(dir);
    const { context, page, errors } = await firstVisit(server.address);
    try {
        const held = await page.evaluate(async () => {
            const registration = await navigator.serviceWorker.ready;
            const names = await caches.keys();
            const cache = await caches.open(names[0]);
            return { state: registration.active.state, names,
                files: (await cache.keys()).map((r) => new URL(r.url).pathname.slice(1)).sort() };
        });
        assert.equal(held.state, 'activated');
        assert.deepEqual(held.names, [`quorvale-${builtFor(dir)}`], 'one cache, named after the build');
        const served = fs.readdirSync(dir).filter((f) => !/\.(gz|br)$/.test(f) && f !== 'sw.js' &&
            f !== 'index.html');
        assert.deepEqual(held.files, ['', ...served].sort(), 'the page and every file of the site');
        assert.deepEqual(errors, []);
    } finally {
        await context.close();
        await server.stop();
        fs.rmSync(dir, { recursive: true, force: true });
    }
});

test('ReloadWithoutNetworkPlaysAWholeGameByKeys', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-site-'));
    copySite(dir);
    const server = await serveCopy(dir);
    const { context, page, errors } = await firstVisit(server.address);
    try {
        // No network at all: the browser offline and the server gone.
        await server.stop();
        // The page's own target only: the board's painter, a worker, cannot be taken offline
        // through the protocol (puppeteer's setOfflineMode tries every target).
        const cdp = await page.createCDPSession();
        await cdp.send('Network.enable');
        await cdp.send('Network.emulateNetworkConditions',
            { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
        await page.reload({ waitUntil: 'load' });
        await page.evaluate(() => window.quorvale.ready);
        await typeInCheatBox(page, 'iceclock'); // the balls stop: only the walls matter
        await page.click('#cmdstart');
        for (const code of routeKeys(script('win.script'))) await page.keyboard.press(KEY_NAMES[code]);
        await page.keyboard.press('Space'); // the step onto the goal is judged at the next key
        await waitForBox(page, ' Congratulations');
        assert.deepEqual(errors, []);
    } finally {
        await context.close();
        await server.stop();
        fs.rmSync(dir, { recursive: true, force: true });
    }
});

test('NewBuildTakesOverAtTheNextLoad', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-site-'));
    copySite(dir);
    const server = await serveCopy(dir);
    const { context, page, errors } = await firstVisit(server.address);
    const old = builtFor(dir);
    // Another build, published by the build's own tool from the staged files with a changed
    // style sheet, into the folder the server serves.
    const changed = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-stage-'));
    try {
        const files = fs.readdirSync(stageDir).map((f) => path.join(changed, f));
        fs.cpSync(stageDir, changed, { recursive: true });
        fs.appendFileSync(path.join(changed, 'page.css'), '\n/* another build */\n');
        execFileSync('node', [publish, dir, ...files], { stdio: 'ignore' });
        const next = builtFor(dir);
        assert.notEqual(next, old, 'the second build has a name of its own');

        const requested = [];
        page.on('request', (r) => requested.push(new URL(r.url()).pathname.slice(1)));
        await page.reload({ waitUntil: 'load' });
        await page.evaluate(() => window.quorvale.ready);
        const style = await page.$eval('link[rel="stylesheet"]', (l) => l.getAttribute('href'));
        assert.ok(fs.existsSync(path.join(dir, style)), `the page is the new build's (${style})`);
        await page.waitForFunction((name) => caches.keys().then((k) => k.length === 1 && k[0] === name),
            { timeout: 10000 }, `quorvale-${next}`);
        assert.deepEqual(await cacheNames(page), [`quorvale-${next}`], 'only the new build is kept');
        const gone = requested.filter((f) => f && !fs.existsSync(path.join(dir, f)));
        assert.deepEqual(gone, [], 'no file of the old build was asked for');
        assert.deepEqual(errors, []);
    } finally {
        await context.close();
        await server.stop();
        fs.rmSync(dir, { recursive: true, force: true });
        fs.rmSync(changed, { recursive: true, force: true });
    }
});

// GET of one path, the raw bytes and headers as sent (no decoding).
const get = (url, headers) => new Promise((resolve, reject) => {
    http.get(url, { headers }, (res) => {
        const chunks = [];
        res.on('data', (c) => chunks.push(c));
        res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks) }));
    }).on('error', reject);
});

test('ScriptsWebSendsEachFileCompressedAsTheBrowserAsks', async () => {
    const server = await start(path.join(root, 'scripts', 'web'), ['--port', '0']);
    try {
        const files = fs.readdirSync(siteDir).filter((f) => !/\.(gz|br)$/.test(f));
        assert.ok(files.length > 5, 'the site was read');
        for (const file of files) {
            const url = new URL(file === 'index.html' ? '' : file, server.address);
            for (const [accept, coding, suffix] of [
                ['gzip, deflate, br', 'br', '.br'], ['gzip', 'gzip', '.gz'], ['identity', undefined, ''],
                ['br;q=0, gzip', 'gzip', '.gz'],
            ]) {
                const { status, headers, body } = await get(url, { 'Accept-Encoding': accept });
                assert.equal(status, 200, `${file} for ${accept}`);
                assert.equal(headers['content-encoding'], coding, `${file}: Content-Encoding for ${accept}`);
                assert.ok(body.equals(fs.readFileSync(path.join(siteDir, file + suffix))),
                    `${file}: the ${coding || 'plain'} bytes for ${accept}`);
                assert.equal(headers.vary, 'Accept-Encoding', `${file}: Vary`);
                const keep = file === 'index.html' || file === 'sw.js' ? 'no-cache' : 'public, max-age=31536000, immutable';
                assert.equal(headers['cache-control'], keep, `${file}: Cache-Control`);
            }
        }
    } finally {
        await server.stop();
    }
});
