// The browser edition's budgets, measured in Debian's chromium, headless, against the site as
// scripts/web serves it (web/tools/serve.py: precompressed files, the caching headers): the bytes
// a first visit sends, the time from navigation to the first drawn frame, the cost of a tick and
// of a key-press turn in the rules' worker and a key's way there and back, a replay of a long
// `type` line, the main thread's work while the balls patrol and while nothing moves, and
// Lighthouse's scores. Run by bench/web, which builds the page first.
//
//     node bench/web.mjs SITE_DIR [--markdown]
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const require = createRequire(new URL('../web/tests/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const { default: lighthouse } = await import(pathToFileURL(require.resolve('lighthouse')));
const { default: desktopConfig } = await import(pathToFileURL(
    path.join(path.dirname(require.resolve('lighthouse/package.json')), 'core/config/desktop-config.js')));

const site = process.argv[2];
const markdown = process.argv.includes('--markdown');
const LOADS = 11;
const EVENTS = 20000;
const IDLE_SECONDS = 10;

const server = spawn('python3', [new URL('../web/tools/serve.py', import.meta.url).pathname, '0', site],
    { stdio: ['ignore', 'pipe', 'ignore'] });
const url = await new Promise((resolve, reject) => {
    server.stdout.once('data', (d) => resolve(String(d).trim()));
    server.once('exit', (code) => reject(new Error(`the server stopped (${code})`)));
});

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const kB = (n) => `${(n / 1000).toFixed(1)} kB`;
const rows = [];

// Each file of the site as built and as sent, for docs/performance.md.
const files = fs.readdirSync(site).filter((f) => !/\.(gz|br)$/.test(f)).sort();
const weights = files.map((f) => {
    const size = (suffix) => fs.statSync(path.join(site, f + suffix)).size;
    return { file: f, raw: size(''), gz: size('.gz'), br: size('.br') };
});

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-bench-'));
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', `--user-data-dir=${profile}`],
});

// A first visit: everything the page and its worker fetch until the worker has the whole build,
// counted as the network carried it (compressed, with the headers).
{
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    const cdp = await page.createCDPSession();
    await cdp.send('Network.enable');
    let sent = 0;
    let requests = 0;
    const count = (e) => { sent += e.encodedDataLength; ++requests; };
    cdp.on('Network.loadingFinished', count);
    // The worker's own fetches are another target's.
    browser.on('targetcreated', async (target) => {
        if (target.type() !== 'service_worker') return;
        const worker = await target.createCDPSession();
        await worker.send('Network.enable');
        worker.on('Network.loadingFinished', count);
    });
    await page.goto(url, { waitUntil: 'load' });
    await page.evaluate(() => window.quorvale.ready);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await new Promise((r) => setTimeout(r, 1000));
    rows.push([`Bytes sent on a first visit (${requests} responses, the worker's included)`,
        '<= 200 kB (200,000 bytes)', `${sent.toLocaleString('en')} bytes`, sent <= 200000]);
    await context.close();
}

// Navigation to the first frame drawn on the board, each load with the browser's cache off and
// the worker passed by, so every file comes from the server again.
const firstFrames = [];
const loader = await browser.newPage();
await loader.setCacheEnabled(false);
await (await loader.createCDPSession()).send('Network.setBypassServiceWorker', { bypass: true });
for (let i = 0; i <= LOADS; ++i) {
    await loader.goto(url, { waitUntil: 'load' });
    await loader.evaluate(() => window.quorvale.ready);
    await loader.waitForFunction(() => performance.getEntriesByName('quorvale-first-frame').length > 0);
    const t = await loader.evaluate(() => performance.getEntriesByName('quorvale-first-frame')[0].startTime);
    if (i > 0) firstFrames.push(t); // the first load only warms the browser up
}
await loader.close();
const ff = median(firstFrames);
rows.push(['Navigation to first drawn frame', '< 300 ms', `${ff.toFixed(1)} ms (median of ${LOADS}, ` +
    `max ${Math.max(...firstFrames).toFixed(1)} ms)`, ff < 300]);

