// The browser edition in Debian's chromium, headless, driven over the DevTools protocol.
// Usage: node run.mjs SITE_DIR SCRIPTS_DIR [NAME_FILTER]
import http from 'node:http';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const [siteDir, scriptsDir, filter] = process.argv.slice(2);
if (!siteDir || !scriptsDir) {
    console.error('usage: node run.mjs SITE_DIR SCRIPTS_DIR [NAME_FILTER]');
    process.exit(2);
}

const testsDir = path.dirname(fileURLToPath(import.meta.url));
// The script driver, for what a script must end in; scripts/test-web builds it where it is missing.
const driver = process.env.QUORVALE_SCRIPT ||
    path.join(testsDir, '..', '..', 'build', 'default', 'app', 'quorvale-script');

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

const script = (name) => fs.readFileSync(path.join(scriptsDir, name), 'utf8');

// The keys of a script's `key` lines, in order, up to its first `dump`.
function routeKeys(text) {
    const keys = [];
    for (const line of text.split('\n')) {
        if (line.startsWith('dump')) break;
        const m = /^key (\d+)$/.exec(line);
        if (m) keys.push(Number(m[1]));
    }
    return keys;
}

const KEY_NAMES = { 37: 'ArrowLeft', 38: 'ArrowUp', 39: 'ArrowRight', 40: 'ArrowDown', 32: 'Space' };

// The dumps in a driver's output, without their closing "--".
function expectedDumps(text) {
    return text.split('--\n').slice(0, -1).map((block) =>
        block.split('\n').filter((l) => l && !l.startsWith('msgbox ') && l !== 'end').join('\n') + '\n');
}

// What quorvale-script shows for a script file: its message boxes with their answers, as it
// prints them, and its dumps.
function drive(file) {
    const out = execFileSync(driver, [file], { encoding: 'utf8' });
    return { boxes: out.split('\n').filter((l) => l.startsWith('msgbox ')), dumps: expectedDumps(out) };
}

