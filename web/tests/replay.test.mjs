// Recording and replaying in the page, compared with the script driver.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import {
    drive, driver, dumpValue, expectedDumps, logBoxes, loggedBoxes, pageTest, script, scriptsDir, testsDir,
    typeInCheatBox, waitForBox,
} from './helpers.mjs';

pageTest('SavedRecordingReplaysInTheDriverWithTheSameBoxesAndState', async (page) => {
    await logBoxes(page);
    // Played in real time, with the clock running: the recording must carry every tick.
    await typeInCheatBox(page, 'gusto');
    await page.click('#optred-label');
    await page.click('#mnuedit');
    await page.hover('#mnueditball');
    await page.click('#mnueditballblue');
    await new Promise((r) => setTimeout(r, 200));
    await page.keyboard.press('Space');
    for (const k of ['ArrowRight', 'ArrowDown', 'ArrowLeft', 'ArrowLeft']) {
        await page.keyboard.press(k);
        await new Promise((r) => setTimeout(r, 40));
    }
    for (const k of ['ArrowUp', 'ArrowUp', 'ArrowUp']) await page.keyboard.press(k);
    await waitForBox(page, 'GAME OVER');
    await page.keyboard.press('Enter');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-yes');
    await page.waitForFunction(() => !window.quorvale.boxOpen && !window.quorvale.busy);
    await new Promise((r) => setTimeout(r, 150));
    // A copy taken while the game goes on ends in the state the page shows at that moment.
    const middle = await page.evaluate(async () => {
        const { recording, dump } = await window.quorvale.snapshot();
        return { text: recording, state: dump, boxes: window.boxLog.length };
    });
    await page.keyboard.press('Enter');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('ArrowUp');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-no');
    await waitForBox(page, 'GAME OVER');
    await page.click('#msgbox-no');
    await page.waitForFunction(() => window.quorvale.ended);
    const state = await page.evaluate(() => window.quorvale.dump());
    const boxes = await loggedBoxes(page);
    const recording = await page.evaluate(() => window.quorvale.recording());
    // "Save recording" downloads the same text.
    const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'quorvale-downloads-'));
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.click('#save');
    const saved = path.join(downloads, 'quorvale-recording.script');
    for (let i = 0; i < 50 && !fs.existsSync(saved); ++i) await new Promise((r) => setTimeout(r, 100));
    assert.equal(fs.readFileSync(saved, 'utf8'), recording, 'the saved recording');
    await page.waitForFunction(() => document.getElementById('bar-status').textContent.includes('quorvale-recording.script'));
    // Headed as the window's recorder heads its recordings.
    const version = execFileSync(driver, ['--version'], { encoding: 'utf8' }).trim().split(' ').pop();
    assert.equal(recording.split('\n')[0], `# Recorded by quorvale ${version}`, 'first line');
    assert.ok(/^wait \d+$/m.test(recording), 'ticks recorded as waits');
    assert.ok(/^answer no no$/m.test(recording), 'answers recorded');
    const replayed = drive(saved);
    assert.equal(replayed.boxes.join('\n'), boxes.join('\n'), 'boxes and answers in the driver');
    assert.equal(replayed.dumps.length, 1, 'dumps in the driver');
    assert.equal(replayed.dumps[0], state, 'the driver\'s state at the end');
    const copy = path.join(downloads, 'middle.script');
    fs.writeFileSync(copy, middle.text);
    const fromMiddle = drive(copy);
    assert.equal(fromMiddle.boxes.join('\n'), boxes.slice(0, middle.boxes).join('\n'), 'boxes of the copy');
    assert.equal(fromMiddle.dumps.join(''), middle.state, 'the driver\'s state for the copy');
    fs.rmSync(downloads, { recursive: true, force: true });
    // And in the page itself, the closing `dump` runs after the end of the program.
    const result = await page.evaluate((text) => window.quorvale.replay(text, { fast: true }), recording);
    assert.ok(!result.stoppedAtBox, 'every box answered from the recording');
    assert.ok(await page.evaluate(() => window.quorvale.ended), 'the replay ended the program');
    assert.equal(result.dumps.join(''), state, 'the replay\'s dump');
    assert.equal(await page.evaluate(() => window.quorvale.dump()), state, 'state after the replay');
});

// A recording the window made (`quorvale --record`, played by hand under Xvfb: the cheat box, a
// border colour, a menu, a loss, a win, and a ball that ran into the piece between the clock's
// two timers, answered No to end the program) replays in the page to the driver's state.
pageTest('WindowRecordingReplaysToTheDriversState', async (page) => {
    const file = path.join(testsDir, 'window-recording.script');
    const expected = drive(file);
    await logBoxes(page);
    const result = await page.evaluate((text) => window.quorvale.replay(text, { fast: true }),
        fs.readFileSync(file, 'utf8'));
    assert.ok(!result.stoppedAtBox, 'every box answered from the recording');
    assert.ok(await page.evaluate(() => window.quorvale.ended), 'the replay ended the program');
    assert.equal((await loggedBoxes(page)).join('\n'), expected.boxes.join('\n'), 'boxes and answers');
    assert.equal(result.dumps.length, expected.dumps.length, 'number of dumps');
    result.dumps.forEach((d, i) => assert.equal(d, expected.dumps[i], `dump ${i + 1}`));
    assert.equal(await page.evaluate(() => window.quorvale.dump()), expected.dumps.at(-1), 'state at the end');
});