// Ticks and key-press turns where the rules run, in the page's worker, with all that follows each
// there (the board painted, the page told what it must hear), the clock held so that only these
// reach the rules. Then single key presses from the page, each awaited: from the press to the
// page having heard the rules' answer.
const page = await browser.newPage();
await page.goto(url, { waitUntil: 'load' });
await page.evaluate(() => window.quorvale.ready);
const perEvent = await page.evaluate(async (n) => {
    const q = window.quorvale;
    q.holdClock(true);
    const med = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
    const tick = [];
    const key = [];
    for (let round = 0; round < 5; ++round) tick.push(await q.timeEvents('tick', n));
    await q.click('cmdstart');
    // A step left and back: nothing is hit, so every turn runs the whole key-press procedure.
    for (let round = 0; round < 5; ++round) key.push(await q.timeEvents('key', n));
    const turns = [];
    for (let i = 0; i < 400; ++i) {
        const begin = performance.now();
        await q.key(i % 2 ? 39 : 37);
        await q.caughtUp();
        turns.push(performance.now() - begin);
    }
    turns.sort((a, b) => a - b);
    return {
        tick: med(tick), key: med(key), left: (await q.dump()).includes('shpyou.Left 5760'),
        turn: { p50: turns[200], p99: turns[395] },
    };
}, EVENTS);
await page.close();
rows.push(["Tick in the rules' worker (Timer1 then Timer2, with the work after it)", '< 10 us',
    `${perEvent.tick.toFixed(2)} us (median of 5 runs of ${EVENTS})`, perEvent.tick < 10]);
rows.push(["Key-press turn in the rules' worker (with the work after it)", '< 10 us',
    `${perEvent.key.toFixed(2)} us (median of 5 runs of ${EVENTS})`, perEvent.key < 10 && perEvent.left]);
rows.push(['Key press from the page to its answer heard, one at a time', 'p99 < 5 ms',
    `p50 ${perEvent.turn.p50.toFixed(2)} ms, p99 ${perEvent.turn.p99.toFixed(2)} ms (400 presses)`,
    perEvent.turn.p99 < 5]);

// The page's replay of one `type` line of 100,000 characters, each typed as its own change, then
// the dump: from the page's call to its answer, and its dump against the driver's.
{
    const typed = `type "${'k'.repeat(100000)}"\ndump\n`;
    const driverPath = process.env.QUORVALE_SCRIPT ||
        new URL('../build/default/app/quorvale-script', import.meta.url).pathname;
    const expected = execFileSync(driverPath, ['-'], { input: typed, encoding: 'utf8' });
    const p = await browser.newPage();
    await p.goto(url, { waitUntil: 'load' });
    await p.evaluate(() => window.quorvale.ready);
    const { took, dumps } = await p.evaluate(async (text) => {
        const begin = performance.now();
        const result = await window.quorvale.replay(text, { fast: true });
        return { took: performance.now() - begin, dumps: result.dumps };
    }, typed);
    await p.close();
    const same = dumps.length === 1 && `${dumps[0]}--\n` === expected;
    rows.push(['Page: replay of one `type` line of 100,000 characters, with the dump', '< 2 s',
        `${(took / 1000).toFixed(2)} s${same ? '' : " (NOT the driver's dump)"}`, took < 2000 && same]);
}

// The main thread's task time (the DevTools protocol's TaskDuration: script, style, layout,
// painting, everything) over ten seconds of a page left alone: once as it opens, the balls
// patrolling, and once with both timers stopped by the cheat code, so that nothing moves.
async function mainThreadPerSecond(setup, arg) {
    const p = await browser.newPage();
    await p.setViewport({ width: 800, height: 760 });
    await p.goto(url, { waitUntil: 'load' });
    await p.evaluate(() => window.quorvale.ready);
    await p.evaluate(setup, arg);
    await new Promise((r) => setTimeout(r, 1000)); // the font, the first frames
    const cdp = await p.createCDPSession();
    await cdp.send('Performance.enable');
    const taskTime = async () => (await cdp.send('Performance.getMetrics')).metrics
        .find((m) => m.name === 'TaskDuration').value;
    const before = await taskTime();
    await new Promise((r) => setTimeout(r, IDLE_SECONDS * 1000));
    const spent = (await taskTime()) - before;
    const state = await p.evaluate(() => window.quorvale.dump());
    await p.close();
    return { perSecond: spent * 1000 / IDLE_SECONDS, state };
}
const patrol = await mainThreadPerSecond(() => {});
rows.push(['Main thread, balls patrolling', '<= 15 ms/s', `${patrol.perSecond.toFixed(2)} ms/s ` +
    `(over ${IDLE_SECONDS} s)`, patrol.perSecond <= 15 && patrol.state.includes('Timer1.Enabled true')]);
