// The page for assistive technology: axe-core in every state of the game, at a phone's size and
// a desktop's, with and without more contrast asked for; what a screen reader is told; and
// Lighthouse's accessibility audit on both of its form factors.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import {
    dumpValue, focusedId, launchChromium, pageTest, pressKeys, routeKeys, script, siteUrl, waitForBox,
} from './helpers.mjs';

const require = createRequire(import.meta.url);
const AXE = require.resolve('axe-core/axe.min.js');

async function violations(page) {
    if (!(await page.evaluate(() => 'axe' in window))) await page.addScriptTag({ path: AXE });
    return page.evaluate(async () => (await window.axe.run()).violations
        .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
}

const MORE_CONTRAST = [{ name: 'prefers-contrast', value: 'more' }];

for (const device of ['phone', 'desktop']) {
    for (const media of [undefined, MORE_CONTRAST]) {
        const name = `AxeFindsNoViolationInAnyStateOnA${device === 'phone' ? 'Phone' : 'Desktop'}` +
            (media ? 'WithMoreContrast' : '');
        pageTest(name, async (page) => {
            await page.evaluate(() => window.quorvale.holdClock(true));
            const check = async (state) => assert.deepEqual(await violations(page), [], state);
            await check('setup');
            await pressKeys(page, 'F10', 'ArrowRight', 'ArrowDown', 'ArrowRight');
            await check('a menu open');
            await pressKeys(page, 'Escape');
            await page.evaluate(() => window.quorvale.click('mnuhelpabout'));
            await check('About shown');
            await page.evaluate(() => window.quorvale.click('cmdstart'));
            await check('play');
            await page.evaluate(() => { window.quorvale.key(38); window.quorvale.key(38); });
            await waitForBox(page, 'GAME OVER');
            await check('GAME OVER open');
            await page.evaluate(() => window.quorvale.answer(true));
            await waitForBox(page, 'GAME OVER');
            await page.evaluate(() => window.quorvale.answer(true));
            await page.waitForFunction(() => !window.quorvale.busy);
            await page.evaluate((route) => {
                window.quorvale.click('cmdstart');
                for (const code of [...route, 32]) window.quorvale.key(code);
            }, routeKeys(script('win.script')));
            await waitForBox(page, ' Congratulations');
            await check('Congratulations open');
        }, { device, media });
    }
}

// The names, roles and notices a screen reader gets, which axe cannot judge.
pageTest('ScreenReaderIsToldTheGamesNamesBoxesAndNotices', async (page) => {
    await page.evaluate(() => window.quorvale.holdClock(true));
    const headings = await page.$$eval('h1', (h) => h.map((x) => x.textContent));
    assert.deepEqual(headings, ['Quorvale'], 'the one heading');
    assert.equal(await page.$$eval('[tabindex]', (els) => els.filter((e) => e.tabIndex > 0).length), 0,
        'positive tab indexes');
    const tree = await page.accessibility.snapshot({ interestingOnly: true });
    const all = [];
    const walk = (n) => { all.push(n); (n.children || []).forEach(walk); };
    walk(tree);
    assert.ok(all.some((n) => n.role === 'textbox' && n.name === 'Text'), 'the cheat box is named Text');
    await page.evaluate(() => window.quorvale.click('mnuhelpabout'));
    await page.waitForFunction(() => document.getElementById('lblabout-text').textContent !== ''); // the next frame
    const text = await page.$eval('#lblabout-text', (t) => t.textContent.replace(/\s+/g, ' ').trim());
    assert.equal(text, (await dumpValue(page, 'lblabout.Caption')).slice(1, -1).replace(/\s+/g, ' ').trim(),
        'the About text in the page');
    // A box: an alert dialog named by its title, described by its prompt, with the focus on Yes
    // while it is open and back where it was after.
    await page.keyboard.press('Enter');
    await page.evaluate(() => { window.quorvale.key(38); window.quorvale.key(38); });
    await waitForBox(page, 'GAME OVER');
    const dialog = await page.$eval('[role="alertdialog"]', (d) => ({
        name: document.getElementById(d.getAttribute('aria-labelledby')).textContent,
        description: document.getElementById(d.getAttribute('aria-describedby')).textContent,
        modal: d.getAttribute('aria-modal'),
    }));
    assert.deepEqual(dialog, { name: 'GAME OVER', description: 'Please Try Again', modal: 'true' }, 'the box');
    assert.equal(await focusedId(page), 'msgbox-yes', 'focus in the box');
    await page.keyboard.press('KeyY');
    await waitForBox(page, 'GAME OVER');
    await page.keyboard.press('KeyN');
    await page.waitForSelector('#ended:not([hidden])');
    const notice = await page.$eval('[role="status"]#notice', (n) => n.textContent);
    assert.equal(notice, 'The game has ended', 'the end notice, announced');
    await page.click('#again');
    await page.evaluate(() => window.quorvale.caughtUp()); // the new game has begun
    assert.equal(await page.$eval('#notice', (n) => n.textContent), '', 'the notice once a new game begins');
}, { device: 'phone' });

test('LighthouseScoresAccessibilityFullOnMobileAndDesktop', async () => {
    const { default: lighthouse } = await import('lighthouse');
    const url = await siteUrl();
    const { browser, profile } = await launchChromium(['--remote-debugging-port=0']);
    try {
        const port = Number(new URL(browser.wsEndpoint()).port);
        for (const formFactor of ['mobile', 'desktop']) {
            const { lhr } = await lighthouse(url, {
                port, logLevel: 'error', onlyCategories: ['accessibility'], formFactor,
                screenEmulation: formFactor === 'desktop'
                    ? { mobile: false, width: 1350, height: 940, deviceScaleFactor: 1, disabled: false }
                    : undefined,
            });
            const failed = Object.values(lhr.audits).filter((a) => a.score !== null && a.score < 1 &&
                lhr.categories.accessibility.auditRefs.some((r) => r.id === a.id)).map((a) => a.id);
            assert.equal(lhr.categories.accessibility.score, 1, `${formFactor}: failed ${failed.join(', ')}`);
        }
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
});