const quote = (text) => '"' + text.replace(/[\\"]/g, (c) => '\\' + c) + '"';

// From here on the page writes down each message box and its answer as the driver prints them.
async function logBoxes(page) {
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

async function loggedBoxes(page) {
    const log = await page.evaluate(() => window.boxLog);
    return log.map((b) => `msgbox ${b.style} ${quote(b.title)} ${quote(b.prompt)} -> ${b.answer}`);
}

function assert(condition, message) {
    if (!condition) throw new Error(message);
}

function assertEqual(actual, expected, what) {
    if (actual !== expected)
        throw new Error(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
}

async function dumpValue(page, name) {
    const dump = await page.evaluate(() => window.quorvale.dump());
    const line = dump.split('\n').find((l) => l.startsWith(name + ' '));
    return line === undefined ? undefined : line.slice(name.length + 1);
}

async function boxTitle(page) {
    return page.evaluate(() => (window.quorvale.boxOpen ? document.getElementById('msgbox-title').textContent : null));
}

async function waitForBox(page, title) {
    await page.waitForFunction((t) => window.quorvale.boxOpen &&
        document.getElementById('msgbox-title').textContent === t, { timeout: 5000 }, title);
}

async function focusedId(page) {
    return page.evaluate(() => document.activeElement && document.activeElement.id);
}

// The colour of the board's canvas at a point in twips, after the next frame.
async function pixelAt(page, xTwips, yTwips) {
    return page.evaluate(async (x, y) => {
        await new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));
        const canvas = document.getElementById('board');
        const ratio = canvas.width / 670;
        const data = canvas.getContext('2d').getImageData(Math.floor(x / 15 * ratio), Math.floor(y / 15 * ratio), 1, 1).data;
        return '#' + [data[0], data[1], data[2]].map((v) => v.toString(16).padStart(2, '0')).join('');
    }, xTwips, yTwips);
}

async function typeInCheatBox(page, text) {
    await page.click('#txtcheat', { clickCount: 3 }); // whatever is there is replaced
    assertEqual(await focusedId(page), 'txtcheat', 'focus after clicking the cheat box');
    await page.keyboard.type(text);
    assertEqual(await page.$eval('#txtcheat', (t) => t.value), ' ', `cheat box after typing ${text}`);
}

// ---------------------------------------------------------------------------------------------
// The tests

const tests = [];
const test = (name, fn) => tests.push({ name, fn });

test('PageLoadsWithoutConsoleErrors', async (page, errors) => {
    assertEqual(await page.title(), 'Maze', 'title');
    assertEqual(await focusedId(page), 'cmdstart', 'focus at the start');
    const name = await page.evaluate(() => document.getElementById('cmdstart').getAttribute('aria-label'));
    assertEqual(name, 'Start', 'the start button\'s accessible name');
    const captions = await page.$$eval('#menubar button', (b) => b.map((x) => x.textContent));
    assertEqual(captions.join('|'), 'File|Start Over|Quit|Edit|Your Shape|Square|Circle|rounded Square|' +
        'Ball Colour|Red|Blue|Green|BackGround|Yellow|orange|Help|About', 'menu captions');
    assert(errors.length === 0, `console errors: ${errors.join('; ')}`);
});

test('CanvasHasTheWindowsColours', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    for (const [what, x, y, colour] of [
        ['the window', 10000, 8650, '#800000'],
        ['the board', 3000, 7800, '#c8c8c8'],
        ['the board\'s border', 1922, 4000, '#000000'],
        ['a wall (shp1)', 2900, 4330, '#000000'],
        ['the goal', 6787, 427, '#ff00ff'],
        ['the piece', 5947, 427, '#00ff00'],
        ['a marker', 4327, 2167, '#ffffe1'],
        ['the label', 100, 1000, '#800000'],
    ])
        assertEqual(await pixelAt(page, x, y), colour, `colour of ${what}`);
    // The balls patrol from the start: look where the first one is now.
    const ballTop = Number(await dumpValue(page, 'shpball1.Top'));
    assertEqual(await pixelAt(page, 2227, ballTop + 187), '#000000', 'colour of a ball');
    // Drawn over the goal, the piece shows on top.
    await page.evaluate(() => { window.quorvale.edit('skipjump'); });
    assertEqual(await pixelAt(page, 8827, 427), '#00ff00', 'the piece after skipjump');
});

test('SpaceOnTheStartButtonStartsPlay', async (page) => {
    // The arrow keys do nothing while the start button holds the focus.
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowLeft');
    assertEqual(await focusedId(page), 'cmdstart', 'focus after arrows');
    assertEqual(await dumpValue(page, 'shpyou.Left'), '5760', 'piece after arrows in setup');
    // A click on an option leaves the focus on the start button.
    await page.click('#optblue-label');
    assertEqual(await focusedId(page), 'cmdstart', 'focus after clicking an option');
    assertEqual(await dumpValue(page, 'optblue.Value'), 'true', 'option chosen');
    // Tab reaches the options; there the arrow keys move the selection and raise its click.
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assertEqual(await focusedId(page), 'optblue', 'focus after Shift+Tab from Start (the chosen option)');
    await page.keyboard.press('ArrowDown');
    assertEqual(await focusedId(page), 'optyellow', 'focus after Down from Blue');
    assertEqual(await dumpValue(page, 'optyellow.Value'), 'true', 'option chosen with the keys');
    assertEqual(await dumpValue(page, 'shpborder.BorderColor'), '0x0000FFFF', 'border after Yellow');
    await page.focus('#cmdstart');
    const scroll = await page.evaluate(() => window.scrollY);
    await page.keyboard.press('Space');
    assertEqual(await dumpValue(page, 'cmdstart.Visible'), 'false', 'start button after Space');
    assertEqual(await focusedId(page), 'board', 'focus in play');
    await page.keyboard.press('ArrowDown');
    assertEqual(await dumpValue(page, 'shpyou.Top'), '440', 'piece after Down in play');
    assertEqual(await page.evaluate(() => window.scrollY), scroll, 'page scroll');
    // "Start Over" in either phase leaves the focus on the start button.
    for (const phase of ['play', 'setup']) {
        if (phase === 'setup') await page.click('#txtcheat');
        await page.click('#mnufile');
        await page.click('#mnufilestart');
        assertEqual(await focusedId(page), 'cmdstart', `focus after Start Over in ${phase}`);
    }
});

async function winOnce(page, keys) {
    // The balls stop for the cheat code, so only the walls matter, as in the script.
    await typeInCheatBox(page, 'iceclock');
    assertEqual(await dumpValue(page, 'Timer1.Enabled'), 'false', 'Timer1 after iceclock');
    await page.click('#cmdstart');
    assertEqual(await focusedId(page), 'board', 'focus in play');
    for (const code of keys) await page.keyboard.press(KEY_NAMES[code]);
    await page.keyboard.press('Space'); // the step onto the goal is judged at the next key
    await waitForBox(page, ' Congratulations');
    // Enter answers the first box; still held, it must not answer the second.
    await page.keyboard.down('Enter');
    await waitForBox(page, ' Congratulations');
    await page.keyboard.down('Enter'); // an auto-repeat
    await new Promise((r) => setTimeout(r, 50));
    assertEqual(await boxTitle(page), ' Congratulations', 'second box while Enter is held');
    await page.keyboard.up('Enter');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    assertEqual(await dumpValue(page, 'cmdstart.Visible'), 'true', 'setup after Yes');
    assertEqual(await focusedId(page), 'cmdstart', 'focus after the reset');
}

test('WinningRouteTypedAsKeysWinsTwice', async (page) => {
    const keys = routeKeys(script('win.script'));
    assert(keys.length > 100, 'the route was read');
    await winOnce(page, keys);
    await winOnce(page, keys);
});

test('LossAnsweredNoEndsTheGame', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.keyboard.press('Space');
    // Held Up: the first press steps off the board, a repeat is judged and loses.
    await page.keyboard.down('ArrowUp');
    await page.keyboard.down('ArrowUp');
    await waitForBox(page, 'GAME OVER');
    for (let i = 0; i < 3; ++i) await page.keyboard.down('ArrowUp'); // repeats do not move the selection
    await page.keyboard.up('ArrowUp');
    await page.evaluate(() => { window.boxes = 0; window.quorvale.on('box', () => { ++window.boxes; }); });
    // Space answers when it is let go, as a button does.
    await page.keyboard.down('Space');
    await new Promise((r) => setTimeout(r, 50));
    assertEqual(await page.evaluate(() => window.boxes), 0, 'boxes opened while Space is down');
    await page.keyboard.up('Space'); // Yes to the first
    await waitForBox(page, 'GAME OVER');
    assertEqual(await page.evaluate(() => window.boxes), 1, 'boxes opened after Space was let go');
    const prompt = await page.$eval('#msgbox-prompt', (p) => p.textContent);
    assertEqual(prompt, 'Please Try Again', 'prompt');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('Enter'); // No to the second
    await page.waitForSelector('#ended:not([hidden])', { timeout: 5000 });
    assertEqual(await page.$eval('#ended-text', (p) => p.textContent), 'The game has ended', 'notice');
    assert(await page.$eval('#window', (w) => w.hidden), 'the game is gone');
    await page.click('#again');
    assertEqual(await dumpValue(page, 'shpyou.Top'), '240', 'a new game');
    assertEqual(await focusedId(page), 'cmdstart', 'focus in the new game');
});

