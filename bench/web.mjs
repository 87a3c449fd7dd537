// The browser edition's budgets, measured in Debian's chromium, headless: the size of the page's
// files, the time from navigation to the first drawn frame, and the cost of a tick and of a
// key-press turn in the page (the rules and the page's own work after each event; the drawing
// itself waits for the next animation frame). Run by bench/web, which builds the page first.
//
//     node bench/web.mjs SITE_DIR [--markdown]
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(new URL('../web/tests/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

const site = process.argv[2];
const markdown = process.argv.includes('--markdown');
const LOADS = 11;
const EVENTS = 20000;

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.ttf': 'font/ttf', '.txt': 'text/plain' };
const server = http.createServer((req, res) => {
    const name = req.url === '/' ? 'index.html' : path.basename(new URL(req.url, 'http://x').pathname);
    fs.readFile(path.join(site, name), (err, data) => {
        if (err) { res.writeHead(404); res.end(); return; }
        res.writeHead(200, { 'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream' });
        res.end(data);
    });
});
await new Promise((r) => server.listen(0, '127.0.0.1', r));
const url = `http://127.0.0.1:${server.address().port}/`;

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const rows = [];

// Every file the page loads: the HTML, the scripts, the style sheet, the WebAssembly, the font.
const files = fs.readdirSync(site).filter((f) => !f.endsWith('.txt'));
const bytes = files.reduce((sum, f) => sum + fs.statSync(path.join(site, f)).size, 0);
rows.push(['Page files (' + files.length + ': HTML, JS, CSS, wasm, font)', '<= 1 MB (1,000,000 bytes)',
    `${bytes.toLocaleString('en')} bytes`, bytes <= 1e6]);

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-bench-'));
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', `--user-data-dir=${profile}`],
});

// Navigation to the first frame drawn on the board, each load with the cache off, so every file
// comes from the server again.
const firstFrames = [];
const loader = await browser.newPage();
await loader.setCacheEnabled(false);
for (let i = 0; i <= LOADS; ++i) {
    await loader.goto(url, { waitUntil: "load" });
    await loader.evaluate(() => window.quorvale.ready);
    await loader.waitForFunction(() => performance.getEntriesByName('quorvale-first-frame').length > 0);
    const t = await loader.evaluate(() => performance.getEntriesByName('quorvale-first-frame')[0].startTime);
    if (i > 0) firstFrames.push(t); // the first load only warms the browser up
}
await loader.close();
const ff = median(firstFrames);
rows.push(['Navigation to first drawn frame', '< 300 ms', `${ff.toFixed(1)} ms (median of ${LOADS}, ` +
    `max ${Math.max(...firstFrames).toFixed(1)} ms)`, ff < 300]);

// Ticks and key-press turns through the page's own entry points, the clock held so that only
// these reach the rules.
const page = await browser.newPage();
await page.goto(url, { waitUntil: 'load' });
await page.evaluate(() => window.quorvale.ready);
const perEvent = await page.evaluate((n) => {
    const q = window.quorvale;
    q.holdClock(true);
    const time = (f) => {
        const begin = performance.now();
        for (let i = 0; i < n; ++i) f(i);
        return (performance.now() - begin) * 1000 / n; // microseconds
    };
    const tick = [];
    const key = [];
    for (let round = 0; round < 5; ++round) tick.push(time(() => q.tick()));
    q.click('cmdstart');
    // A step left and back: nothing is hit, so every turn runs the whole key-press procedure.
    for (let round = 0; round < 5; ++round) key.push(time((i) => q.key(i % 2 ? 39 : 37)));
    const med = (xs) => xs.sort((a, b) => a - b)[2];
    return { tick: med(tick), key: med(key), left: q.dump().includes('shpyou.Left 5760') };
}, EVENTS);
rows.push(["Tick in the page (Timer1 then Timer2, with the page's work after it)", '< 10 us',
    `${perEvent.tick.toFixed(2)} us (median of 5 runs of ${EVENTS})`, perEvent.tick < 10]);
rows.push(["Key-press turn in the page (with the page's work after it)", '< 10 us',
    `${perEvent.key.toFixed(2)} us (median of 5 runs of ${EVENTS})`, perEvent.key < 10 && perEvent.left]);

await browser.close();
server.close();
fs.rmSync(profile, { recursive: true, force: true });

if (markdown) {
    console.log('| Figure | Budget | Measured | Verdict |\n|---|---|---|---|');
    for (const [f, b, m, ok] of rows) console.log(`| ${f} | ${b} | ${m} | ${ok ? 'met' : 'NOT MET'} |`);
} else {
    for (const [f, b, m, ok] of rows) console.log(`${ok ? 'met    ' : 'NOT MET'}  ${f}: ${m} (budget ${b})`);
}
process.exit(rows.every((r) => r[3]) ? 0 : 1);
