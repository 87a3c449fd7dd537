// What every browser test file shares: the static server on the built site, chromium launched
// through puppeteer-core, a fresh page per test with the console-error check, and the helpers
// that compare the page with the script driver. A topic's tests go in a file of their own,
// web/tests/<topic>.test.mjs, run by scripts/test-web with `node --test`.
//
// QUORVALE_SITE (default build/web/site), QUORVALE_SCRIPTS (default tests/scripts),
// QUORVALE_SCRIPT (the driver, default build/default/app/quorvale-script), CHROMIUM
// (default /usr/bin/chromium) and FIREFOX (default /usr/bin/firefox-esr) say where things are.
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

// `inject`, if given, is HTML put first in the page's head, before any of the page's scripts.
export function serve(dir, inject = '') {
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
            res.end(inject && name === 'index.html' ? String(data).replace('<head>', '<head>' + inject) : data);
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

// Both boxes of a win answered Yes by Enter: the board back in its setup, the focus on Start.
// `page` is puppeteer's or WebDriver's (webdriver.mjs), which answer to the same calls here.
export async function answerAWinByEnter(page) {
    for (let box = 0; box < 2; ++box) {
        await waitForBox(page, ' Congratulations');
        await page.keyboard.press('Enter');
    }
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'setup after Yes');
    assert.equal(await focusedId(page), 'cmdstart', 'focus after the reset');
}

// Once the page has heard what the rules made of the input so far.
export async function focusedId(page) {
    return page.evaluate(async () => {
        if (window.quorvale && window.quorvale.caughtUp) await window.quorvale.caughtUp();
        return document.activeElement && document.activeElement.id;
    });
}

// The colour of the board at a point in twips, once what changed is painted.
export async function pixelAt(page, xTwips, yTwips) {
    return page.evaluate(async (x, y) => {
        const { width } = await window.quorvale.boardPixels({ x: 0, y: 0, w: 1, h: 1 });
        const ratio = width / 670;
        const { data } = await window.quorvale.boardPixels(
            { x: Math.floor(x / 15 * ratio), y: Math.floor(y / 15 * ratio), w: 1, h: 1 });
        return '#' + [data[0], data[1], data[2]].map((v) => v.toString(16).padStart(2, '0')).join('');
    }, xTwips, yTwips);
}

// Plays a script's lines as the player would, through the page's own ways in rather than as a
// replay, the page's clock held so that a `wait` is that many ticks: its keys, clicks and texts of
// the cheat box, each box answered with the script's next answer (Yes when it holds none).
export async function playAsPlayer(page, text) {
    await page.evaluate(async (lines) => {
        const q = window.quorvale;
        q.holdClock(true);
        const answers = [];
        const settle = async (event) => {
            for (;;) {
                const later = new Promise((resolve) => setTimeout(() => resolve(false), 20));
                if (await Promise.race([Promise.resolve(event).then(() => true), later])) return;
                if (q.boxOpen) q.answer(answers.length > 0 ? answers.shift() : true);
            }
        };
        for (const line of lines) {
            let m;
            if ((m = /^wait (\d+)$/.exec(line))) for (let i = 0; i < Number(m[1]); ++i) await settle(q.tick());
            else if ((m = /^key (\d+)$/.exec(line))) await settle(q.key(Number(m[1])));
            else if ((m = /^click (\w+)$/.exec(line))) await settle(q.click(m[1]));
            else if ((m = /^text (".*")$/.exec(line))) await settle(q.edit(JSON.parse(m[1])));
            else if ((m = /^answer (.*)$/.exec(line))) answers.push(...m[1].split(' ').map((a) => a === 'yes'));
        }
        await q.caughtUp();
    }, text.split('\n'));
}

export async function typeInCheatBox(page, text) {
    await page.click('#txtcheat', { clickCount: 3 }); // whatever is there is replaced
    assert.equal(await focusedId(page), 'txtcheat', 'focus after clicking the cheat box');
    await page.keyboard.type(text);
    const value = await page.evaluate(async () => {
        await window.quorvale.caughtUp();
        return document.getElementById('txtcheat').value;
    });
    assert.equal(value, ' ', `cheat box after typing ${text}`);
}

// Keys pressed one after another; says where the focus is then.
export async function pressKeys(page, ...names) {
    for (const name of names) await page.keyboard.press(name);
    return focusedId(page);
}

const openMenus = (page) => page.$$eval('#menubar [role="menu"]:not([hidden])', (m) => m.length);

