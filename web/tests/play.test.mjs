// Playing in the page: its look, the keys, the focus, the boxes, the cheat box and the clock.
import assert from 'node:assert/strict';
import {
    KEY_NAMES, boxTitle, dumpValue, focusedId, pageTest, pixelAt, routeKeys, script, typeInCheatBox,
    waitForBox,
} from './helpers.mjs';

pageTest('PageLoadsWithoutConsoleErrors', async (page, errors) => {
    assert.equal(await page.title(), 'Maze · Quorvale', 'title');
    assert.equal(await focusedId(page), 'cmdstart', 'focus at the start');
    const name = await page.evaluate(() => document.getElementById('cmdstart').getAttribute('aria-label'));
    assert.equal(name, 'Start', 'the start button\'s accessible name');
    const captions = await page.$$eval('#menubar button', (b) => b.map((x) => x.textContent));
    assert.equal(captions.join('|'), 'File|Start Over|Quit|Edit|Your Shape|Square|Circle|rounded Square|' +
        'Ball Colour|Red|Blue|Green|BackGround|Yellow|orange|Help|About', 'menu captions');
    assert.ok(errors.length === 0, `console errors: ${errors.join('; ')}`);
});

// The board painted in the rules' worker, and by the page where the browser cannot hand a canvas
// to a worker.
for (const [where, transfers] of [['', true], ['WhereACanvasCannotGoToAWorker', false]]) {
    pageTest(`CanvasHasTheWindowsColours${where}`, async (page) => {
        if (!transfers) {
            await page.evaluateOnNewDocument(() => { delete HTMLCanvasElement.prototype.transferControlToOffscreen; });
            await page.reload({ waitUntil: 'load' });
            await page.evaluate(() => window.quorvale.ready);
            // A canvas handed to a worker has no context on the page.
            assert.ok(await page.evaluate(() => document.getElementById('board').getContext('2d') !== null),
                'the page paints the board');
        }
        await assertWindowColours(page);
    });
}

async function assertWindowColours(page) {
    await page.evaluate(() => window.quorvale.holdClock(true));
    for (const [what, x, y, colour] of [
        ['the window', 10000, 8650, '#800000'],
        ['the board', 3000, 7800, '#c8c8c8'],
        ['the board\'s border', 1957, 4000, '#000000'], // mid-line: its edges snap to device pixels
        ['a wall (shp1)', 2900, 4330, '#000000'],
        ['the goal', 6787, 427, '#ff00ff'],
        ['the piece', 5947, 427, '#00ff00'],
        ['a marker', 4327, 2167, '#ffffe1'],
        ['the label', 100, 1000, '#800000'],
    ])
        assert.equal(await pixelAt(page, x, y), colour, `colour of ${what}`);
    // The balls patrol from the start: look where the first one is now.
    const ballTop = Number(await dumpValue(page, 'shpball1.Top'));
    assert.equal(await pixelAt(page, 2227, ballTop + 187), '#000000', 'colour of a ball');
    // Drawn over the goal, the piece shows on top.
    await page.evaluate(() => { window.quorvale.edit('skipjump'); });
    assert.equal(await pixelAt(page, 8827, 427), '#00ff00', 'the piece after skipjump');
}

