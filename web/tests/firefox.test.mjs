// The page in Debian's firefox-esr, driven over WebDriver BiDi: it loads cleanly, a whole game is
// won with the keys, and the menus are used from the keyboard.
import assert from 'node:assert/strict';
import {
    KEY_NAMES, answerAWinByEnter, focusedId, pageTest, routeKeys, script, useMenusByKeys,
} from './helpers.mjs';

const firefox = { browser: 'firefox' };

pageTest('FirefoxLoadsThePageWithoutConsoleErrors', async (page, errors) => {
    assert.equal(await page.title(), 'Maze · Quorvale', 'title');
    assert.equal(await focusedId(page), 'cmdstart', 'focus at the start');
    assert.ok(errors.length === 0, `console errors: ${errors.join('; ')}`);
}, firefox);

pageTest('FirefoxPlaysAWholeGameByKeys', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.click('#txtcheat');
    await page.keyboard.type('iceclock');
    await page.click('#cmdstart');
    assert.equal(await focusedId(page), 'board', 'focus in play');
    for (const code of routeKeys(script('win.script'))) await page.keyboard.press(KEY_NAMES[code]);
    await page.keyboard.press(' '); // the step onto the goal is judged at the next key
    await answerAWinByEnter(page);
}, firefox);

pageTest('FirefoxTakesTheMenusFromTheKeyboard', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    await useMenusByKeys(page);
}, firefox);