// Square, then About, with nothing but keys; Escape gives the focus back.
export async function useMenusByKeys(page) {
    assert.equal(await pressKeys(page, 'F10'), 'mnufile', 'focus after F10');
    assert.equal(await pressKeys(page, 'ArrowRight'), 'mnuedit', 'focus after Right');
    assert.equal(await pressKeys(page, 'ArrowDown'), 'mnueditshape', 'focus after Down (Edit opens)');
    assert.equal(await pressKeys(page, 'ArrowRight'), 'mnueditshapesquare', 'focus after Right (Your Shape opens)');
    assert.equal(await pressKeys(page, 'ArrowDown', 'ArrowUp'), 'mnueditshapesquare', 'focus after Down and Up');
    assert.equal(await pressKeys(page, 'Enter'), 'cmdstart', 'focus after choosing Square');
    assert.equal(await dumpValue(page, 'shpyou.Shape'), '1', 'the piece after Square');
    assert.equal(await openMenus(page), 0, 'menus open after choosing');
    // Alt alone, and round the bar to the left.
    assert.equal(await pressKeys(page, 'Alt'), 'mnufile', 'focus after Alt');
    assert.equal(await pressKeys(page, 'ArrowLeft'), 'mnuhelp', 'focus after Left from File');
    assert.equal(await pressKeys(page, 'Enter'), 'mnuhelpabout', 'focus after Enter (Help opens)');
    assert.equal(await pressKeys(page, ' '), 'cmdstart', 'focus after choosing About');
    await page.waitForFunction(() => /HOW TO PLAY/.test(document.getElementById('lblabout-text').textContent));
    // Escape closes and gives the focus back; Left closes a submenu.
    assert.equal(await pressKeys(page, 'F10', 'ArrowRight', 'ArrowDown', 'Enter', 'ArrowLeft'), 'mnueditshape',
        'focus after Left in a submenu');
    assert.equal(await pressKeys(page, 'Escape'), 'cmdstart', 'focus after Escape');
    assert.equal(await openMenus(page), 0, 'menus open after Escape');
}

// ---------------------------------------------------------------------------------------------
// The tests

// The devices the page is tried on, as puppeteer emulates them.
export const DEVICES = {
    phone: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    tablet: { width: 1024, height: 768, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
    desktop: { width: 1366, height: 768, deviceScaleFactor: 1 },
};

const CHROMIUM_ARGS = ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'];

// Chromium as the tests drive it; `args` adds to its command line.
export async function launchChromium(args = []) {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        headless: true,
        args: [...CHROMIUM_ARGS, `--user-data-dir=${profile}`, ...args],
    });
    return { browser, profile };
}

// Firefox over WebDriver BiDi (puppeteer makes its own profile).
async function launchFirefox() {
    const browser = await puppeteer.launch({
        browser: 'firefox',
        protocol: 'webDriverBiDi',
        executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
        headless: true,
    });
    return { browser, profile: null };
}


// One server for a whole test file, and one browser of each kind it uses, started by its first
// test that needs it (firefox takes seconds to start).
let site = null;
const sessions = {};

// The site's address, served for as long as the test file runs.
export async function siteUrl() {
    site ??= serve(siteDir);
    return `http://127.0.0.1:${(await site).address().port}/`;
}

async function open(kind) {
    const url = await siteUrl();
    const { browser, profile } = kind === 'firefox' ? await launchFirefox() : await launchChromium();
    return { profile, browser, url };
}

after(async () => {
    if (site) (await site).close();
    for (const session of Object.values(sessions)) {
        const { profile, browser } = await session;
        await browser.close();
        if (profile) fs.rmSync(profile, { recursive: true, force: true });
    }
});

// A test on a fresh page, loaded and ready; `fn(page, errors)`. Whatever it does, the page must
// log no console error. `options`: `browser` 'chromium' (the default) or 'firefox'; `device`, a
// name from DEVICES to emulate; `media`, CSS media features to emulate (chromium only), as
// [{ name: 'prefers-contrast', value: 'more' }]; `beforeLoad(page)`, run before the page loads.
export function pageTest(name, fn, options = {}) {
    const { browser: kind = 'chromium', device, media, beforeLoad } = options;
    test(name, async () => {
        sessions[kind] ??= open(kind);
        const { browser, url } = await sessions[kind];
        const page = await browser.newPage();
        const errors = [];
        page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
        page.on('pageerror', (e) => errors.push(String(e)));
        try {
            if (device) await page.emulate({ viewport: DEVICES[device], userAgent: await browser.userAgent() });
            if (media) await emulateMedia(page, media);
            if (beforeLoad) await beforeLoad(page);
            await page.goto(url, { waitUntil: 'load' });
            await page.evaluate(() => window.quorvale.ready);
            await fn(page, errors);
            assert.ok(errors.length === 0, `console errors: ${errors.join('; ')}`);
        } finally {
            await page.close();
        }
    });
}

// Puppeteer's own emulateMediaFeatures knows only a few features; DevTools knows them all.
async function emulateMedia(page, features) {
    const client = await page.createCDPSession();
    await client.send('Emulation.setEmulatedMedia', { features });
}
