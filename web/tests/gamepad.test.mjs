// A game controller in the page, in chromium and firefox-esr: a fake standard gamepad stands in
// for the browser's before the page loads, its buttons and stick set as a player's thumbs would.
import assert from 'node:assert/strict';
import { dumpValue, focusedId, pageTest, routeKeys, script, waitForBox } from './helpers.mjs';

// In the page before it loads: navigator.getGamepads gives no pad until `fakePad.plugIn()`, which
// tells the page as a browser does when a pad's first button is pressed. Each change of the pad
// waits a frame, by when the page has looked at it.
function fakeGamepad() {
    const pad = {
        id: 'Fake pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard', timestamp: 0,
        axes: [0, 0, 0, 0],
        buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
    };
    const slots = [null, null, null, null];
    Object.defineProperty(Navigator.prototype, 'getGamepads', { value: () => slots, configurable: true });
    const frame = () => new Promise((resolve) => requestAnimationFrame(() => resolve()));
    const fake = {
        A: 0, B: 1, START: 9, UP: 12, DOWN: 13, LEFT: 14, RIGHT: 15,
        async plugIn() {
            slots[0] = pad;
            dispatchEvent(new Event('gamepadconnected'));
            await frame();
            await frame();
        },
        async set(button, down) {
            pad.buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
            pad.timestamp++;
            await frame();
        },
        async stick(x, y) {
            pad.axes = [x, y, 0, 0];
            pad.timestamp++;
            await frame();
        },
        async tap(button) {
            await fake.set(button, true);
            await fake.set(button, false);
        },
        async frames(n) {
            for (let i = 0; i < n; i++) await frame();
        },
    };
    window.fakePad = fake;
}

const boxOpen = (page) => page.evaluate(() => window.quorvale.boxOpen);

for (const browser of ['chromium', 'firefox']) {
    const name = browser[0].toUpperCase() + browser.slice(1);
    const options = { browser, beforeLoad: (page) => page.evaluateOnNewDocument(fakeGamepad) };

    // Started by A as the pad is revealed, played to the goal with the d-pad and the stick, and
    // both boxes answered: the A that opened a box, still held, answers neither.
    pageTest(`${name}GamepadWinsAWholeGameAndHeldAAnswersNoBox`, async (page) => {
        await page.evaluate(() => {
            window.quorvale.holdClock(true);
            window.answers = 0;
            window.quorvale.on('answer', () => { window.answers++; });
        });
        await page.evaluate(async () => {
            await window.fakePad.set(window.fakePad.A, true); // a browser reveals a pad at a press
            await window.fakePad.plugIn();
            await window.fakePad.set(window.fakePad.A, false);
        });
        assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'false', 'A as the pad came started the game');
        const route = routeKeys(script('win.script'));
        await page.evaluate(async (keys) => {
            const pad = window.fakePad;
            const dpad = { 37: pad.LEFT, 38: pad.UP, 39: pad.RIGHT, 40: pad.DOWN };
            const along = { 37: [-0.9, 0.3], 38: [0.2, -0.8], 39: [0.7, -0.6], 40: [-0.6, 0.95] };
            for (const [i, key] of keys.entries()) {
                // Every fifth step by the stick, pushed past half its travel along one axis.
                if (i % 5 === 0) {
                    await pad.stick(...along[key]);
                    await pad.stick(0.3, -0.4);
                } else {
                    await pad.tap(dpad[key]);
                }
            }
            await pad.set(pad.A, true); // the step onto the goal is judged at the next press
        }, route);
        await waitForBox(page, ' Congratulations');
        await page.evaluate(() => window.fakePad.frames(40)); // two thirds of a second, A held
        assert.ok(await boxOpen(page), 'the held A answered the first box');
        await page.evaluate(async () => {
            const pad = window.fakePad;
            await pad.set(pad.A, false);
            await pad.tap(pad.RIGHT);
        });
        assert.equal(await focusedId(page), 'msgbox-no', 'the d-pad moves to No');
        await page.evaluate(async () => {
            const pad = window.fakePad;
            await pad.tap(pad.B); // Escape: the box needs an answer
            await pad.tap(pad.LEFT);
            await pad.set(pad.A, true);
        });
        await page.waitForFunction(() => window.answers === 1 && window.quorvale.boxOpen, { timeout: 5000 });
        await page.evaluate(() => window.fakePad.frames(40));
        assert.ok(await boxOpen(page), 'the A that answered the first box answered the second');
        await page.evaluate(async () => {
            const pad = window.fakePad;
            await pad.set(pad.A, false);
            await pad.tap(pad.START);
        });
        await page.waitForFunction(() => window.answers === 2 && !window.quorvale.boxOpen && !window.quorvale.busy);
        assert.equal(await dumpValue(page, 'cmdstart.Visible'), 'true', 'setup after Yes');
        assert.equal(await focusedId(page), 'cmdstart', 'focus after the reset');
    }, options);
}