test('CheatCodesWorkFromTheCheatBox', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await typeInCheatBox(page, 'gusto');
    assertEqual(await dumpValue(page, 'shpyou.FillColor'), '0x0000FFFF', 'piece after gusto');
    assertEqual(await page.$eval('#txtcheat', (t) => t.value), ' ', 'cheat box after a code');
    assertEqual(await pixelAt(page, 5947, 427), '#ffff00', 'piece drawn yellow');
    await page.keyboard.press('Backspace');
    await page.keyboard.type('skipjump');
    assertEqual(await dumpValue(page, 'shpyou.Left'), '8640', 'piece after skipjump');
    await page.keyboard.press('Backspace');
    await page.keyboard.type('Keen');
    assertEqual(await dumpValue(page, 'shpborder.FillColor'), '0x00000040', 'board after Keen');
    assertEqual(await pixelAt(page, 3000, 7800), '#400000', 'board drawn very dark red');
});

test('ClockTicks64TimesASecondAndNotWhileHidden', async (page) => {
    const count = () => page.evaluate(() => window.quorvale.clockTicks);
    const before = await count();
    await new Promise((r) => setTimeout(r, 1000));
    const perSecond = (await count()) - before;
    assert(perSecond >= 40 && perSecond <= 65, `ticks in a second: ${perSecond}`);
    assert((await dumpValue(page, 'shpball1.Top')) !== '240', 'the balls patrol before play');
    await page.evaluate(() => {
        Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
        document.dispatchEvent(new Event('visibilitychange'));
    });
    const hidden = await count();
    await new Promise((r) => setTimeout(r, 300));
    assertEqual(await count(), hidden, 'ticks while hidden');
});