pageTest('SpaceOnTheStartButtonStartsPlay', async (page) => {
    // The arrow keys do nothing while the start button holds the focus.
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowLeft');
    assert.equal(await focusedId(page), 'cmdstart', 'focus after arrows');
    assert.equal(await dumpValue(page, 'shpyou.Left'), '5760', 'piece after arrows in setup');
    // A click on an option leaves the focus on the start button.
    await page.click('#optblue-label');
    assert.equal(await focusedId(page), 'cmdstart', 'focus after clicking an option');
    assert.equal(await dumpValue(page, 'optblue.Value'), 'true', 'option chosen');
    // Tab reaches the options; there the arrow keys move the selection and raise its click.
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assert.equal(await focusedId(page), 'optblue', 'focus after Shift+Tab from Start (the chosen option)');
    await page.keyboard.press('ArrowDown');
    assert.equal(await focusedId(page), 'optyellow', 'focus after Down from Blue');
    assert.equal(await dumpValue(page, 'optyellow.Value'), 'true', 'option chosen with the keys');
    assert.equal(await dumpValue(page, 'shpborder.BorderColor'), '0x0000FFFF', 'border after Yellow');
    await page.focus('#cmdstart');
    const scroll = await page.evaluate(() => window.scrollY);
    await page.keyboard.press('Space');
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'false', 'start button after Space');
    assert.equal(await focusedId(page), 'board', 'focus in play');
    await page.keyboard.press('ArrowDown');
    assert.equal(await dumpValue(page, 'shpyou.Top'), '440', 'piece after Down in play');
    assert.equal(await page.evaluate(() => window.scrollY), scroll, 'page scroll');
    // "Start Over" in either phase leaves the focus on the start button.
    for (const phase of ['play', 'setup']) {
        if (phase === 'setup') await page.click('#txtcheat');
        await page.click('#mnufile');
        await page.click('#mnufilestart');
        assert.equal(await focusedId(page), 'cmdstart', `focus after Start Over in ${phase}`);
    }
});

async function winOnce(page, keys) {
    // The balls stop for the cheat code, so only the walls matter, as in the script.
    await typeInCheatBox(page, 'iceclock');
    assert.equal(await dumpValue(page, 'Timer1.Enabled'), 'false', 'Timer1 after iceclock');
    await page.click('#cmdstart');
    assert.equal(await focusedId(page), 'board', 'focus in play');
    for (const code of keys) await page.keyboard.press(KEY_NAMES[code]);
    await page.keyboard.press('Space'); // the step onto the goal is judged at the next key
    await waitForBox(page, ' Congratulations');
    // Enter answers the first box; still held, it must not answer the second.
    await page.keyboard.down('Enter');
    await waitForBox(page, ' Congratulations');
    await page.keyboard.down('Enter'); // an auto-repeat
    await new Promise((r) => setTimeout(r, 50));
    assert.equal(await boxTitle(page), ' Congratulations', 'second box while Enter is held');
    await page.keyboard.up('Enter');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'setup after Yes');
    assert.equal(await focusedId(page), 'cmdstart', 'focus after the reset');
}

pageTest('WinningRouteTypedAsKeysWinsTwice', async (page) => {
    const keys = routeKeys(script('win.script'));
    assert.ok(keys.length > 100, 'the route was read');
    await winOnce(page, keys);
    await winOnce(page, keys);
});

pageTest('LossAnsweredNoEndsTheGame', async (page) => {
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
    assert.equal(await page.evaluate(() => window.boxes), 0, 'boxes opened while Space is down');
    await page.keyboard.up('Space'); // Yes to the first
    await waitForBox(page, 'GAME OVER');
    assert.equal(await page.evaluate(() => window.boxes), 1, 'boxes opened after Space was let go');
    const prompt = await page.$eval('#msgbox-prompt', (p) => p.textContent);
    assert.equal(prompt, 'Please Try Again', 'prompt');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('Enter'); // No to the second
    await page.waitForSelector('#ended:not([hidden])', { timeout: 5000 });
    assert.equal(await page.$eval('#ended-text', (p) => p.textContent), 'The game has ended', 'notice');
    assert.ok(await page.$eval('#window', (w) => w.hidden), 'the game is gone');
    await page.click('#again');
    assert.equal(await dumpValue(page, 'shpyou.Top'), '240', 'a new game');
    assert.equal(await focusedId(page), 'cmdstart', 'focus in the new game');
});

// The box's sign is painted from the rules' description of it, in the window's colours.
pageTest('BoxSignIsDrawnInTheWindowsColours', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.keyboard.press('Space');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('ArrowUp');
    await waitForBox(page, 'GAME OVER');
    const sign = await page.$eval('#msgbox-icon canvas', (canvas) => {
        const scale = canvas.width / 32; // the sign's square is 32 units
        const at = (x, y) => '#' + [...canvas.getContext('2d')
            .getImageData(Math.floor(x * scale), Math.floor(y * scale), 1, 1).data.slice(0, 3)]
            .map((v) => v.toString(16).padStart(2, '0')).join('');
        return { triangle: at(8, 25), mark: at(16, 15) };
    });
    assert.deepEqual(sign, { triangle: '#ffd400', mark: '#000000' });
});

