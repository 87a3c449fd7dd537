// The page's pure modules under Node, for what the browser tests cannot see: key codes no test
// presses, the clock's schedule after a stall, the label's line breaks, and which module imports
// which.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';
import { makeClock, paceTicks, PERIOD } from '../page/clock.js';
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
        now: () => now,
        // Runs the timer due first, time moving on to it; false when none is set.
        next() {
            timers.sort((a, b) => a.at - b.at);
            const t = timers.shift();
            if (!t) return false;
            now = Math.max(now, t.at);
            t.f();
            return true;
        },
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

// A replay's `wait` keeps the clock's schedule: 64 ticks a second, and a tick held up by a box
// brings no burst of ticks behind it.
test('ReplayWaitTicksAtTheClocksPaceAndMakesUpNoTicksLostToABox', async () => {
    const time = fakeTime();
    const at = [];
    const tick = async () => {
        at.push(time.now());
        if (at.length === 64) time.stall(500); // a box held this tick open for half a second
    };
    let done = false;
    paceTicks(128, tick, { timers: time.timers }).then(() => { done = true; });
    for (let turns = 0; !done && turns < 10_000; ++turns) {
        await new Promise(setImmediate); // the ticks' own promises settle first
        time.next();
    }
    assert.ok(done, 'the wait ended');
    assert.equal(at.length, 128, 'ticks made');
    assert.ok(at[63] >= 990 && at[63] <= 1010, `the 64th tick at ${at[63]} ms`);
    const gaps = at.slice(65).map((t, i) => t - at[64 + i]);
    assert.ok(Math.min(...gaps) >= PERIOD / 2, `ticks after the box ${Math.min(...gaps)} ms apart`);
    assert.ok(at[127] - at[64] >= 975 && at[127] - at[64] <= 1000,
        `63 ticks after the box took ${at[127] - at[64]} ms`);
});

// The page's modules import one another one way only: a module can be read with what it imports,
// and nothing it imports reaches back to it.
test('PageModulesImportOneAnotherWithoutACycle', () => {
    const dir = new URL('../page/', import.meta.url);
    const imports = new Map();
    for (const name of fs.readdirSync(dir).filter((f) => f.endsWith('.js'))) {
        const text = fs.readFileSync(new URL(name, dir), 'utf8');
        const from = /^(?:import|export)\s[^;'"]*?['"]\.\/([\w.-]+\.js)['"]/gm;
        imports.set(name, [...text.matchAll(from)].map((m) => m[1]));
    }
    assert.ok(imports.get('main.js').length >= 10, `main.js imports ${imports.get('main.js')}`);
    const cycles = [];
    const done = new Set();
    const walk = (name, path) => {
        if (path.includes(name)) {
            cycles.push([...path.slice(path.indexOf(name)), name].join(' -> '));
            return;
        }
        if (done.has(name)) return;
        for (const next of imports.get(name) || []) walk(next, [...path, name]);
        done.add(name);
    };
    for (const name of imports.keys()) walk(name, []);
    assert.deepEqual(cycles, []);
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