test('SavedRecordingReplaysInTheDriverWithTheSameBoxesAndState', async (page) => {
    await logBoxes(page);
    // Played in real time, with the clock running: the recording must carry every tick.
    await typeInCheatBox(page, 'gusto');
    await page.click('#optred-label');
    await page.click('#mnuedit');
    await page.hover('#mnueditball');
    await page.click('#mnueditballblue');
    await new Promise((r) => setTimeout(r, 200));
    await page.keyboard.press('Space');
    for (const k of ['ArrowRight', 'ArrowDown', 'ArrowLeft', 'ArrowLeft']) {
        await page.keyboard.press(k);
        await new Promise((r) => setTimeout(r, 40));
    }
    for (const k of ['ArrowUp', 'ArrowUp', 'ArrowUp']) await page.keyboard.press(k);
    await waitForBox(page, 'GAME OVER');
    await page.keyboard.press('Enter');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-yes');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    await new Promise((r) => setTimeout(r, 150));
    // A copy taken while the game goes on ends in the state the page shows at that moment.
    const middle = await page.evaluate(() => ({
        text: window.quorvale.recording(), state: window.quorvale.dump(), boxes: window.boxLog.length,
    }));
    await page.keyboard.press('Enter');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('ArrowUp');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-no');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-no');
    await page.waitForFunction(() => window.quorvale.ended);
    const state = await page.evaluate(() => window.quorvale.dump());
    const boxes = await loggedBoxes(page);
    const recording = await page.evaluate(() => window.quorvale.recording());
    // "Save recording" downloads the same text.
    const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-downloads-'));
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.click('#save');
    const saved = path.join(downloads, 'quorvale-recording.script');
    for (let i = 0; i < 50 && !fs.existsSync(saved); ++i) await new Promise((r) => setTimeout(r, 100));
    assertEqual(fs.readFileSync(saved, 'utf8'), recording, 'the saved recording');
    // Headed as the window's recorder heads its recordings.
    const version = execFileSync(driver, ['--version'], { encoding: 'utf8' }).trim().split(' ').pop();
    assertEqual(recording.split('\n')[0], `# Recorded by quorvale ${version}`, 'first line');
    assert(/^wait \d+$/m.test(recording), 'ticks recorded as waits');
    assert(/^answer no no$/m.test(recording), 'answers recorded');
    const replayed = drive(saved);
    assertEqual(replayed.boxes.join('\n'), boxes.join('\n'), 'boxes and answers in the driver');
    assertEqual(replayed.dumps.length, 1, 'dumps in the driver');
    assertEqual(replayed.dumps[0], state, 'the driver\'s state at the end');
    const copy = path.join(downloads, 'middle.script');
    fs.writeFileSync(copy, middle.text);
    const fromMiddle = drive(copy);
    assertEqual(fromMiddle.boxes.join('\n'), boxes.slice(0, middle.boxes).join('\n'), 'boxes of the copy');
    assertEqual(fromMiddle.dumps.join(''), middle.state, 'the driver\'s state for the copy');
    fs.rmSync(downloads, { recursive: true, force: true });
    // And in the page itself, the closing `dump` runs after the end of the program.
    const result = await page.evaluate((text) => window.quorvale.replay(text, { fast: true }), recording);
    assert(!result.stoppedAtBox, 'every box answered from the recording');
    assert(await page.evaluate(() => window.quorvale.ended), 'the replay ended the program');
    assertEqual(result.dumps.join(''), state, 'the replay\'s dump');
    assertEqual(await page.evaluate(() => window.quorvale.dump()), state, 'state after the replay');
});