pageTest('ReplayFromAFilePlaysAtTheGamesPace', async (page) => {
    const text = 'click cmdstart\nwait 32\nanswer yes no\nkey 38\nkey 38\nkey 38\nwait 2\n';
    const file = path.join(os.tmpdir(), `quorvale-replay-${process.pid}.script`);
    fs.writeFileSync(file, text);
    // The same script run at once, as the driver would, gives the state to end in.
    await page.evaluate((t) => window.quorvale.replay(t, { fast: true, driver: true }), text);
    const expected = await page.evaluate(() => window.quorvale.dump());
    await page.evaluate(() => window.quorvale.startAgain());
    const began = Date.now();
    await (await page.$('#replay')).uploadFile(file);
    await page.waitForFunction(() => window.quorvale.replaying);
    assert.equal(await page.title(), `Maze - replaying ${path.basename(file)} · Quorvale`, 'title while replaying');
    await page.keyboard.press('ArrowRight'); // the player's keys are ignored meanwhile
    await waitForBox(page, 'GAME OVER');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !window.quorvale.replaying, { timeout: 10000 });
    fs.rmSync(file);
    const took = Date.now() - began;
    // Half a second of ticks and two boxes shown for about a second each.
    assert.ok(took >= 2300, `the replay took ${took} ms`);
    assert.equal(await page.title(), 'Maze · Quorvale', 'title after the replay');
    assert.equal(await page.evaluate(() => window.quorvale.dump()), expected, 'state after the replay');
});

// How a replay meets the boxes: a recorded `close` ends the program there as the window closed
// behind the box would (and the closing dump still runs); a box with no answer left is the
// player's, and so is the game from there.
pageTest('ReplayAnswersBoxesFromTheScriptUntilNoneAreLeft', async (page) => {
    await logBoxes(page);
    const closed = 'click cmdstart\nanswer close\nkey 38\nkey 38\nkey 37\nwait 3\ndump\n';
    const file = path.join(os.tmpdir(), `quorvale-closed-${process.pid}.script`);
    fs.writeFileSync(file, closed);
    const expected = drive(file);
    fs.rmSync(file);
    const result = await page.evaluate((t) => window.quorvale.replay(t, { fast: true }), closed);
    assert.equal((await loggedBoxes(page)).join('\n'), expected.boxes.join('\n'), 'boxes of a closed window');
    assert.ok(await page.evaluate(() => window.quorvale.ended), 'the program ended at the closed box');
    assert.equal(result.dumps.join('|'), expected.dumps.join('|'), 'dump after the end');

    await page.evaluate(() => { window.boxLog = []; window.quorvale.startAgain(); });
    const unanswered = 'click cmdstart\nanswer yes\nkey 38\nkey 38\nkey 37\n';
    await page.evaluate((t) => { window.replayDone = window.quorvale.replay(t, { fast: true }); }, unanswered);
    await page.waitForFunction(() => window.boxLog.length === 2 && !window.quorvale.replaying);
    assert.ok(await page.evaluate(() => window.quorvale.boxOpen), 'the second box waits for the player');
    assert.equal(await page.title(), 'Maze · Quorvale', 'title once the player has the game');
    await page.keyboard.press('KeyN');
    const result2 = await page.evaluate(() => window.replayDone);
    assert.ok(result2.stoppedAtBox, 'the replay stopped at the box');
    assert.ok(await page.evaluate(() => window.quorvale.ended), 'the player\'s No ended the game');
    assert.equal((await loggedBoxes(page)).map((b) => b.split(' -> ')[1]).join(' '), 'yes no', 'answers');
});

// The page keeps no more answers for boxes than the driver would: the line that passes the
// limit stops the replay with the driver's own message, and nothing after it is played.
pageTest('TooManyAnswersStopTheReplayAtTheirLine', async (page) => {
    const answers = (n) => `answer${' yes'.repeat(n)}\n`;
    const text = answers(500000) + '# the next line passes the limit\n' + answers(500001) + 'click cmdstart\n';
    const file = path.join(os.tmpdir(), `quorvale-answers-${process.pid}.script`);
    fs.writeFileSync(file, text);
    let expected = '';
    try {
        execFileSync(driver, [file], { encoding: 'utf8', stdio: 'pipe' });
    } catch (e) {
        expected = e.stderr;
    }
    fs.rmSync(file);
    const error = await page.evaluate((t) => window.quorvale.replay(t, { fast: true }).then(() => '', (e) => e.message), text);
    assert.equal(`quorvale-script: ${error}\n`, expected, 'the driver\'s message');
    assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'the line after it was not played');
});

pageTest('GoldenScriptsReplayToTheDriversState', async (page) => {
    for (const name of fs.readdirSync(scriptsDir).filter((n) => n.endsWith('.script')).sort()) {
        await page.reload();
        await page.evaluate(() => window.quorvale.ready);
        const expected = expectedDumps(fs.readFileSync(path.join(scriptsDir, name.replace(/\.script$/, '.expected')), 'utf8'));
        const result = await page.evaluate((text) => window.quorvale.replay(text, { fast: true, driver: true }), script(name));
        assert.equal(result.dumps.length, expected.length, `${name}: number of dumps`);
        result.dumps.forEach((d, i) => assert.equal(d, expected[i], `${name}: dump ${i + 1}`));
    }
});

// ---------------------------------------------------------------------------------------------
