// The page in WebKit (WebKitGTK's MiniBrowser over WebDriver), the engine of every browser on an
// iPhone or iPad: it loads cleanly, a whole game is won and a loss answered by keys, a shared link
// replays to the driver's state, and the menus are used from the keyboard.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { after, before, test } from 'node:test';
import {
    KEY_NAMES, answerAWinByEnter, drive, driver, dumpValue, focusedId, pixelAt, routeKeys, script,
    scriptsDir, serve, siteDir, useMenusByKeys, waitForBox,
} from './helpers.mjs';
import { Session, miniBrowser, startWebKit } from './webdriver.mjs';
import path from 'node:path';

// WebDriver has no way to hear the console: the page's own console is watched from its first
// script, the dumps of a replay as much as the errors.
const WATCH_CONSOLE = `<script>
window.consoleErrors = [];
window.consoleLines = [];
for (const [kind, list] of [['error', consoleErrors], ['log', consoleLines]]) {
    const original = console[kind].bind(console);
    console[kind] = (...parts) => { list.push(parts.join(' ')); original(...parts); };
}
addEventListener('error', (e) => consoleErrors.push(String(e.message)));
addEventListener('unhandledrejection', (e) => consoleErrors.push(String(e.reason)));
</script>`;

let webkit = null;
let server = null;
let session = null;
let url = null;

before(async () => {
    assert.ok(miniBrowser, 'MiniBrowser of webkit2gtk-4.1 (package libwebkit2gtk-4.1-0)');
    server = await serve(siteDir, WATCH_CONSOLE);
    url = `http://127.0.0.1:${server.address().port}/`;
    webkit = await startWebKit();
    session = await Session.open(webkit.base);
});

after(async () => {
    if (session) await session.close().catch(() => {});
    webkit?.close();
    server?.close();
});

async function load(address = url) {
    await session.goto('about:blank');
    await session.goto(address);
    await session.evaluate(() => window.quorvale.ready);
}

// A test on a fresh load of the page, which must log no error whatever the test does.
function webkitTest(name, fn) {
    test(name, async () => {
        await load();
        await fn(session);
        const errors = await session.evaluate(() => window.consoleErrors);
        assert.deepEqual(errors, [], 'console errors');
    });
}

webkitTest('WebKitLoadsThePageWithoutConsoleErrors', async (page) => {
    assert.equal(await page.title(), 'Maze · Quorvale', 'title');
    assert.equal(await focusedId(page), 'cmdstart', 'focus at the start');
});

webkitTest('WebKitPlaysAWholeGameByKeys', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.click('#cmdstart');
    assert.equal(await focusedId(page), 'board', 'focus in play');
    // The step onto the goal is judged at the next key.
    await page.keys([...routeKeys(script('win.script')).map((code) => KEY_NAMES[code]), 'Space']);
    await answerAWinByEnter(page);
});

// Up steps half off the board, the second Up judges it; No is chosen with the arrows and taken
// back, and each box is answered by its own buttons' keys.
webkitTest('WebKitAnswersALossByItsBox', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.keys(['Space', 'ArrowUp', 'ArrowUp']);
    await waitForBox(page, 'GAME OVER');
    assert.equal(await focusedId(page), 'msgbox-yes', 'focus in the box');
    await page.keys(['ArrowRight']);
    assert.equal(await focusedId(page), 'msgbox-no', 'focus after Right');
    await page.keys(['Escape', 'ArrowLeft', 'Enter']);
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-yes');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'setup after Yes');
    assert.equal(await dumpValue(page, 'shpyou.Top'), '240', 'the piece back at the start');
});

webkitTest('WebKitReplaysASharedLinkToTheDriversState', async (page) => {
    const file = path.join(scriptsDir, 'skipjump.script');
    const link = execFileSync(driver, ['--link', '--base', url, file], { encoding: 'utf8' }).trim();
    await load(link);
    await page.waitForFunction(() => window.quorvale.replaying);
    assert.equal(await page.title(), 'Maze - replaying a shared game · Quorvale', 'title while replaying');
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: 20000 });
    const dumps = (await page.evaluate(() => window.consoleLines)).filter((l) => l.endsWith('--'));
    assert.ok(dumps.length > 0, 'the recording\'s closing dump ran');
    assert.equal(dumps.at(-1).slice(0, -2), drive(file).dumps.at(-1), 'state at the end');
});

// Skip pressed as soon as the line offers it, which in WebKit is before the rules' worker has
// begun the replay: the rest still comes at once, not at the recording's pace (some 20 s).
webkitTest('WebKitSkipsASharedGameAsSoonAsItIsOffered', async (page) => {
    const file = path.join(scriptsDir, 'race-win.script');
    const link = execFileSync(driver, ['--link', '--base', url, file], { encoding: 'utf8' }).trim();
    await load(link);
    await page.waitForFunction(() => !document.getElementById('skip').hidden && window.quorvale.replaying);
    await page.evaluate(() => document.getElementById('skip').click());
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: 8000 });
});

// The ghost's piece is drawn see-through by the canvas's own paths (a ring around its fill):
// WebKit draws it over the board's grey as the others do.
webkitTest('WebKitRacesASharedLinkWithItsGhostDrawn', async (page) => {
    const file = path.join(scriptsDir, 'skipjump.script');
    const link = execFileSync(driver, ['--link', '--base', url, file], { encoding: 'utf8' }).trim();
    await load(link);
    await page.waitForFunction(() => !document.getElementById('race-shared').hidden);
    await page.click('#race-shared');
    await page.waitForFunction(() => document.getElementById('race-line').textContent ===
        'Ghost won in 0.00 s (cheat) \u00b7 Start to race it', { timeout: 20000 });
    // Waiting at its start, nine steps right of the goal after the code.
    const seen = await pixelAt(page, 8640 + 187, 240 + 187);
    const [r, g, b] = [1, 3, 5].map((i) => parseInt(seen.slice(i, i + 2), 16));
    assert.ok(Math.abs(r - 100) <= 2 && Math.abs(g - 227) <= 2 && Math.abs(b - 100) <= 2,
        `green over the board's grey, half and half: ${seen}`);
});

webkitTest('WebKitTakesTheMenusFromTheKeyboard', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await useMenusByKeys(page);
});

// WebKit measures an element under CSS zoom in its own pixels: at a scale below one the box
// must still stand over the middle of the game, where the stage (never zoomed) has it.
webkitTest('WebKitCentresABoxOverTheScaledGame', async (page) => {
    const size = await page.call('GET', '/window/rect');
    await page.call('POST', '/window/rect', { width: 600, height: 700 });
    try {
        await load();
        await page.evaluate(() => window.quorvale.holdClock(true));
        assert.ok(await page.evaluate(() => Number(document.getElementById('window').style.zoom) < 0.95),
            'the game scaled down');
        await page.keys(['Space', 'ArrowUp', 'ArrowUp']);
        await waitForBox(page, 'GAME OVER');
        const [box, game] = await page.evaluate(() => ['msgbox', 'stage'].map((id) => {
            const r = document.getElementById(id).getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];
        }));
        assert.ok(Math.abs(box[0] - game[0]) <= 1 && Math.abs(box[1] - game[1]) <= 1,
            `box centred at ${box}, the game's middle at ${game}`);
    } finally {
        await page.call('POST', '/window/rect', { width: size.width, height: size.height });
    }
});
