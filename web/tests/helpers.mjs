// What every browser test file shares: the static server on the built site, chromium launched
// through puppeteer-core, a fresh page per test with the console-error check, and the helpers
// that compare the page with the script driver. A topic's tests go in a file of their own,
// web/tests/<topic>.test.mjs, run by scripts/test-web with `node --test`.
//
// QUORVALE_SITE (default build/web/site), QUORVALE_SCRIPTS (default tests/scripts),
// QUORVALE_SCRIPT (the driver, default build/default/app/quorvale-script) and CHROMIUM
// (default /usr/bin/chromium) say where things are.
import assert from 'node:assert/strict';
import http from 'node:http';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const testsDir = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(testsDir, '..', '..');
export const siteDir = process.env.QUORVALE_SITE || path.join(root, 'build', 'web', 'site');
export const scriptsDir = process.env.QUORVALE_SCRIPTS || path.join(root, 'tests', 'scripts');
// The script driver, for what a script must end in; scripts/test-web builds it where it is missing.
export const driver = process.env.QUORVALE_SCRIPT ||
    path.join(root, 'build', 'default', 'app', 'quorvale-script');

const TYPES = {
    '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.ttf': 'font/ttf', '.txt': 'text/plain',
};

function serve(dir) {
    const server = http.createServer((req, res) => {
        const url = new URL(req.url, 'http://localhost');
        const name = url.pathname === '/' ? 'index.html' : path.basename(url.pathname);
        const file = path.join(dir, name);
        fs.readFile(file, (err, data) => {
            if (err) {
                res.writeHead(404);
                res.end();
                return;
            }
            res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
            res.end(data);
        });
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// ---------------------------------------------------------------------------------------------
// Helpers

export const script = (name) => fs.readFileSync(path.join(scriptsDir, name), 'utf8');

// The keys of a script's `key` lines, in order, up to its first `dump`.
export function routeKeys(text) {
    const keys = [];
    for (const line of text.split('\n')) {
        if (line.startsWith('dump')) break;
        const m = /^key (\d+)$/.exec(line);
        if (m) keys.push(Number(m[1]));
    }
    return keys;
}

export const KEY_NAMES = { 37: 'ArrowLeft', 38: 'ArrowUp', 39: 'ArrowRight', 40: 'ArrowDown', 32: 'Space' };

// The dumps in a driver's output, without their closing "--".
export function expectedDumps(text) {
    return text.split('--\n').slice(0, -1).map((block) =>
        block.split('\n').filter((l) => l && !l.startsWith('msgbox ') && l !== 'end').join('\n') + '\n');
}

// What quorvale-script shows for a script file: its message boxes with their answers, as it
// prints them, and its dumps.
export function drive(file) {
    const out = execFileSync(driver, [file], { encoding: 'utf8' });
    return { boxes: out.split('\n').filter((l) => l.startsWith('msgbox ')), dumps: expectedDumps(out) };
}

export const quote = (text) => '"' + text.replace(/[\\"]/g, (c) => '\\' + c) + '"';

// From here on the page writes down each message box and its answer as the driver prints them.
export async function logBoxes(page) {
    await page.exposeFunction('quote', quote);
    await page.evaluate(() => {
        window.boxLog = [];
        window.quorvale.on('box', (title, prompt, style) => {
            window.boxLog.push({ title, prompt, style });
        });
        window.quorvale.on('answer', (yes) => {
            window.boxLog[window.boxLog.length - 1].answer = yes === true ? 'yes' : yes === false ? 'no' : 'close';
        });
    });
}

export async function loggedBoxes(page) {
    const log = await page.evaluate(() => window.boxLog);
    return log.map((b) => `msgbox ${b.style} ${quote(b.title)} ${quote(b.prompt)} -> ${b.answer}`);
}

export async function dumpValue(page, name) {
    const dump = await page.evaluate(() => window.quorvale.dump());
    const line = dump.split('\n').find((l) => l.startsWith(name + ' '));
    return line === undefined ? undefined : line.slice(name.length + 1);
}

export async function boxTitle(page) {
    return page.evaluate(() => (window.quorvale.boxOpen ? document.getElementById('msgbox-title').textContent : null));
}

export async function waitForBox(page, title) {
    await page.waitForFunction((t) => window.quorvale.boxOpen &&
        document.getElementById('msgbox-title').textContent === t, { timeout: 5000 }, title);
}

export async function focusedId(page) {
    return page.evaluate(() => document.activeElement && document.activeElement.id);
}

// The colour of the board's canvas at a point in twips, after the next frame.
export async function pixelAt(page, xTwips, yTwips) {
    return page.evaluate(async (x, y) => {
        await new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
        const canvas = document.getElementById('board');
        const ratio = canvas.width / 670;
        const data = canvas.getContext('2d').getImageData(Math.floor(x / 15 * ratio), Math.floor(y / 15 * ratio), 1, 1).data;
        return '#' + [data[0], data[1], data[2]].map((v) => v.toString(16).padStart(2, '0')).join('');
    }, xTwips, yTwips);
}

export async function typeInCheatBox(page, text) {
    await page.click('#txtcheat', { clickCount: 3 }); // whatever is there is replaced
    assert.equal(await focusedId(page), 'txtcheat', 'focus after clicking the cheat box');
    await page.keyboard.type(text);
    assert.equal(await page.$eval('#txtcheat', (t) => t.value), ' ', `cheat box after typing ${text}`);
}

// ---------------------------------------------------------------------------------------------
// The tests

// One chromium and one server for a whole test file, started by its first test.
let session = null;

async function open() {
    const server = await serve(siteDir);
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--no-first-run',
            `--user-data-dir=${profile}`],
    });
    return { server, profile, browser, url: `http://127.0.0.1:${server.address().port}/` };
}

after(async () => {
    if (!session) return;
    const { server, profile, browser } = await session;
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
});

// A test on a fresh page, loaded and ready; `fn(page, errors)`. Whatever it does, the page must
// log no console error.
export function pageTest(name, fn) {
    test(name, async () => {
        session ??= open();
        const { browser, url } = await session;
        const page = await browser.newPage();
        const errors = [];
        page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
        page.on('pageerror', (e) => errors.push(String(e)));
        try {
            await page.goto(url, { waitUntil: 'load' });
            await page.evaluate(() => window.quorvale.ready);
            await fn(page, errors);
            assert.ok(errors.length === 0, `console errors: ${errors.join('; ')}`);
        } finally {
            await page.close();
        }
    });
}
