// The menu bar from the keyboard alone: F10 or Alt reach it, the arrows, Enter and Escape use it,
// and what reaches the rules meanwhile is what the window delivers for the same keys.
import assert from 'node:assert/strict';
import { dumpValue, pageTest, pressKeys, useMenusByKeys } from './helpers.mjs';

pageTest('MenusAreUsedFromTheKeyboardAlone', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await useMenusByKeys(page);
    // While the bar has the focus, no key reaches the start button.
    await pressKeys(page, 'F10', 'Space', 'Enter', 'Escape', 'Escape');
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'the start button after keys in the bar');
    // Tab goes round the page without ever entering the menus.
    for (let i = 0; i < 12; ++i) {
        const id = await pressKeys(page, 'Tab');
        assert.ok(!(await page.evaluate(() => document.getElementById('menubar').contains(document.activeElement))),
            `Tab ${i + 1} reached the menus (${id})`);
    }
});

// In play every key press is a turn: F10 and Alt are turns as in the window (key 121, key 18),
// and then the bar has the focus; the keys used in the bar reach nothing.
pageTest('KeyThatOpensTheMenuBarInPlayIsATurnAndNothingElseIs', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.keyboard.press('Enter');
    await page.evaluate(() => { window.keys = []; window.quorvale.on('event', (w) => { if (w.kind === 'key') window.keys.push(w.code); }); });
    assert.equal(await pressKeys(page, 'F10'), 'mnufile', 'focus after F10 in play');
    assert.equal(await pressKeys(page, 'ArrowDown', 'ArrowDown', 'Escape'), 'board', 'focus after Escape');
    assert.equal(await pressKeys(page, 'Alt'), 'mnufile', 'focus after Alt in play');
    assert.equal(await pressKeys(page, 'ArrowRight', 'Escape', 'ArrowDown'), 'board', 'focus after Escape');
    assert.deepEqual(await page.evaluate(() => window.keys), [121, 18, 40], 'keys that reached the rules');
    assert.equal(await dumpValue(page, 'shpyou.Top'), '440', 'the piece moved by the last Down only');
});
