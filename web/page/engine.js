// The page's worker: the rules, their clock and the board's painter run here, so that the balls
// patrolling cost the page's main thread nothing but the frames the browser shows. The page
// sends the player's events and asks what it needs (bridge.js); this answers each in turn, and
// tells the page, unasked, what it shows besides the board: the controls and the label's caption
// when they change, a message box, the end of the program. A tick that only moves a ball is
// painted here and tells the page nothing.

import * as rules from './compiled.js';
import { describe } from './layout.js';
import { makeClock } from './clock.js';
import { createPainter } from './paint.js';
import * as replayer from './replayer.js';

const tell = (message, transfer) => self.postMessage(message, transfer);

let layout = null; // the layout in the page's terms (layout.js)
let paint = () => {}; // the painter, once the page has handed over the canvas
let controls = null; // the controls' state as the rules had it after the last event
let caption = null; // the label's caption as the page was last told it
let gap = { left: 0, width: 0 }; // where the frame's caption interrupts its outline (the page's)
let request = null; // the number of the page's request whose event is running
let answerBox = null; // the running event's box, waiting for the page's answer
let boxed = false; // the running event showed a box
const page = { hidden: false, held: false };
// The times as the page was last told them, and when: the running time goes at most twice a
// second, a game's start or end at once.
const told = { games: -1, last: null, running: null, race: null, at: -Infinity, lastReplayed: false };
let racing = false; // a ghost races the player
let ghostPainted = null; // the ghost's record as the board was last told it

const clock = makeClock(() => rules.tick());
const timersOn = () => controls !== null && layout.timers.some((t) => controls.timers[t]);

// The ticks that fell while the clock was idle go to the rules before anything else does.
const keepTime = () => rules.ticksPassed(clock.passed());

// Runs while the program goes on, the page is shown and neither the page nor a replay delivers
// the ticks itself: it ticks while a timer is on, and otherwise only keeps the time, counting
// the ticks that fell at the next event instead of waking for each.
function syncClock() {
    if (rules.ended() || page.held || replayer.running() || page.hidden) {
        keepTime();
        clock.stop();
    } else if (timersOn() || racing) {
        // A race's ghost moves with every tick of the player's clock, timers or none.
        clock.start();
    } else {
        clock.idle();
    }
    keepShowingTime(!rules.ended() && !page.held && !replayer.running() && !page.hidden && !timersOn() && !racing);
}

// The shown controls whose faces the board paints under their captions: the frame (with where its
// caption interrupts its outline) and its option buttons.
function faces() {
    if (!controls || !controls.controls[layout.frame.name].visible) return [];
    const shownOptions = layout.options.filter((c) => controls.controls[c.name].visible);
    return [{ ...layout.frame, gap }, ...shownOptions];
}

// `ghost`: the racing ghost's record, when the caller has just read it.
function paintBoard(ghost = racing ? rules.ghostRecord(layout.shapeStride) : null) {
    ghostPainted = ghost;
    paint({
        kind: 'board',
        // A copy: the records are read in place in the rules' memory, which may grow.
        records: rules.shapeRecords(layout.shapeCount, layout.shapeStride).slice(),
        ground: rules.formBackColor(),
        caption: rules.labelCaption(),
        faces: faces(),
        ghost: ghostPainted,
    });
}

// Whether the ghost's record (or null) is the one the board was last told.
const ghostAsPainted = (ghost) => ghost === ghostPainted ||
    (ghost !== null && ghostPainted !== null && ghost.every((v, i) => v === ghostPainted[i]));

// What the page is told besides the board: the controls when they changed, the caption when it
// changed.
function shown(message, changes) {
    if ((changes & layout.changes.controls) !== 0) {
        controls = rules.controlsState();
        message.controls = controls;
    }
    if ((changes & layout.changes.typed) !== 0) {
        message.typed = rules.takeTyped();
        controls.cheatText += message.typed;
    }
    const now = rules.labelCaption();
    if (now !== caption) {
        caption = now;
        message.caption = now;
    }
    return message;
}

// While the clock only keeps the time, a game in play still has its running time shown: the
// ticks that fell go to the rules as often as the page is told the time.
let showing = 0;
function keepShowingTime(idle) {
    if (idle && told.running !== null && !showing) {
        showing = setInterval(() => {
            keepTime();
            tellTimes();
        }, 500);
    } else if (!(idle && told.running !== null) && showing) {
        clearInterval(showing);
        showing = 0;
    }
}

// The times below the game, when they changed enough to tell.
let trailing = 0;
function tellTimes() {
    const times = { ...rules.times(), race: rules.raceStatus() };
    const last = JSON.stringify(times.last);
    const now = performance.now();
    const settled = times.games !== told.games || last !== told.last ||
        (times.running === null) !== (told.running === null) || (times.race === null) !== (told.race === null);
    const same = times.runningText === told.running && times.race === told.race;
    if (!settled && same) return;
    if (!settled && now - told.at < 500) {
        // Told once the half second is up, should nothing else come by then (a held clock).
        trailing ||= setTimeout(() => {
            trailing = 0;
            tellTimes();
        }, 500 - (now - told.at));
        return;
    }
    // A game a replay finished was not the player's: the page keeps no best of it.
    if (last !== told.last) told.lastReplayed = replayer.running();
    Object.assign(told, { games: times.games, last, running: times.runningText, race: times.race, at: now });
    tell({ kind: 'times', times: { ...times, lastReplayed: told.lastReplayed } });
}

