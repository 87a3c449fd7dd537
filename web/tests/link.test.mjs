// A game shared as a link: made by "Share" in the page or by quorvale-script --link, opened in a
// fresh page, and read by the driver, always to the same state; a bad link is one message.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {
    drive, driver, expectedDumps, pageTest, script, testsDir, typeInCheatBox, waitForBox,
} from './helpers.mjs';

// The recording in a link, unpacked by Node's own zlib rather than the page's code.
function recordingIn(link) {
    const fragment = new URL(link).hash;
    assert.match(fragment, /^#r1:[A-Za-z0-9_-]+$/, 'the fragment: r1, then base64url without padding');
    return zlib.inflateRawSync(Buffer.from(fragment.slice(4), 'base64url')).toString('utf8');
}

// Plays a little, with a loss answered Yes, and shares: the link and the state it was made in.
async function playAndShare(page) {
    await page.keyboard.press('Space');
    await page.keyboard.press('ArrowLeft');
    await new Promise((r) => setTimeout(r, 150));
    for (const k of ['ArrowUp', 'ArrowUp']) await page.keyboard.press(k);
    await waitForBox(page, 'GAME OVER');
    await page.keyboard.press('Enter');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-yes');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    await page.keyboard.press('Space');
    await page.keyboard.press('ArrowRight');
    // Held, so that the state and the recording are taken at the same tick.
    await page.evaluate(() => window.quorvale.holdClock(true));
    const shared = await page.evaluate(async () => {
        const { recording, dump } = await window.quorvale.snapshot();
        return { recording, state: dump };
    });
    await page.click('#share');
    await page.waitForFunction(() => document.getElementById('share-link').value !== '');
    const link = await page.$eval('#share-link', (f) => f.value);
    assert.ok(await page.$eval('#share-link', (f) => !f.hidden && document.activeElement === f &&
        f.selectionEnd - f.selectionStart === f.value.length), 'the link shown, selected');
    assert.equal(recordingIn(link), shared.recording, 'the link holds what "Save recording" saves');
    return { link, state: shared.state };
}

// Opens `link` as a new load of the page (not a jump within it) and waits for it to be ready.
async function load(page, link) {
    await page.goto('about:blank');
    await page.goto(link, { waitUntil: 'load' });
    await page.evaluate(() => window.quorvale.ready);
}

const sharedLine = (page) => page.$eval('#shared', (p) => (p.hidden ? null : p.textContent.trim()));

// Replays a shared game to its end; what its closing `dump` printed, taken before the page's
// own clock (the player's again) can move anything.
async function replayShared(page, link, { skip = false } = {}) {
    const dumps = [];
    page.on('console', (m) => { if (m.type() === 'log' && m.text().endsWith('--')) dumps.push(m.text()); });
    await load(page, link);
    await page.waitForFunction(() => window.quorvale.replaying, { timeout: 5000 });
    assert.equal(await page.title(), 'Maze - replaying a shared game · Quorvale', 'title while replaying');
    assert.match(await sharedLine(page), /shared game/, 'the line above the game');
    if (skip) await page.click('#skip');
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: skip ? 20000 : 15000 });
    const after = await sharedLine(page);
    assert.ok(after === null || /^That was the shared game\. Race it, or play on\./.test(after),
        `the line gone once the game is the player's, or offering a race: ${after}`);
    assert.ok(dumps.length > 0, 'the recording\'s closing dump ran');
    return dumps.at(-1).slice(0, -2);
}

pageTest('GameSharedFromThePageReplaysInAFreshPageToTheSameState', async (page) => {
    const { link, state } = await playAndShare(page);
    assert.ok(link.startsWith(page.url().split('#')[0] + '#r1:'), 'the link is the page\'s address');
    assert.equal(await replayShared(page, link), state, 'state at the end of the replay');
});

pageTest('WindowRecordingLinkedByTheDriverReplaysInThePageToTheDriversState', async (page) => {
    const file = path.join(testsDir, 'window-recording.script');
    const link = execFileSync(driver, ['--link', '--base', page.url(), file], { encoding: 'utf8' }).trim();
    // Some 48 s of play: skipped to its end once it has begun.
    assert.equal(await replayShared(page, link, { skip: true }), drive(file).dumps.at(-1),
        'state at the end');
});

pageTest('LinkMadeInThePageReplaysInTheDriverToThePagesState', async (page) => {
    const { link, state } = await playAndShare(page);
    const out = execFileSync(driver, [link], { encoding: 'utf8' });
    assert.equal(expectedDumps(out).at(-1), state, 'the driver\'s state');
});