// A recording the window made (`quorvale --record`, played by hand under Xvfb: the cheat box, a
// border colour, a menu, a loss, a win, and a ball that ran into the piece between the clock's
// two timers, answered No to end the program) replays in the page to the driver's state.
test('WindowRecordingReplaysToTheDriversState', async (page) => {
    const file = path.join(testsDir, 'window-recording.script');
    const expected = drive(file);
    await logBoxes(page);
    const result = await page.evaluate((text) => window.quorvale.replay(text, { fast: true }),
        fs.readFileSync(file, 'utf8'));
    assert(!result.stoppedAtBox, 'every box answered from the recording');
    assert(await page.evaluate(() => window.quorvale.ended), 'the replay ended the program');
    assertEqual((await loggedBoxes(page)).join('\n'), expected.boxes.join('\n'), 'boxes and answers');
    assertEqual(result.dumps.length, expected.dumps.length, 'number of dumps');
    result.dumps.forEach((d, i) => assertEqual(d, expected.dumps[i], `dump ${i + 1}`));
    assertEqual(await page.evaluate(() => window.quorvale.dump()), expected.dumps.at(-1), 'state at the end');
});

test('ReplayFromAFilePlaysAtTheGamesPace', async (page) => {
    const text = 'click cmdstart\nwait 32\nanswer yes no\nkey 38\nkey 38\nkey 38\nwait 2\n';
    const file = path.join(os.tmpdir(), `quorvale-replay-${process.pid}.script`);
    fs.writeFileSync(file, text);
    // The same script run at once, as the driver would, gives the state to end in.
    await page.evaluate((t) => window.quorvale.replay(t, { fast: true, driver: true }), text);
    const expected = await page.evaluate(() => window.quorvale.dump());
    await page.evaluate(() => window.quorvale.startAgain());
    const began = Date.now();
    await (await page.$('#replay')).uploadFile(file);
    await page.waitForFunction(() => window.quorvale.replaying);
    assertEqual(await page.title(), `Maze - replaying ${path.basename(file)}`, 'title while replaying');
    await page.keyboard.press('ArrowRight'); // the player's keys are ignored meanwhile
    await waitForBox(page, 'GAME OVER');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: 10000 });
    fs.rmSync(file);
    const took = Date.now() - began;
    // Half a second of ticks and two boxes shown for about a second each.
    assert(took >= 2300, `the replay took ${took} ms`);
    assertEqual(await page.title(), 'Maze', 'title after the replay');
    assertEqual(await page.evaluate(() => window.quorvale.dump()), expected, 'state after the replay');
});

