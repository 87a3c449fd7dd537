// The times below the game: the page's last game timed as the script driver times it, and the
// best won game kept in this browser, or not kept where storage is refused.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { driver, pageTest, playAsPlayer, script, scriptsDir } from './helpers.mjs';

const shown = (page) => page.$eval('#times', (e) => e.innerText.replace(/\s+/g, ' ').trim());

// The driver's description of a script's last game: "won in 15.76 s (cheat)".
function lastGame(name) {
    const report = execFileSync(driver, ['--times', path.join(scriptsDir, name)], { encoding: 'utf8' });
    const lines = report.trim().split('\n').filter((l) => /^game \d+: /.test(l));
    return lines.at(-1).replace(/^game \d+: /, '');
}

async function replayed(page, name) {
    await page.evaluate((text) => window.quorvale.replay(text, { fast: true, driver: true }), script(name));
    await page.evaluate(() => window.quorvale.caughtUp());
}

pageTest('RaceScriptsShowTheDriversLastTime', async (page) => {
    const names = fs.readdirSync(scriptsDir).filter((n) => /^race-.*\.script$/.test(n)).sort();
    assert.ok(names.length >= 3, 'the race scripts');
    for (const name of names) {
        await page.reload();
        await page.evaluate(() => window.quorvale.ready);
        await replayed(page, name);
        const last = `Last: ${lastGame(name)}`;
        await page.waitForFunction((t) => document.getElementById('time-last').textContent === t, { timeout: 5000 }, last)
            .catch(async () => assert.fail(`${name}: shown "${await shown(page)}", wanted "${last}"`));
    }
});

// With both timers stopped too: the clock then only keeps the time.
pageTest('RunningTimeGoesOnWhileAGameIsInPlay', async (page) => {
    for (const code of ['', 'iceclock']) {
        await page.reload();
        await page.evaluate(() => window.quorvale.ready);
        if (code) await page.evaluate((c) => window.quorvale.edit(c), code);
        await page.click('#cmdstart');
        await page.waitForFunction(() => /^You [1-9]\d*\.\d s$/.test(document.getElementById('time-run').textContent), { timeout: 5000 })
            .catch(async () => assert.fail(`${code || 'no code'}: shown "${await shown(page)}"`));
    }
});

// Best, reload, forget, reload: in each browser the page keeps its best in its own storage.
async function bestPersists(page) {
    await page.evaluate(() => localStorage.removeItem('quorvale.best'));
    await page.reload();
    await page.evaluate(() => window.quorvale.ready);
    assert.equal(await page.$eval('#forget-best', (b) => b.hidden), true, 'no best at first');
    await playAsPlayer(page, script('race-win.script'));
    const best = `Best ${lastGame('race-win.script').replace(/^won in /, '')}`;
    await page.waitForFunction((t) => document.getElementById('time-best').textContent === t, { timeout: 5000 }, best);
    await page.reload();
    await page.evaluate(() => window.quorvale.ready);
    assert.equal(await page.$eval('#time-best', (e) => e.textContent), best, 'the best after a reload');
    await page.click('#forget-best');
    assert.equal(await page.$eval('#time-best', (e) => e.textContent), '', 'forgotten');
    await page.reload();
    await page.evaluate(() => window.quorvale.ready);
    assert.equal(await page.$eval('#time-best', (e) => e.textContent), '', 'still forgotten after a reload');
}

pageTest('BestWonGameOutlivesAReloadUntilForgotten', bestPersists);
pageTest('FirefoxKeepsTheBestWonGameUntilForgotten', bestPersists, { browser: 'firefox' });

// Each script replayed on a fresh page in turn, and the best shown after it: a fair win beats
// any marked one, and of one kind the faster wins. The best's recording replays to its time.
pageTest('BestIsReplacedOnlyByABetterWonGame', async (page) => {
    await page.evaluate(() => localStorage.removeItem('quorvale.best'));
    const steps = [
        ['race-win.script', 'Best 15.76 s (cheat)'],
        ['skipjump.script', 'Best 0.00 s (cheat)'],
        ['race-win.script', 'Best 0.00 s (cheat)'],
        ['win.script', 'Best 0.00 s'],
        ['skipjump.script', 'Best 0.00 s'],
    ];
    for (const [name, best] of steps) {
        await page.reload();
        await page.evaluate(() => window.quorvale.ready);
        await playAsPlayer(page, script(name));
        for (let i = 0; i < 3; ++i) await page.evaluate(() => window.quorvale.caughtUp());
        assert.equal(await page.$eval('#time-best', (e) => e.textContent), best, `after ${name}`);
    }
    const kept = await page.evaluate(() => JSON.parse(localStorage.getItem('quorvale.best')).recording);
    const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-best-')), 'best.script');
    fs.writeFileSync(file, kept);
    const report = execFileSync(driver, ['--times', file], { encoding: 'utf8' });
    fs.rmSync(path.dirname(file), { recursive: true, force: true });
    assert.match(report, /: won in 0\.00 s\n/, 'the best\'s recording');
});

// A friend's game watched from a link, or a recording replayed, shows its time but is not the
// player's best.
pageTest('ReplayedWinIsShownButNotKeptAsTheBest', async (page) => {
    await page.evaluate(() => localStorage.removeItem('quorvale.best'));
    await page.reload();
    await page.evaluate(() => window.quorvale.ready);
    await replayed(page, 'race-win.script');
    await page.waitForFunction(() => document.getElementById('time-last').textContent.includes('won in'), { timeout: 5000 });
    for (let i = 0; i < 3; ++i) await page.evaluate(() => window.quorvale.caughtUp());
    assert.equal(await page.$eval('#time-best', (e) => e.textContent), '', 'no best kept');
    assert.equal(await page.evaluate(() => localStorage.getItem('quorvale.best')), null, 'nothing stored');
});

pageTest('RefusedStorageKeepsNoBestAndLogsNoError', async (page) => {
    await playAsPlayer(page, script('race-win.script'));
    await page.waitForFunction(() => document.getElementById('time-last').textContent.includes('won in'), { timeout: 5000 });
    await page.evaluate(() => window.quorvale.caughtUp());
    assert.equal(await page.$eval('#time-best', (e) => e.textContent), '', 'no best kept');
}, {
    beforeLoad: (page) => page.evaluateOnNewDocument(() => {
        Object.defineProperty(window, 'localStorage', {
            get() { throw new DOMException('refused', 'SecurityError'); },
        });
    }),
});