const still = await mainThreadPerSecond(() => { window.quorvale.edit('iceclock'); });
rows.push(['Main thread, both timers stopped (iceclock), no input', '<= 2 ms/s',
    `${still.perSecond.toFixed(2)} ms/s (over ${IDLE_SECONDS} s)`,
    still.perSecond <= 2 && still.state.includes('Timer1.Enabled false') &&
    still.state.includes('Timer2.Enabled false')]);

// A race on top of the patrol: the ghost of a won game of some 16 s moving with every tick, its
// line below the game changing with the running times.
const raced = fs.readFileSync(new URL('../tests/scripts/race-win.script', import.meta.url), 'utf8');
const race = await mainThreadPerSecond(async (text) => {
    await window.quorvale.race(text);
    window.quorvale.click('cmdstart');
}, raced);
rows.push(['Main thread, racing a ghost with the balls patrolling', '<= 15 ms/s',
    `${race.perSecond.toFixed(2)} ms/s (over ${IDLE_SECONDS} s)`,
    race.perSecond <= 15 && race.state.includes('Timer1.Enabled true')]);

// Lighthouse on a first visit (it clears the site's storage and caches before each run), on its
// throttled phone and on the desktop.
const port = Number(new URL(browser.wsEndpoint()).port);
const scores = {};
for (const [form, config] of [['mobile', undefined], ['desktop', desktopConfig]]) {
    const result = await lighthouse(url, {
        port, output: 'json', logLevel: 'error',
        onlyCategories: ['performance', 'best-practices', 'seo'],
    }, config);
    const { categories, audits } = result.lhr;
    scores[form] = Object.fromEntries(Object.entries(categories).map(([k, v]) => [k, Math.round(v.score * 100)]));
    scores[form].lcp = audits['largest-contentful-paint'].numericValue;
    scores[form].failing = Object.values(audits)
        .filter((a) => a.score !== null && a.score < 1 && a.scoreDisplayMode !== 'informative' &&
            a.scoreDisplayMode !== 'manual' && a.scoreDisplayMode !== 'notApplicable')
        .map((a) => a.id);
}
const lh = (form, budget) => {
    const s = scores[form];
    const ok = s.performance >= budget && s['best-practices'] === 100 && s.seo === 100;
    rows.push([`Lighthouse 12, ${form}: performance, best practices, SEO`, `>= ${budget}, 100, 100`,
        `${s.performance}, ${s['best-practices']}, ${s.seo} (largest contentful paint ` +
        `${(s.lcp / 1000).toFixed(2)} s${ok ? '' : `; below 1: ${s.failing.join(', ')}`})`, ok]);
};
lh('mobile', 98);
lh('desktop', 100);

await browser.close();
server.kill();
fs.rmSync(profile, { recursive: true, force: true });

if (markdown) {
    console.log('| File | Built | gzip | brotli |\n|---|---|---|---|');
    for (const w of weights) console.log(`| \`${w.file}\` | ${kB(w.raw)} | ${kB(w.gz)} | ${kB(w.br)} |`);
    const total = (k) => kB(weights.reduce((s, w) => s + w[k], 0));
    console.log(`| all ${weights.length} | ${total('raw')} | ${total('gz')} | ${total('br')} |\n`);
    console.log('| Figure | Budget | Measured | Verdict |\n|---|---|---|---|');
    for (const [f, b, m, ok] of rows) console.log(`| ${f} | ${b} | ${m} | ${ok ? 'met' : 'NOT MET'} |`);
} else {
    for (const [f, b, m, ok] of rows) console.log(`${ok ? 'met    ' : 'NOT MET'}  ${f}: ${m} (budget ${b})`);
}
process.exit(rows.every((r) => r[3]) ? 0 : 1);
