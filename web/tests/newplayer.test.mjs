// What a new player meets first: a box that never opens under a finger still on the pad, menus
// and setup controls a finger can use, the About text readable on a phone, the bar below the game
// in view on every screen, and a finished page once the program has ended.
import assert from 'node:assert/strict';
import { DEVICES, boxTitle, dumpValue, focusedId, pageTest, playAsPlayer, routeKeys, script, waitForBox } from './helpers.mjs';

const TARGET = 24; // CSS pixels a finger's target reaches at least
const FINGER_ROW = 44;
const ZOOM_ROUNDING = 0.05; // the menu bar's zoom undoes the window's only to the browser's precision

const meets = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
const rectOf = (page, selector) => page.$eval(selector, (e) => e.getBoundingClientRect().toJSON());

// A lost game's first box, or a won game's (the clock held, so only the walls matter).
const ENDINGS = {
    loss: {
        title: 'GAME OVER',
        play: (page) => page.evaluate(() => { window.quorvale.key(38); window.quorvale.key(38); }),
    },
    win: {
        title: ' Congratulations',
        play: (page) => page.evaluate((route) => { for (const code of [...route, 32]) window.quorvale.key(code); },
            routeKeys(script('win.script'))),
    },
};

for (const [ending, turned] of [['loss', false], ['win', false], ['loss', true]]) {
    const name = `BoxAfterA${ending[0].toUpperCase()}${ending.slice(1)}${turned ? 'OnATurnedPhone' : ''}` +
        'LiesOffThePadAndTapsThereAnswerNothing';
    pageTest(name, async (page) => {
        if (turned) await page.setViewport({ ...DEVICES.phone, width: 844, height: 390 });
        await page.evaluate(() => window.quorvale.holdClock(true));
        await page.tap('#cmdstart');
        const { title, play } = ENDINGS[ending];
        await play(page);
        await waitForBox(page, title);
        const box = await rectOf(page, '#msgbox');
        const game = await rectOf(page, '#window');
        assert.ok(meets(box, game), 'the box stands over the game');
        const pads = await page.$$eval('#pad button', (bs) => bs.map((b) => b.getBoundingClientRect().toJSON()));
        assert.equal(pads.length, 4, 'pad buttons');
        for (const pad of pads) assert.ok(!meets(box, pad), `the box ${JSON.stringify(box)} meets ${JSON.stringify(pad)}`);
        const before = await page.evaluate(async () => {
            window.answers = 0;
            window.quorvale.on('answer', () => { ++window.answers; });
            return window.quorvale.dump();
        });
        for (const pad of pads) await page.touchscreen.tap(pad.left + pad.width / 2, pad.top + pad.height / 2);
        await page.evaluate(() => new Promise((r) => setTimeout(r, 100)));
        assert.equal(await page.evaluate(() => window.answers), 0, 'answers from taps on the pad');
        assert.equal(await boxTitle(page), title, 'the box after taps on the pad');
        assert.equal(await page.evaluate(() => window.quorvale.dump()), before, 'the game after taps on the pad');
        await page.tap('#msgbox-yes');
        await waitForBox(page, title);
        await page.tap('#msgbox-yes');
        await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    }, { device: 'phone' });
}

const openLists = (page) => page.$$eval('#menubar [role="menu"]:not([hidden])', (m) => m.map((l) => l.getAttribute('aria-label')));

pageTest('TapOnAnotherMenuTitleOpensThatMenu', async (page) => {
    await page.tap('#mnufile');
    assert.deepEqual(await openLists(page), ['File'], 'menus open after a tap on File');
    await page.tap('#mnuedit');
    assert.deepEqual(await openLists(page), ['Edit'], 'menus open after a tap on Edit');
    await page.tap('#mnuedit');
    assert.deepEqual(await openLists(page), [], 'menus open after a second tap on Edit');
}, { device: 'phone' });

// The rectangle and the size of text a player sees, whatever zoom the element stands under.
function seen(page, selector) {
    return page.$$eval(selector, (els) => els.map((e) => {
        const r = e.getBoundingClientRect();
        const zoom = e.offsetHeight ? r.height / e.offsetHeight : 1;
        return { id: e.id, width: r.width, height: r.height, right: r.right, font: parseFloat(getComputedStyle(e).fontSize) * zoom };
    }));
}

