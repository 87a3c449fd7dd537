// The page's pure modules under Node, for what the browser tests cannot see: key codes no test
// presses, the clock after a stall, and the label's line breaks.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { makeClock, PERIOD } from '../page/clock.js';
import { virtualKeyCode } from '../page/keys.js';
import { wrap } from '../page/wrap.js';

test('KeyCodesReachTheRulesAsVirtualKeys', () => {
    for (const [code, key] of [
        ['KeyA', 65], ['KeyZ', 90], ['Digit0', 48], ['Digit9', 57], ['Numpad0', 96],
        ['Numpad9', 105], ['F1', 112], ['F24', 135], ['F25', 0], ['F0', 0], ['Enter', 13],
        ['NumpadEnter', 13], ['Quote', 222], ['IntlBackslash', 0], ['', 0],
    ])
        assert.equal(virtualKeyCode(code), key, code);
});

// A clock on a hand-driven time: `advance(ms)` runs every timer that falls due meanwhile.
function fakeTime() {
    let now = 0;
    let timers = [];
    return {
        timers: {
            now: () => now,
            set: (f, ms) => { timers.push({ at: now + ms, f }); return timers.length; },
            clear: () => { timers = []; },
        },
        advance(ms) {
            const end = now + ms;
            for (;;) {
                timers.sort((a, b) => a.at - b.at);
                if (!timers.length || timers[0].at > end) break;
                const t = timers.shift();
                now = Math.max(now, t.at);
                t.f();
            }
            now = end;
        },
        stall(ms) { now += ms; }, // the page was busy: no timer ran
    };
}

test('ClockMakesUpNoTicksLostToAStall', () => {
    const time = fakeTime();
    let ticks = 0;
    const clock = makeClock(() => { ++ticks; }, time.timers);
    clock.start();
    time.advance(1000);
    assert.ok(ticks >= 63 && ticks <= 64, `ticks in the first second: ${ticks}`);
    const before = ticks;
    time.stall(500);
    time.advance(PERIOD / 2);
    assert.equal(ticks - before, 1, 'ticks just after half a second stalled');
    time.advance(1000);
    assert.ok(ticks - before <= 66, `ticks in the second after the stall: ${ticks - before}`);
    clock.stop();
    const stopped = ticks;
    time.advance(1000);
    assert.equal(ticks, stopped, 'ticks once stopped');
});

// An idle clock wakes for nothing, yet counts the ticks of its schedule that fell meanwhile, and
// ticks on from the same points when it runs again.
test('IdleClockCountsTheTicksOfItsSchedule', () => {
    const time = fakeTime();
    let ticks = 0;
    const clock = makeClock(() => { ++ticks; }, time.timers);
    clock.start();
    time.advance(PERIOD * 3 + 1);
    clock.idle();
    time.advance(1000);
    assert.equal(ticks, 3, 'ticks made while idle');
    assert.equal(clock.passed(), 64, 'ticks counted after a second idle');
    time.advance(PERIOD);
    assert.equal(clock.passed(), 1, 'the next point of the schedule');
    assert.equal(clock.passed(), 0, 'none counted twice');
    clock.start();
    time.advance(PERIOD);
    assert.equal(ticks, 4, 'ticking again on the same schedule');
    clock.stop();
});

test('LabelWrapsAtSpacesWithinItsWidth', () => {
    const measure = (text) => text.length; // one unit a character
    for (const [caption, width, lines] of [
        ['one two three', 7, ['one two', 'three']],
        ['one  two', 20, ['one  two']], // runs of spaces are kept inside a line
        ['one   two', 4, ['one', 'two']], // and dropped at a break
        ['longword a', 4, ['longword', 'a']], // a word wider than the line stands alone
        ['', 4, []],
    ])
        assert.deepEqual(wrap(caption, width, measure), lines, JSON.stringify(caption));
});
