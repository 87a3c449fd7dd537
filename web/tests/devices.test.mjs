// The page on a phone, a tablet and a desktop: the game fitted whole to the screen, sharp, and
// played with what the device has (the direction pad and swipes where the pointer is a finger).
import assert from 'node:assert/strict';
import {
    DEVICES, dumpValue, focusedId, pageTest, routeKeys, script, waitForBox,
} from './helpers.mjs';

const PAD_BUTTONS = { 37: 'Left', 38: 'Up', 39: 'Right', 40: 'Down' };

// Where the game stands in the viewport, and whether its canvases have a device pixel for each
// pixel they show.
function geometry(page) {
    return page.evaluate(async () => {
        const rect = (id) => document.getElementById(id).getBoundingClientRect();
        // The board's canvas is painted in a worker: its size is the one the painter paints at.
        const board = await window.quorvale.boardPixels({ x: 0, y: 0, w: 1, h: 1 });
        const sharp = (selector, c = document.querySelector(selector)) => {
            const r = document.querySelector(selector).getBoundingClientRect();
            return r.width === 0 || Math.abs(c.width - r.width * devicePixelRatio) <= 1 &&
                Math.abs(c.height - r.height * devicePixelRatio) <= 1;
        };
        const margin = parseFloat(getComputedStyle(document.body).marginLeft);
        const pad = document.getElementById('pad');
        return {
            viewport: { width: innerWidth, height: innerHeight },
            scrollWidth: document.documentElement.scrollWidth,
            game: rect('window').toJSON(),
            stage: rect('stage').toJSON(),
            margin,
            scale: rect('window').width / document.getElementById('window').offsetWidth,
            sharp: sharp('#board', board) && sharp('#cmdstart canvas'),
            pad: !pad.hidden && pad.getBoundingClientRect().height > 0,
        };
    });
}

// The game wholly in the viewport, as large as the room allows (up to twice its size), sharp,
// with no sideways scroll; the pad where the pointer is coarse, on screen too.
function assertFitted(g, coarse, what) {
    assert.ok(g.scrollWidth <= g.viewport.width, `${what}: no sideways scroll (${g.scrollWidth})`);
    assert.ok(g.game.left >= 0 && g.game.top >= 0 && g.game.right <= g.viewport.width &&
        g.game.bottom <= g.viewport.height, `${what}: the game is on screen ${JSON.stringify(g.game)}`);
    const fills = g.stage.right >= g.viewport.width - g.margin - 2 ||
        g.stage.bottom >= g.viewport.height - g.margin - 2;
    assert.ok(fills || Math.abs(g.scale - 2) < 0.01, `${what}: the game is as large as fits (${g.scale})`);
    assert.ok(g.sharp, `${what}: drawn at the screen's own pixels`);
    assert.equal(g.pad, coarse, `${what}: the pad is shown for a finger only`);
    if (coarse) assert.ok(g.stage.bottom <= g.viewport.height && g.stage.right <= g.viewport.width,
        `${what}: the pad is on screen`);
}

for (const [device, turned] of [['phone', { width: 844, height: 390 }], ['tablet', { width: 768, height: 1024 }],
    ['desktop', { width: 3840, height: 2160 }]]) {
    pageTest(`GameFitsTheScreenWholeAndSharpOnA${device[0].toUpperCase()}${device.slice(1)}`, async (page) => {
        const coarse = Boolean(DEVICES[device].hasTouch);
        assertFitted(await geometry(page), coarse, `${device} at load`);
        // Turned, or the window resized: fitted again at once, with nothing of the game lost.
        await page.evaluate(() => window.quorvale.holdClock(true));
        await page.keyboard.press('Enter');
        const before = await page.evaluate(() => window.quorvale.dump());
        await page.setViewport({ ...DEVICES[device], ...turned });
        await page.waitForFunction((w) => document.getElementById('window').getBoundingClientRect().right <= w &&
            document.documentElement.scrollWidth <= w, {}, turned.width);
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        assertFitted(await geometry(page), coarse, `${device} turned`);
        assert.equal(await page.evaluate(() => window.quorvale.dump()), before, 'the game after turning');
    }, { device });
}

const tapPad = (page, code) => page.tap(`#pad [aria-label="${PAD_BUTTONS[code]}"]`);

// A finger's movement across the board, from its middle.
async function swipe(page, dx, dy) {
    const r = await page.$eval('#board', (b) => b.getBoundingClientRect().toJSON());
    const x = r.left + r.width / 2;
    const y = r.top + r.height / 2;
    await page.touchscreen.touchStart(x, y);
    await page.touchscreen.touchMove(x + dx, y + dy);
    await page.touchscreen.touchEnd();
}

const SWIPES = { 37: [-40, 5], 38: [3, -40], 39: [40, -3], 40: [-5, 40] };