pageTest('MenusOnAPhoneAreAFingersSizeAndStayOnScreen', async (page) => {
    const width = await page.evaluate(() => document.documentElement.clientWidth);
    for (const path of [['#mnufile'], ['#mnuedit', '#mnueditshape'], ['#mnuedit', '#mnueditball'],
        ['#mnuedit', '#mnueditback'], ['#mnuhelp']]) {
        for (const step of path) await page.tap(step);
        const rows = await seen(page, '#menubar > .menu > button, #menubar [role="menu"]:not([hidden]) > li > button');
        for (const row of rows) {
            assert.ok(row.height >= FINGER_ROW - ZOOM_ROUNDING && row.font >= 16 - ZOOM_ROUNDING,
                `${row.id}: ${row.height} px high, text ${row.font} px`);
            assert.ok(row.right <= width, `${row.id} ends at ${row.right}, off the screen`);
        }
        await page.tap(path[0]); // closes
    }
}, { device: 'phone' });

// Which setup control takes a tap at a point: the element there, or the control whose area it is.
function ownerAt(page, x, y) {
    return page.evaluate((px, py) => {
        const el = document.elementFromPoint(px, py);
        if (!el) return null;
        const area = el.closest('[data-for]');
        if (area) return area.dataset.for;
        const label = el.closest('.option-button');
        if (label) return label.querySelector('input').id;
        const control = el.closest('#cmdstart, #txtcheat');
        return control ? control.id : null;
    }, x, y);
}

const CONTROLS = ['optred', 'optgreen', 'optblue', 'optyellow', 'txtcheat', 'cmdstart'];
const drawnRect = (page, name) => rectOf(page, name.startsWith('opt') ? `#${name}-label` : `#${name}`);
const distance = (r, x, y) => Math.hypot(Math.max(r.left - x, 0, x - r.right), Math.max(r.top - y, 0, y - r.bottom));

pageTest('SetupControlsTakeTapsWithinAFingersReachNearerOneFirst', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    const drawn = {};
    for (const name of CONTROLS) drawn[name] = await drawnRect(page, name);
    assert.ok(drawn.optred.height < TARGET, `the option is drawn ${drawn.optred.height} px high: nothing to test`);
    // Every point of the square TARGET wide around each control's middle is that control's, or
    // a nearer control's.
    const steps = 6;
    for (const name of CONTROLS) {
        const r = drawn[name];
        const cx = r.left + r.width / 2;
        const cy = r.top + r.height / 2;
        for (let i = 0; i <= steps; ++i) {
            for (let j = 0; j <= steps; ++j) {
                const x = cx - TARGET / 2 + 0.5 + (TARGET - 1) * i / steps;
                const y = cy - TARGET / 2 + 0.5 + (TARGET - 1) * j / steps;
                const owner = await ownerAt(page, x, y);
                assert.ok(owner === name || (owner && distance(drawn[owner], x, y) < distance(r, x, y)),
                    `${name} at (${x.toFixed(1)}, ${y.toFixed(1)}): taken by ${owner}`);
            }
        }
    }
    // Taps beside the drawing land where they are aimed.
    const cheat = drawn.txtcheat;
    await page.touchscreen.tap(cheat.left + cheat.width / 2, cheat.top - 3);
    assert.equal(await focusedId(page), 'txtcheat', 'focus after a tap just above the cheat box');
    const red = drawn.optred;
    await page.touchscreen.tap(red.left + 10, red.top - 3);
    assert.equal(await dumpValue(page, 'optred.Value'), 'true', 'red after a tap just above it');
    assert.equal(await focusedId(page), 'cmdstart', 'focus after choosing a colour');
    // In play the setup controls are hidden, and so are their areas.
    await page.tap('#cmdstart');
    assert.equal(await dumpValue(page, 'txtcheat.Visible'), 'false', 'the cheat box in play');
    assert.equal(await ownerAt(page, cheat.left + cheat.width / 2, cheat.top - 3), null, 'the cheat box\'s area in play');
}, { device: 'phone' });

pageTest('AboutTextIsRepeatedReadablyBesideTheGameOnAPhone', async (page) => {
    assert.equal(await page.$eval('#caption-copy', (c) => c.getBoundingClientRect().height), 0, 'the copy before About');
    await page.tap('#mnuhelp');
    await page.tap('#mnuhelpabout');
    await page.waitForFunction(() => document.getElementById('lblabout-text').textContent !== '');
    const [copy] = await seen(page, '#caption-copy');
    assert.ok(copy.height > 0 && copy.font >= 12, `the copy is ${copy.height} px high, its text ${copy.font} px`);
    const words = (t) => t.replace(/\s+/g, ' ').trim();
    const caption = words((await dumpValue(page, 'lblabout.Caption')).slice(1, -1));
    assert.equal(words(await page.$eval('#caption-copy', (c) => c.textContent)), caption, 'the copy\'s text');
    assert.equal(words(await page.$eval('#lblabout-text', (c) => c.textContent)), caption, 'the board\'s label');
    assert.ok(!meets(await rectOf(page, '#caption-copy'), await rectOf(page, '#window')), 'the copy covers the game');
    await page.evaluate(() => window.quorvale.startAgain());
    assert.equal(await page.$eval('#caption-copy', (c) => c.getBoundingClientRect().height), 0, 'the copy in a new game');
}, { device: 'phone' });

