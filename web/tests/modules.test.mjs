// The page's pure modules under Node, for what the browser tests cannot see: key codes no test
// presses, the clock's schedule after a stall, the label's line breaks, which module imports
// which, links at their bounds, what is drawn again, and the layout in the page's terms.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { test } from 'node:test';
import { makeClock, nextDue, paceTicks, PERIOD } from '../page/clock.js';
import { createDamage, meets } from '../page/damage.js';
import { isArrow, shiftState, virtualKeyCode } from '../page/keys.js';
import { describe, rgb } from '../page/layout.js';
import { holdsRecording, LinkError, makeLink, readFragment } from '../page/link.js';
import { wrap } from '../page/wrap.js';

test('KeyCodesReachTheRulesAsVirtualKeys', () => {
    for (const [code, key] of [
        ['KeyA', 65], ['KeyZ', 90], ['Digit0', 48], ['Digit9', 57], ['Numpad0', 96],
        ['Numpad9', 105], ['F1', 112], ['F24', 135], ['F25', 0], ['F0', 0], ['Enter', 13],
        ['NumpadEnter', 13], ['Quote', 222], ['IntlBackslash', 0], ['', 0],
        // Each pattern holds the whole name, no more: a name around it is no key of its.
        ['KeyAB', 0], ['xKeyA', 0], ['Keya', 0], ['Digit10', 0], ['xDigit1', 0],
        ['Numpad10', 0], ['xNumpad1', 0], ['F', 0], ['F1x', 0], ['xF1', 0], ['F10', 121],
    ])
        assert.equal(virtualKeyCode(code), key, code);
});

test('ShiftStateAddsShiftCtrlAndAltAndArrowsAreTheArrowKeys', () => {
    for (const [event, state] of [
        [{}, 0], [{ shiftKey: true }, 1], [{ ctrlKey: true }, 2], [{ altKey: true }, 4],
        [{ shiftKey: true, ctrlKey: true, altKey: true }, 7],
    ])
        assert.equal(shiftState(event), state, JSON.stringify(event));
    assert.equal(isArrow('ArrowLeft'), true);
    assert.equal(isArrow('KeyA'), false);
    assert.equal(isArrow('NumpadArrow'), false, 'an arrow is named so from its start');
});

// A clock on a hand-driven time: `advance(ms)` runs every timer that falls due meanwhile, each
// up to `early` milliseconds before it is asked to.
function fakeTime(early = 0) {
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
            set: (f, ms) => { timers.push({ at: now + Math.max(ms - early, ms / 2), f }); return timers.length; },
            clear: () => { timers = []; },
        },
        advance(ms) {
            const end = now + ms;
            // A clock that sets timers faster than time passes would otherwise hang the test.
            for (let runs = 0; ; ++runs) {
                assert.ok(runs < 100 * ms, `timers ran away ${ms} ms after ${now} ms`);
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
    assert.equal(clock.ticks, ticks, 'the clock counts what it called');
});

// Where the next tick falls, for a tick due at `due` and looked at `now`: the schedule's next
// point at least half a period away. Each row names the fault it catches.
test('NextTickIsTheNextPointAtLeastHalfAPeriodAhead', () => {
    for (const [due, now, next, fault] of [
        [PERIOD, 0, PERIOD, 'a tick due ahead moved'],
        [PERIOD, PERIOD * 0.7, PERIOD * 2, 'a tick less than half a period away kept'],
        [PERIOD, PERIOD * 0.5, PERIOD, 'a tick exactly half a period away skipped'],
        [PERIOD, PERIOD * 10.5, PERIOD * 11, 'a late tick made up for, or put a point too far'],
        [PERIOD, PERIOD * 10.6, PERIOD * 12, 'a late tick less than half a period away kept'],
        [PERIOD * 3, PERIOD * 3, PERIOD * 4, 'a tick due right now run twice'],
    ])
        assert.equal(nextDue(due, now), next, fault);
});