pageTest('CheatCodesWorkFromTheCheatBox', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await typeInCheatBox(page, 'gusto');
    assert.equal(await dumpValue(page, 'shpyou.FillColor'), '0x0000FFFF', 'piece after gusto');
    assert.equal(await page.$eval('#txtcheat', (t) => t.value), ' ', 'cheat box after a code');
    assert.equal(await pixelAt(page, 5947, 427), '#ffff00', 'piece drawn yellow');
    await page.keyboard.press('Backspace');
    await page.keyboard.type('skipjump');
    assert.equal(await dumpValue(page, 'shpyou.Left'), '8640', 'piece after skipjump');
    await page.keyboard.press('Backspace');
    await page.keyboard.type('Keen');
    assert.equal(await dumpValue(page, 'shpborder.FillColor'), '0x00000040', 'board after Keen');
    assert.equal(await pixelAt(page, 3000, 7800), '#400000', 'board drawn very dark red');
});

pageTest('ClockTicks64TimesASecondAndNotWhileHidden', async (page) => {
    const count = () => page.evaluate(() => window.quorvale.clockTicks);
    const before = await count();
    await new Promise((r) => setTimeout(r, 1000));
    const perSecond = (await count()) - before;
    assert.ok(perSecond >= 40 && perSecond <= 65, `ticks in a second: ${perSecond}`);
    assert.ok((await dumpValue(page, 'shpball1.Top')) !== '240', 'the balls patrol before play');
    await page.evaluate(() => {
        Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
        document.dispatchEvent(new Event('visibilitychange'));
    });
    const hidden = await count();
    await new Promise((r) => setTimeout(r, 300));
    assert.equal(await count(), hidden, 'ticks while hidden');
});

// A key that comes while the rules are still running the click before it is taken where that click
// leaves the focus: here on the board, in play, so the piece steps down.
pageTest('KeyBeforeTheRulesAnswerIsRoutedWhereTheirAnswerLeavesTheFocus', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.evaluate(() => {
        window.quorvale.click('cmdstart');
        // In the same task, before any answer can arrive; the focus is still on Start.
        const key = (type) => document.activeElement.dispatchEvent(
            new KeyboardEvent(type, { code: 'ArrowDown', key: 'ArrowDown', bubbles: true, cancelable: true }));
        key('keydown');
        key('keyup');
    });
    assert.equal(await focusedId(page), 'board', 'focus in play');
    assert.equal(await dumpValue(page, 'shpyou.Top'), '440', 'piece after the early Down');
});

// The bar below the window keeps its own keys: Space presses its buttons, and the arrows are
// the link field's (the page does not take them from the browser).
pageTest('KeysOnTheBarBelowTheWindowAreTheBars', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.focus('#share');
    await page.keyboard.press('Space');
    await page.waitForFunction(() => document.getElementById('share-link').value !== '');
    assert.equal(await focusedId(page), 'share-link', 'focus after Space on Share');
    await page.$eval('#share-link', (f) => f.addEventListener('keydown', (e) => {
        window.arrowTaken = e.defaultPrevented;
    }));
    await page.keyboard.press('ArrowLeft');
    assert.equal(await page.evaluate(() => window.arrowTaken), false, 'Left in the link field taken by the page');
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'still in setup');
});

// Without the compiled rules the page says why on the line above the game, rather than staying
// blank and silent.
pageTest('PageWithoutItsRulesSaysWhy', async (page, errors) => {
    // As a network would that has lost the file (the protocol cannot intercept the page's worker).
    await page.evaluateOnNewDocument(() => {
        const fetchOf = window.fetch;
        window.fetch = (url, ...rest) => (String(url).endsWith('.wasm')
            ? Promise.reject(new TypeError('Failed to fetch')) : fetchOf(url, ...rest));
    });
    await page.reload({ waitUntil: 'load' });
    await page.waitForSelector('#shared:not([hidden])', { timeout: 5000 });
    assert.match(await page.$eval('#shared-text', (t) => t.textContent), /^The game cannot start: /);
    errors.length = 0; // the page's own console line is the point here
});