// The bar's every item wholly in the viewport with nothing to scroll: as the page loads, once
// "Share" has shown its link, with a few more items, and once the program has ended.
async function assertBarInView(page, what) {
    const g = await page.evaluate(() => {
        const box = (e) => e.getBoundingClientRect().toJSON();
        return {
            width: innerWidth, height: innerHeight,
            scrollWidth: document.documentElement.scrollWidth, scrollHeight: document.documentElement.scrollHeight,
            items: [...document.getElementById('bar').children].filter((e) => e.getClientRects().length)
                .map((e) => ({ id: e.id || e.textContent, ...box(e) })),
            game: box(document.getElementById('window')),
            pad: box(document.getElementById('pad')),
        };
    });
    assert.ok(g.scrollWidth <= g.width && g.scrollHeight <= g.height, `${what}: scrolls to ${g.scrollWidth}x${g.scrollHeight}`);
    for (const item of g.items) {
        assert.ok(item.left >= 0 && item.top >= 0 && item.right <= g.width && item.bottom <= g.height,
            `${what}: ${item.id} at ${JSON.stringify(item)} is not wholly in view`);
    }
    return g;
}

const SCREENS = [
    ['desktop', 800, 600], ['desktop', 1280, 800], ['desktop', 1920, 1080], ['tablet', 1024, 768], ['phone', 390, 844],
];

for (const [device, width, height] of SCREENS) {
    pageTest(`BarBelowTheGameIsInViewAt${width}x${height}`, async (page) => {
        await page.setViewport({ ...DEVICES[device], width, height });
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        const g = await assertBarInView(page, 'loaded');
        // The game, with the pad where it stands beside it, in the middle of a wider screen.
        const left = g.pad.width ? Math.min(g.game.left, g.pad.left) : g.game.left;
        const right = g.pad.width ? Math.max(g.game.right, g.pad.right) : g.game.right;
        assert.ok(Math.abs(left - (width - right)) <= 1, `the game is centred: ${left} left, ${width - right} right`);
        await page.click('#share');
        await page.waitForFunction(() => document.getElementById('bar-status').textContent !== '');
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        await assertBarInView(page, 'after Share');
        // A won game's time and a best, the game to play again in play and its running time.
        // Played, not replayed: only the player's own game is kept as the best.
        await playAsPlayer(page, script('race-win.script').replace(/\nclose[\s\S]*$/, '\n'));
        await page.evaluate(() => window.quorvale.holdClock(false));
        await page.click('#cmdstart');
        await page.waitForFunction(() => document.getElementById('time-run').textContent.startsWith('You ') &&
            document.getElementById('time-last').textContent.startsWith('Last: ') &&
            document.getElementById('time-best').textContent !== '' && !document.getElementById('race-best').hidden);
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        await assertBarInView(page, 'with the times');
        // Racing the best: the race's line and its Stop button too.
        await page.click('#race-best');
        await page.click('#cmdstart');
        await page.waitForFunction(() => /^You .* · Ghost /.test(document.getElementById('race-line').textContent));
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        await assertBarInView(page, 'while racing');
        await page.evaluate(() => {
            for (const text of ['Race', '1:23.45', 'Ghost']) {
                const b = document.createElement('button');
                b.textContent = text;
                document.getElementById('bar').append(b);
            }
        });
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        await assertBarInView(page, 'with more items');
    }, { device });
}

pageTest('EndedPageHasNoPadAndItsNoticeCentred', async (page) => {
    await page.tap('#mnufile');
    await page.tap('#mnufilequit');
    await page.waitForSelector('#ended:not([hidden])');
    assert.equal(await page.$eval('#pad', (p) => p.getClientRects().length), 0, 'the pad once ended');
    const [notice] = await seen(page, '#ended');
    const r = await rectOf(page, '#ended');
    const width = await page.evaluate(() => document.documentElement.clientWidth);
    assert.ok(Math.abs(r.left - (width - r.right)) <= 1, `the notice is centred: ${r.left} and ${width - r.right}`);
    assert.ok(notice.font >= 16, `the notice's text is ${notice.font} px`);
    const [again] = await seen(page, '#again');
    assert.ok(again.height >= FINGER_ROW, `start again is ${again.height} px high`);
    await assertBarInView(page, 'ended');
    await page.tap('#again');
    await page.waitForFunction(() => !window.quorvale.ended);
    assert.equal(await page.$eval('#pad', (p) => p.getClientRects().length), 1, 'the pad in a new game');
}, { device: 'phone' });