// The winning route with the finger's own moves; every box answered by a tap.
async function winByFinger(page, move) {
    await page.evaluate(() => window.quorvale.holdClock(true));
    // A tap into the cheat box gives it the focus, and the device's keyboard types there.
    await page.tap('#txtcheat');
    assert.equal(await focusedId(page), 'txtcheat', 'focus after a tap on the cheat box');
    await page.keyboard.type('iceclock'); // the balls stop, so only the walls matter
    assert.equal(await dumpValue(page, 'Timer1.Enabled'), 'false', 'Timer1 after iceclock');
    await page.tap('#cmdstart');
    assert.equal(await focusedId(page), 'board', 'focus in play');
    const keys = routeKeys(script('win.script'));
    for (const code of keys) await move(code);
    assert.equal(await page.evaluate(() => window.quorvale.boxOpen), false, 'no box before the last step is judged');
    await move(keys.at(-1)); // the step onto the goal is judged at the next move
    await waitForBox(page, ' Congratulations');
    await page.tap('#msgbox-yes');
    await waitForBox(page, ' Congratulations');
    await page.tap('#msgbox-yes');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'setup after Yes');
}

pageTest('WholeGameIsWonByTapsOnThePad', async (page) => {
    await winByFinger(page, (code) => tapPad(page, code));
}, { device: 'phone' });

pageTest('WholeGameIsWonBySwipesOnTheBoard', async (page) => {
    // A touch that hardly moves is no swipe.
    await page.evaluate(() => window.quorvale.click('cmdstart'));
    await swipe(page, 12, 4);
    assert.equal(await dumpValue(page, 'shpyou.Top'), '240', 'piece after a short touch');
    await swipe(page, 30, 40);
    assert.equal(await dumpValue(page, 'shpyou.Top'), '240', 'piece after a slanting swipe');
    await page.evaluate(() => window.quorvale.startAgain());
    await winByFinger(page, (code) => swipe(page, ...SWIPES[code]));
}, { device: 'tablet' });

pageTest('LossIsAnsweredByTaps', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.tap('#cmdstart');
    await tapPad(page, 38); // off the board, judged at the next tap
    await tapPad(page, 38);
    await waitForBox(page, 'GAME OVER');
    const box = await page.evaluate(() => {
        const r = (id) => document.getElementById(id).getBoundingClientRect().toJSON();
        return { box: r('msgbox'), game: r('window'), yes: r('msgbox-yes'), no: r('msgbox-no'), width: innerWidth,
            height: innerHeight };
    });
    assert.ok(box.box.left >= 0 && box.box.top >= 0 && box.box.right <= box.width && box.box.bottom <= box.height,
        'the box is on screen');
    assert.ok(Math.abs(box.box.left - box.game.left - (box.game.right - box.box.right)) <= 1 &&
        Math.abs(box.box.top - box.game.top - (box.game.bottom - box.box.bottom)) <= 1, 'the box is centred on the game');
    for (const b of [box.yes, box.no]) assert.ok(b.width >= 44 && b.height >= 44, `a button of ${b.width}x${b.height}`);
    await page.tap('#msgbox-yes');
    await waitForBox(page, 'GAME OVER');
    await page.tap('#msgbox-no');
    await page.waitForSelector('#ended:not([hidden])', { timeout: 5000 });
    await page.tap('#again');
    assert.equal(await dumpValue(page, 'shpyou.Top'), '240', 'a new game');
}, { device: 'phone' });

pageTest('HeldPadButtonAnswersNoBox', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.tap('#cmdstart');
    await page.evaluate(() => { window.boxes = 0; window.quorvale.on('box', () => { ++window.boxes; }); });
    // Held Up: the first press steps off the board, the first repeat is judged and loses.
    const up = await page.$eval('#pad [aria-label="Up"]', (b) => b.getBoundingClientRect().toJSON());
    await page.touchscreen.touchStart(up.left + up.width / 2, up.top + up.height / 2);
    await waitForBox(page, 'GAME OVER');
    const top = await dumpValue(page, 'shpyou.Top');
    await new Promise((r) => setTimeout(r, 400)); // a dozen repeats' time
    await page.touchscreen.touchEnd();
    assert.equal(await page.evaluate(() => window.boxes), 1, 'boxes opened while Up was held');
    assert.equal(await dumpValue(page, 'shpyou.Top'), top, 'the piece while the box is open');
    assert.equal(await focusedId(page), 'msgbox-yes', 'Yes still selected');
    await page.tap('#msgbox-yes');
    await waitForBox(page, 'GAME OVER');
    assert.equal(await page.evaluate(() => window.boxes), 2, 'the second box after Yes');
}, { device: 'phone' });

pageTest('MenusAndBorderColoursWorkByTaps', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.tap('#optblue-label');
    assert.equal(await dumpValue(page, 'optblue.Value'), 'true', 'Blue after a tap');
    assert.equal(await focusedId(page), 'cmdstart', 'focus after tapping a colour');
    await page.tap('#mnuedit');
    await page.tap('#mnueditback');
    await page.tap('#mnueditbackorange');
    assert.equal(await page.$$eval('#menubar [role="menu"]:not([hidden])', (m) => m.length), 0, 'menus open after the tap');
    // What the rules make of orange, from its click delivered directly, is what the taps made.
    assert.equal(await dumpValue(page, 'shpborder.FillColor'), await page.evaluate(async () => {
        window.quorvale.click('mnueditbackorange');
        return (await window.quorvale.dump()).split('\n').find((l) => l.startsWith('shpborder.FillColor ')).slice(20);
    }), 'the board after orange');
}, { device: 'phone' });