// With both timers stopped the page's recording still keeps the game's time, as the window's
// does: keys a second apart are a second of the clock's ticks apart, and a link of it replays
// them at the pace they were played.
pageTest('RecordingKeepsThePaceWhileNoTimerRuns', async (page) => {
    await typeInCheatBox(page, 'iceclock');
    await page.click('#cmdstart');
    const pressed = [];
    // A pause before every key, the first too: a key straight after the click may come within
    // the same tick, with no wait before it.
    for (const k of ['ArrowRight', 'ArrowLeft', 'ArrowRight']) { // a step and back: nothing is hit
        await new Promise((r) => setTimeout(r, pressed.length > 0 ? 1000 : 300));
        await page.keyboard.press(k);
        pressed.push(Date.now());
    }
    const recording = await page.evaluate(async () => {
        await window.quorvale.caughtUp();
        return window.quorvale.recording();
    });
    const played = recording.slice(recording.indexOf('click cmdstart'));
    const waits = [...played.matchAll(/^wait (\d+)\nkey 3[79]$/gm)].map((m) => Number(m[1]));
    assert.equal(waits.length, 3, `a wait before each key\n${played}`);
    // 64 ticks a second, give or take a quarter of a second for the way the keys went.
    for (const i of [1, 2]) {
        const ticks = (pressed[i] - pressed[i - 1]) * 64 / 1000;
        assert.ok(Math.abs(waits[i] - ticks) <= 16,
            `wait before key ${i + 1}: ${waits[i]}, ${ticks.toFixed(0)} ticks of time passed\n${played}`);
    }
    await page.click('#share');
    await page.waitForFunction(() => document.getElementById('share-link').value !== '');
    const link = await page.$eval('#share-link', (f) => f.value);
    const recorded = [...recordingIn(link).matchAll(/^wait (\d+)$/gm)].reduce((n, m) => n + Number(m[1]), 0);
    const began = Date.now();
    await load(page, link);
    await page.waitForFunction(() => window.quorvale.replaying, { timeout: 5000 });
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: 20000 });
    const took = Date.now() - began;
    assert.ok(took >= recorded * 1000 / 64 * 0.9, `the replay took ${took} ms for ${recorded} ticks`);
});

// A link the page cannot read says so once, above the game; nothing is replayed and the game is
// the player's, with no error in the console (the helper checks that).
const badLinks = {
    Truncated: (link) => link.slice(0, Math.floor(link.length / 2)),
    Corrupted: (link) => link.slice(0, -40) + 'AAAAAAAA' + link.slice(-32),
    Oversized: (link) => link.split('#')[0] + '#r1:' + 'A'.repeat(1_500_000),
};
for (const [name, spoil] of Object.entries(badLinks)) {
    pageTest(`${name}LinkSaysWhyAndLeavesTheGamePlayable`, async (page, errors) => {
        page.on('dialog', (d) => {
            errors.push(`a dialog: ${d.message()}`);
            d.dismiss();
        });
        const good = execFileSync(driver, ['--link', '--base', page.url(), '-'],
            { encoding: 'utf8', input: script('win.script') }).trim();
        await load(page, spoil(good));
        await page.waitForFunction(() => !document.getElementById('shared').hidden, { timeout: 5000 });
        assert.match(await sharedLine(page), /^This link cannot be replayed: \S/, 'the message');
        assert.equal(await page.$eval('#skip', (b) => b.hidden), true, 'nothing to skip');
        assert.equal(await page.evaluate(() => window.quorvale.replaying), false, 'nothing replayed');
        assert.equal(await page.title(), 'Maze · Quorvale', 'title');
        const before = await page.evaluate(() => window.quorvale.dump());
        await page.keyboard.press('Space');
        await page.keyboard.press('ArrowLeft');
        await page.waitForFunction(() => !window.quorvale.busy);
        const after = await page.evaluate(() => window.quorvale.dump());
        assert.match(after, /^cmdstart\.Visible false$/m, 'the start button took the key');
        assert.notEqual(after.match(/^shpyou\.Left .*$/m)[0], before.match(/^shpyou\.Left .*$/m)[0],
            'the piece moved');
    });
}

// One table of links no reader opens, read by the driver (script/link.cpp) and by the page's
// link.js in the browser, whose own DEFLATE streams it uses: each is refused by both in the
// same words. A fragment past 1 MB is no argument a program can be given; the page's refusal of
// it is tested above (Oversized), the driver's in tests/test_link.cpp.
pageTest('DriverAndPageRefuseEachBadLinkWithTheSameMessage', async (page) => {
    const base = 'http://127.0.0.1:8000/';
    const good = execFileSync(driver, ['--link', '--base', base, '-'],
        { encoding: 'utf8', input: 'click cmdstart\nkey 37\nwait 64\ndump\n' }).trim();
    const data = good.slice(good.indexOf('#r1:') + 4);
    const past16MiB = zlib.deflateRawSync(Buffer.alloc(16 * 1024 * 1024 + 1, '#'), { level: 9 });
    const rows = {
        NoFragment: base,
        OtherPage: `${base}#top`,
        LaterFormat: `${base}#r2:${data}`,
        PaddedBase64: `${good}==`,
        PlainBase64Alphabet: `${base}#r1:ab+/`,
        LoneLastCharacter: `${base}#r1:abcde`,
        Truncated: good.slice(0, -4),
        ReservedBlockType: `${base}#r1:_w`, // a last block of type 3, which no compressor writes
        TrailingBytes: `${good}AAAA`,
        TextPast16MiB: `${base}#r1:${past16MiB.toString('base64url')}`,
    };
    const fragments = Object.values(rows).map((link) => (link.includes('#') ? link.slice(link.indexOf('#')) : ''));
    const source = fs.readFileSync(path.join(testsDir, '..', 'page', 'link.js'), 'utf8');
    const fromPage = await page.evaluate(async (text, hashes) => {
        const { readFragment } = await import(URL.createObjectURL(new Blob([text], { type: 'text/javascript' })));
        const refusals = [];
        for (const hash of hashes)
            refusals.push(await readFragment(hash).then(() => '(read)', (error) => error.message));
        return refusals;
    }, source, fragments);
    Object.entries(rows).forEach(([name, link], i) => {
        const run = spawnSync(driver, [link], { encoding: 'utf8' });
        assert.equal(run.status, 2, `${name}: the driver's exit status`);
        assert.equal(fromPage[i], run.stderr.replace(/^quorvale-script: /, '').trimEnd(), name);
    });
});
