// Racing a ghost in the page: where its piece is drawn, that it leaves the player's game alone,
// the race's end in the bar, and the races a player's best and a shared link offer.
import assert from 'node:assert/strict';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { driver, pageTest, pixelAt, playAsPlayer, script, scriptsDir } from './helpers.mjs';

// Won after "skipjump": 3 ticks, then nine steps left two ticks apart, and the key that finds
// the goal.
const GHOST = 'text "skipjump"\nclick cmdstart\nwait 3\n' + 'key 37\nwait 2\n'.repeat(9) + 'key 32\n';

const raceLine = (page) => page.$eval('#race-line', (e) => e.textContent);
const waitForRaceLine = (page, text) =>
    page.waitForFunction((t) => document.getElementById('race-line').textContent === t, { timeout: 10000 }, text)
        .catch(async () => assert.fail(`race line "${await raceLine(page)}", wanted "${text}"`));

// The driver's description of a script's only game: "won in 15.76 s (cheat)".
const timeOf = (file) => execFileSync(driver, ['--times', file], { encoding: 'utf8' }).trim().replace(/^game 1: /, '');

function near(hex, [r, g, b]) {
    const [pr, pg, pb] = [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));
    return Math.abs(pr - r) <= 2 && Math.abs(pg - g) <= 2 && Math.abs(pb - b) <= 2;
}

pageTest('GhostIsDrawnAtHalfOpacityWhereItsRecordingIsOnAKnownTick', async (page) => {
    const faintGreen = [100, 227, 100]; // green over the board's grey, half and half
    const boardGrey = [200, 200, 200];
    await page.evaluate(() => window.quorvale.holdClock(true));
    await page.evaluate((t) => window.quorvale.race(t), GHOST);
    const at = (left) => pixelAt(page, left + 187, 240 + 187);
    let seen = await at(8640);
    assert.ok(near(seen, faintGreen), `waiting at its start, after the code: ${seen}`);
    await page.evaluate(() => window.quorvale.click('cmdstart'));
    for (let i = 0; i < 7; ++i) await page.evaluate(() => window.quorvale.tick());
    // After tick 3 its first step came, then one every two ticks: three steps.
    seen = await at(8640 - 600);
    assert.ok(near(seen, faintGreen), `three steps on: ${seen}`);
    seen = await at(8640);
    assert.ok(near(seen, boardGrey), `gone from its start: ${seen}`);
    await waitForRaceLine(page, 'You 0.1 s \u00b7 Ghost 0.1 s');
});

pageTest('TheSameEventsGiveTheSameRecordingAndDumpWithAndWithoutAGhost', async (page) => {
    const results = [];
    for (const race of [false, true]) {
        await page.reload();
        await page.evaluate(() => window.quorvale.ready);
        await page.evaluate(() => window.quorvale.holdClock(true));
        // A race begins on a new game; so does the game without one, the balls where they start.
        if (race) await page.evaluate((t) => window.quorvale.race(t), GHOST);
        else await page.evaluate(() => window.quorvale.startAgain());
        await page.evaluate(async () => {
            const q = window.quorvale;
            q.click('cmdstart');
            for (let i = 0; i < 12; ++i) {
                await q.tick();
                if (i % 3 === 0) await q.key(37);
            }
        });
        const { recording, dump } = await page.evaluate(() => window.quorvale.snapshot());
        results.push({ recording, dump });
    }
    assert.match(results[0].recording, /key 37/, 'the keys recorded');
    assert.equal(results[1].recording, results[0].recording);
    assert.equal(results[1].dump, results[0].dump);
});