// After every event: the board painted, and the page told what it asked for or what it shows.
function afterEvent(what, value) {
    const changes = rules.takeChanges();
    const message = shown({ kind: 'after', what, value, changes }, changes);
    const ghost = racing ? rules.ghostRecord(layout.shapeStride) : null;
    if ((changes & (layout.changes.drawn | layout.changes.controls)) !== 0 || !ghostAsPainted(ghost)) paintBoard(ghost);
    if (request !== null) {
        message.id = request;
        request = null;
    }
    // The page hears of its own events, of what it shows, of the end of a box it answered, and
    // of clicks (Start Over puts the focus on Start); not of a tick or a replayed key that only
    // moved something on the board.
    if (message.id !== undefined || message.controls || message.typed || 'caption' in message || boxed ||
        what.kind === 'click') tell(message);
    // No tick reaches the rules while a box is open, so the time it stood open is not kept.
    if (boxed) clock.passed();
    boxed = false;
    tellTimes();
    syncClock();
}

// The rules' message box: whatever the procedure changed so far is painted and shown first; the
// event waits for the page's answer.
function messageBox(prompt, style, title) {
    boxed = true;
    paintBoard();
    const message = shown({ kind: 'box', prompt, style, title }, layout.changes.controls);
    if (replayer.running()) message.replay = replayer.boxAnswer();
    tell(message);
    return new Promise((resolve) => { answerBox = resolve; });
}

function programEnded(status, message) {
    clock.stop();
    tell({ kind: 'ended', status, message });
}

// An event the page asked for; one the rules cannot take now (not loaded, a box is open, the
// program has ended: compiled.js refuses it) is answered at once as not delivered.
function event(id, deliver) {
    keepTime();
    request = id;
    if (deliver() === false) {
        request = null;
        tell({ kind: 'after', id, refused: true });
    }
}

const reply = (id, value) => tell({ kind: 'reply', id, value });

// A game as it starts: what the page is shown of it, taken whole.
function startShown() {
    rules.takeChanges();
    controls = rules.controlsState();
    caption = rules.labelCaption();
}

async function load(wasm) {
    const rulesLayout = await rules.load(wasm, { messageBox, programEnded, afterEvent });
    layout = describe(rulesLayout);
    startShown();
    tell({ kind: 'loaded', rulesLayout, controls, caption });
    syncClock();
}

// The page's requests, each answered in the order they came.
const requests = {
    load: (m) => load(m.wasm).catch((error) => tell({ kind: 'failed', message: error.message })),
    canvas(m) {
        // A browser that cannot hand a canvas to a worker has the page paint it, told the same.
        paint = m.canvas ? createPainter(m.canvas, m.rulesLayout, tell) : (message) => tell({ kind: 'paint', message });
        paintBoard();
    },
    ratio: (m) => paint(m),
    gap(m) {
        gap = m.gap;
        paint({ kind: 'everything' });
        paintBoard();
    },
    pixels: (m) => paint(m),
    key: (m) => event(m.id, () => rules.key(m.code, m.shift)),
    click: (m) => event(m.id, () => rules.click(m.target)),
    edit: (m) => event(m.id, () => rules.edit(m.text)),
    tick: (m) => event(m.id, () => rules.tick()),
    tickTimer: (m) => event(m.id, () => rules.tickTimer(m.timer)),
    close: (m) => event(m.id, () => rules.close()),
    answer(m) {
        const resolve = answerBox;
        answerBox = null;
        if (resolve) resolve(m.value);
    },
    clock(m) {
        Object.assign(page, m.page);
        syncClock();
    },
    restart(m) {
        clock.stop(); // a new game's time begins now
        rules.restart();
        startShown();
        paint({ kind: 'everything' });
        paintBoard();
        syncClock();
        reply(m.id, { controls, caption });
    },
    dump: (m) => reply(m.id, rules.dump()),
    ranksAbove: (m) => reply(m.id, rules.ranksAbove(m.a, m.b)),
    recording(m) {
        keepTime();
        reply(m.id, rules.recording());
    },
    // Both at the same moment: no tick comes between them.
    snapshot(m) {
        keepTime();
        reply(m.id, { recording: rules.recording(), dump: rules.dump() });
    },
    ticks: (m) => reply(m.id, clock.ticks),
    ping: (m) => reply(m.id, null),
    // For the benchmarks: `n` ticks as the clock makes them, or key presses (a step left and
    // back) as the page sends them, each with all that follows it here; microseconds each.
    time(m) {
        const run = m.event === 'tick' ? () => rules.tick() : (i) => rules.key(i % 2 ? 39 : 37, 0);
        const begin = performance.now();
        for (let i = 0; i < m.n; ++i) run(i);
        reply(m.id, (performance.now() - begin) * 1000 / m.n);
    },
    settled: async (m) => {
        await rules.settled();
        reply(m.id, null);
    },
    loadScript(m) {
        try {
            rules.loadScript(m.text);
            reply(m.id, null);
        } catch (error) {
            reply(m.id, { error: error.message });
        }
    },
    async replay(m) {
        syncClock();
        try {
            reply(m.id, await replayer.run(m.options, (text) => tell({ kind: 'dumped', text })));
        } finally {
            page.held = false; // the player's clock again
            syncClock();
        }
    },
    hurry: () => replayer.hurry(),
    // A recording to race (see compiled.raceLoad), or with no text the race run ended.
    race(m) {
        if (m.text === null) {
            rules.raceEnd();
            racing = false;
        } else {
            const refusal = rules.raceLoad(m.text, m.last, m.keep);
            if (refusal !== null || !m.keep) {
                reply(m.id, refusal);
                return;
            }
            racing = true;
        }
        paintBoard();
        syncClock();
        tellTimes();
        reply(m.id, null);
    },
};

self.onmessage = ({ data }) => {
    const handle = requests[data.kind];
    if (!handle) throw new Error(`the page's worker was asked "${data.kind}"`);
    handle(data);
};