test('ClockStartedTwiceRunsOnceAndNeverTicksBeforeItsPoint', () => {
    // Timers that fire a millisecond early, as browsers' may.
    const time = fakeTime(1);
    const at = [];
    const clock = makeClock(() => at.push(time.timers.now()), time.timers);
    clock.start();
    clock.start();
    time.advance(1000);
    assert.equal(at.length, 64, 'ticks in the first second');
    at.forEach((t, k) => assert.ok(t >= (k + 1) * PERIOD, `tick ${k + 1} at ${t} ms`));
    clock.stop();
    clock.start();
    time.advance(1000);
    assert.equal(at.length, 128, 'a clock started again runs again');
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

// What goes to the link reader's caller: the message it refuses with, or the text.
async function read(hash) {
    try {
        return { text: await readFragment(hash) };
    } catch (error) {
        assert.ok(error instanceof LinkError, `not a LinkError: ${error}`);
        return { refused: error.message };
    }
}

test('LinkComesBackAsItsRecordingAndBadLinksAreRefusedWithTheirReason', async () => {
    const recording = 'click cmdstart\nkey 37\nwait 64\ndump\n';
    const link = await makeLink(recording, 'http://127.0.0.1:8000/index.html#old');
    assert.ok(link.startsWith('http://127.0.0.1:8000/index.html#r1:'), link);
    const hash = link.slice(link.indexOf('#'));
    assert.deepEqual(await read(hash), { text: recording });
    assert.deepEqual(await read(hash.slice(1)), { text: recording }, 'read without its #');
    const data = hash.slice('#r1:'.length);
    const noRecording = "the link holds no recording: it has no '#r1:'";
    const notBase64 = 'the link is damaged: it is not valid base64url';
    const notDeflate = 'the link is damaged: its recording is not valid DEFLATE data';
    for (const [fragment, refused] of [
        ['#top', noRecording],
        ['#r1', noRecording],
        ['#r:' + data, noRecording],
        [`#r2:${data}`, "the link is in format 'r2', which this version does not read"],
        [`#r1234567:${data}`, "the link is in format 'r1234567', which this version does not read"],
        [`#r12345678:${data}`, noRecording],
        [`${hash}==`, notBase64],
        ['#r1:ab+/', notBase64],
        ['#r1:abcde', notBase64],
        [hash.slice(0, -4), notDeflate],
        ['#r1:_w', notDeflate],
        // Bytes after the end of the data are refused by the browser's streams (link.test.mjs)
        // but not by Node's, so they are not tried here.
        ['#r1:' + 'A'.repeat(1_000_000 - 2), 'the link is longer than 1 MB, more than a link may hold'],
        // Exactly 1 MB is not refused for its length, only for what it holds.
        ['#r1:' + 'A'.repeat(1_000_000 - 3), notBase64],
    ])
        assert.deepEqual(await read(fragment), { refused }, fragment.slice(0, 40));
});

test('OnlyAFragmentOfRAndDigitsAndAColonHoldsARecording', () => {
    for (const [hash, holds] of [
        ['#r1:abc', true], ['r1:abc', true], ['#r1234567:', true], ['#r12345678:', false],
        ['#r:abc', false], ['#x1:abc', false], ['#top', false], ['#ar1:', false], ['', false],
    ])
        assert.equal(holdsRecording(hash), holds, hash);
});

// Shapes of two numbers each, the left and top of a 10-pixel square.
function squares(...positions) {
    return Float64Array.from(positions.flat());
}

test('DamageNamesOldAndNewRectanglesOfWhatChangedAndTheWholeBoardOtherwise', () => {
    const label = { x: 0, y: 0, w: 50, h: 20 };
    const damage = createDamage({
        count: 3,
        stride: 2,
        boundsOf: (records, i) => ({ x: records[2 * i], y: records[2 * i + 1], w: 10, h: 10 }),
        label,
    });
    const grown = (x, y) => ({ x: x - 2, y: y - 2, w: 14, h: 14 });
    assert.equal(damage.take(squares([0, 0], [20, 0], [40, 0]), 'red', ''), null, 'first frame');
    assert.deepEqual(damage.take(squares([0, 0], [20, 0], [40, 0]), 'red', ''), [], 'nothing moved');
    assert.deepEqual(damage.take(squares([0, 0], [20, 5], [40, 0]), 'red', ''),
        [grown(20, 0), grown(20, 5)], 'one moved: where it was and where it is');
    assert.deepEqual(damage.take(squares([0, 0], [20, 5], [40, 7]), 'red', ''),
        [grown(40, 0), grown(40, 7)], 'the last shape moved');
    assert.deepEqual(damage.take(squares([0, 0], [20, 5], [40, 7]), 'red', 'About'),
        [label], 'the caption changed');
    assert.equal(damage.take(squares([0, 0], [20, 5], [40, 7]), 'blue', 'About'), null,
        'the ground changed');
    damage.everything();
    assert.equal(damage.take(squares([0, 0], [20, 5], [40, 7]), 'blue', 'About'), null,
        'asked for everything');
    assert.deepEqual(damage.take(squares([0, 0], [20, 5], [40, 7]), 'blue', 'About'), []);
    assert.deepEqual(damage.bounds(squares([3, 4]), 0), grown(3, 4));
    assert.equal(damage.label, label);
});

test('DamageGivesUpOnRectanglesPastTwelve', () => {
    const boundsOf = (records, i) => ({ x: records[i], y: 0, w: 1, h: 1 });
    const moved = (count) => {
        const damage = createDamage({ count: 7, stride: 1, boundsOf, label: {} });
        damage.take(new Float64Array(7), 0, '');
        return damage.take(Float64Array.from({ length: 7 }, (_, i) => (i < count ? 1 : 0)), 0, '');
    };
    assert.equal(moved(6).length, 12, 'six shapes moved: twelve rectangles');
    assert.equal(moved(7), null, 'seven shapes moved: the whole board');
});

test('RectanglesMeetOnlyWhereTheyOverlap', () => {
    const a = { x: 0, y: 0, w: 10, h: 10 };
    for (const [b, overlap] of [
        [{ x: 5, y: 5, w: 10, h: 10 }, true],
        [{ x: 9, y: 0, w: 1, h: 1 }, true],
        [{ x: 10, y: 0, w: 5, h: 5 }, false], // touching at the right edge
        [{ x: 0, y: 10, w: 5, h: 5 }, false], // touching at the bottom edge
        [{ x: -5, y: 0, w: 5, h: 5 }, false], // touching at the left edge
        [{ x: 0, y: -5, w: 5, h: 5 }, false], // touching at the top edge
    ]) {
        assert.equal(meets(a, b), overlap, JSON.stringify(b));
        assert.equal(meets(b, a), overlap, `${JSON.stringify(b)}, turned round`);
    }
});

test('LayoutInThePagesTermsIsInPixelsWithTheFocusOrderFromTheStartButton', () => {
    const control = (name, kind, tabIndex, left = 0) =>
        ({ name, kind, tabIndex, rect: { left, top: 30, width: 150, height: 45 } });
    const raw = {
        twipsPerPixel: 15,
        caption: 'Maze',
        clientWidth: 1500,
        clientHeight: 300,
        formBackColor: 0x80,
        labelFontPoints: 12,
        controls: [
            control('optred', 'OptionButton', 5), control('cmdstart', 'CommandButton', 6, 15),
            control('fraborder', 'Frame', 0), control('optgreen', 'OptionButton', 2),
            control('txtcheat', 'TextBox', 7), control('lblabout', 'Label', 1),
            control('optblue', 'OptionButton', 3),
        ],
        drawingOrder: ['shpborder', 'lblabout', 'shpyou'],
        shapeKinds: ['Rectangle'],
        shapeFields: ['left', 'top', 'fillColor'],
        timers: ['Timer1'],
        answers: ['yes'],
        replay: {},
        changes: {},
        startOver: 'mnufilestart',
        menus: ['File'],
        items: ['mnufilestart'],
        pictures: {
            start: { figures: [] },
            boxIconBits: 0x70,
            boxIcons: [{ style: 0x30, picture: 'warning' }, { style: 0x40, picture: 'information' }],
        },
    };
    const layout = describe(raw);
    assert.equal(layout.width, 100);
    assert.equal(layout.height, 20);
    assert.equal(layout.px(45), 3);
    assert.deepEqual(layout.start.rect, { left: 1, top: 2, width: 10, height: 3 });
    assert.deepEqual(raw.controls[1].rect, { left: 15, top: 30, width: 150, height: 45 },
        'the rules\' description left as it was');
    assert.equal(layout.cheat.name, 'txtcheat');
    assert.equal(layout.frame.name, 'fraborder');
    assert.equal(layout.label.name, 'lblabout');
    assert.deepEqual(layout.options.map((c) => c.name), ['optred', 'optgreen', 'optblue']);
    assert.deepEqual(layout.focusOrder,
        ['cmdstart', 'txtcheat', 'optgreen', 'optblue', 'optred']);
    assert.equal(layout.labelFontPixels, 16, '12 points of 20 twips, 15 twips a pixel');
    assert.equal(layout.shapeCount, 2, 'the label is drawn in order but is no shape');
    assert.deepEqual(layout.shapeFields, { left: 0, top: 1, fillColor: 2 });
    assert.equal(layout.shapeStride, 3);
    assert.deepEqual(layout.menus, { menus: ['File'], items: ['mnufilestart'] });
    assert.equal(layout.startPicture, raw.pictures.start);
    // A box's style holds its buttons besides its sign: only the sign's bits pick the picture.
    assert.equal(layout.boxIcon(0x30 + 4), 'warning');
    assert.equal(layout.boxIcon(0x40 + 4), 'information');
    assert.equal(layout.boxIcon(4), null, 'a style with no sign');
    for (const key of ['caption', 'formBackColor', 'drawingOrder', 'shapeKinds', 'timers',
        'answers', 'replay', 'changes', 'startOver'])
        assert.equal(layout[key], raw[key], key);
});

test('ColourIsSixHexDigitsOfRedGreenAndBlue', () => {
    for (const [value, css] of [[0, '#000000'], [0xff, '#0000ff'], [0xabcdef, '#abcdef']])
        assert.equal(rgb(value), css, value.toString(16));
});