// How a replay meets the boxes: a recorded `close` ends the program there as the window closed
// behind the box would (and the closing dump still runs); a box with no answer left is the
// player's, and so is the game from there.
test('ReplayAnswersBoxesFromTheScriptUntilNoneAreLeft', async (page) => {
    await logBoxes(page);
    const closed = 'click cmdstart\nanswer close\nkey 38\nkey 38\nkey 37\nwait 3\ndump\n';
    const file = path.join(os.tmpdir(), `quorvale-closed-${process.pid}.script`);
    fs.writeFileSync(file, closed);
    const expected = drive(file);
    fs.rmSync(file);
    const result = await page.evaluate((t) => window.quorvale.replay(t, { fast: true }), closed);
    assertEqual((await loggedBoxes(page)).join('\n'), expected.boxes.join('\n'), 'boxes of a closed window');
    assert(await page.evaluate(() => window.quorvale.ended), 'the program ended at the closed box');
    assertEqual(result.dumps.join('|'), expected.dumps.join('|'), 'dump after the end');

    await page.evaluate(() => { window.boxLog = []; window.quorvale.startAgain(); });
    const unanswered = 'click cmdstart\nanswer yes\nkey 38\nkey 38\nkey 37\n';
    await page.evaluate((t) => { window.replayDone = window.quorvale.replay(t, { fast: true }); }, unanswered);
    await page.waitForFunction(() => window.boxLog.length === 2 && !window.quorvale.replaying);
    assert(await page.evaluate(() => window.quorvale.boxOpen), 'the second box waits for the player');
    assertEqual(await page.title(), 'Maze', 'title once the player has the game');
    await page.keyboard.press('KeyN');
    const result2 = await page.evaluate(() => window.replayDone);
    assert(result2.stoppedAtBox, 'the replay stopped at the box');
    assert(await page.evaluate(() => window.quorvale.ended), 'the player\'s No ended the game');
    assertEqual((await loggedBoxes(page)).map((b) => b.split(' -> ')[1]).join(' '), 'yes no', 'answers');
});

test('GoldenScriptsReplayToTheDriversState', async (page) => {
    for (const name of fs.readdirSync(scriptsDir).filter((n) => n.endsWith('.script')).sort()) {
        await page.reload();
        await page.evaluate(() => window.quorvale.ready);
        const expected = expectedDumps(fs.readFileSync(path.join(scriptsDir, name.replace(/\.script$/, '.expected')), 'utf8'));
        const result = await page.evaluate((text) => window.quorvale.replay(text, { fast: true, driver: true }), script(name));
        assertEqual(result.dumps.length, expected.length, `${name}: number of dumps`);
        result.dumps.forEach((d, i) => assertEqual(d, expected[i], `${name}: dump ${i + 1}`));
    }
});

// ---------------------------------------------------------------------------------------------

const server = await serve(siteDir);
const url = `http://127.0.0.1:${server.address().port}/`;
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-chromium-'));
const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run',
        `--user-data-dir=${profile}`],
});

let failed = 0;
for (const { name, fn } of tests) {
    if (filter && !name.includes(filter)) continue;
    const page = await browser.newPage();
    const errors = [];
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    page.on('pageerror', (e) => errors.push(String(e)));
    const began = Date.now();
    try {
        await page.goto(url, { waitUntil: 'load' });
        await page.evaluate(() => window.quorvale.ready);
        await fn(page, errors);
        assert(errors.length === 0, `console errors: ${errors.join('; ')}`);
        console.log(`ok   ${name} (${Date.now() - began} ms)`);
    } catch (e) {
        ++failed;
        console.log(`FAIL ${name}: ${e.message}`);
    }
    await page.close();
}
await browser.close();
server.close();
fs.rmSync(profile, { recursive: true, force: true });
console.log(failed ? `${failed} failed` : 'all passed');
process.exit(failed ? 1 : 0);