// The player's replayed game against the recording's ghost: the bar says who won and by how much.
pageTest('RaceEndSaysWhoFinishedFirstAndByHowMuch', async (page) => {
    const ghostFile = path.join(scriptsDir, 'race-win.script');
    const ghost = timeOf(ghostFile);
    await page.evaluate((t) => window.quorvale.race(t), script('race-win.script'));
    await waitForRaceLine(page, `Ghost ${ghost} \u00b7 Start to race it`);
    await page.evaluate((t) => window.quorvale.replay(t, { fast: true, driver: true }), script('skipjump.script'));
    const you = timeOf(path.join(scriptsDir, 'skipjump.script'));
    const by = ((Number(/in ([\d.]+) s/.exec(ghost)[1]) * 100 - Number(/in ([\d.]+) s/.exec(you)[1]) * 100) / 100).toFixed(2);
    await waitForRaceLine(page, `You ${you} \u00b7 Ghost ${ghost} \u00b7 You finished first, by ${by} s`);
    await page.click('#race-stop');
    assert.equal(await raceLine(page), '', 'no race line once the race is stopped');
});

pageTest('BestWonGameIsRacedFromTheBar', async (page) => {
    await page.evaluate(() => localStorage.removeItem('quorvale.best'));
    await page.reload();
    await page.evaluate(() => window.quorvale.ready);
    assert.equal(await page.$eval('#race-best', (b) => b.hidden), true, 'nothing to race at first');
    await playAsPlayer(page, script('race-win.script'));
    await page.waitForFunction(() => !document.getElementById('race-best').hidden, { timeout: 5000 });
    await page.click('#race-best');
    await waitForRaceLine(page, `Ghost ${timeOf(path.join(scriptsDir, 'race-win.script'))} \u00b7 Start to race it`);
    await page.evaluate(() => localStorage.removeItem('quorvale.best'));
});

const sharedLine = (page) => page.$eval('#shared', (p) => (p.hidden ? null : p.textContent.trim()));

async function openLink(page, link) {
    await page.goto('about:blank');
    await page.goto(link, { waitUntil: 'load' });
    await page.evaluate(() => window.quorvale.ready);
    await page.waitForFunction(() => !document.getElementById('shared').hidden, { timeout: 5000 });
}

// A link of a won game offers a race while it is watched; the race takes the rest of the watching
// at once, and its ghost is the link's won game.
async function raceLink(page, link, ghost) {
    await openLink(page, link);
    assert.equal(await page.$eval('#race-shared', (b) => b.hidden), false, 'the race offered');
    await page.click('#race-shared');
    await waitForRaceLine(page, `Ghost ${ghost} \u00b7 Start to race it`);
    assert.equal(await sharedLine(page), null, 'the line gone once the race is on');
}

pageTest('RaceLinkRoundTripsFromTheDriverAndFromPageToPage', async (page) => {
    const file = path.join(scriptsDir, 'race-win.script');
    const ghost = timeOf(file);
    const base = page.url();
    const fromDriver = execFileSync(driver, ['--link', '--base', base, file], { encoding: 'utf8' }).trim();
    await raceLink(page, fromDriver, ghost);

    // The page's own game of it, shared, raced in a fresh page.
    await page.goto(base, { waitUntil: 'load' });
    await page.evaluate(() => window.quorvale.ready);
    await page.evaluate((t) => window.quorvale.replay(t, { fast: true, driver: true }), script('race-win.script'));
    await page.click('#share');
    await page.waitForFunction(() => !document.getElementById('share-link').hidden, { timeout: 5000 });
    const fromPage = await page.$eval('#share-link', (f) => f.value);
    await raceLink(page, fromPage, ghost);
});

pageTest('LinkWithNoWonGameSaysItCannotBeRacedAndIsWatched', async (page) => {
    const link = execFileSync(driver, ['--link', '--base', page.url(), path.join(scriptsDir, 'race-ball.script')],
        { encoding: 'utf8' }).trim();
    await openLink(page, link);
    assert.equal(await page.$eval('#shared-text', (e) => e.textContent), 'You are watching a shared game, ' +
        'replayed as it was played. It cannot be raced: the recording holds no won game to race.',
    'the line while it is watched');
    assert.equal(await page.$eval('#race-shared', (b) => b.hidden), true, 'no race offered');
    await page.click('#skip');
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: 20000 });
});
