// The page's way to the rules, which run in a worker (engine.js) with their clock and the board's
// painter: events and questions go there in order, each answered in turn; what the rules show
// besides the board (the controls, the label's caption) is kept here as they last told it, so
// that the page reads it at once.

import { state, emit } from './state.js';
import { createPainter } from './paint.js';

let worker = null;
let page = null;
let clickables = []; // by the number a click is delivered with
let controls = null; // the controls' state, by name, as the rules last told it
let caption = '';
let changes = 0; // what changed since takeChanges() was last asked
let boxReplay; // how a replay answers the box now open: {value, after}, or null
const asked = new Map(); // the requests not yet answered, by number
const events = new Set(); // those of them that are events
let lastAsked = 0;

const post = (message, transfer = []) => worker.postMessage(message, transfer);

function ask(kind, fields = {}) {
    const id = ++lastAsked;
    post({ kind, id, ...fields });
    return new Promise((resolve) => asked.set(id, resolve));
}

function deliver(kind, fields = {}) {
    const answer = ask(kind, fields);
    events.add(lastAsked);
    state.inEvent = true;
    return answer;
}

function answered(id, value) {
    const resolve = asked.get(id);
    asked.delete(id);
    events.delete(id);
    state.inEvent = events.size > 0;
    resolve(value);
}

// What the rules show besides the board, from a message that may tell it.
function remember(message) {
    if (message.controls) controls = message.controls;
    // Only what was typed at the end of the cheat box, rather than its whole text again.
    if (message.typed) controls = { ...controls, cheatText: controls.cheatText + message.typed };
    if ('caption' in message) caption = message.caption;
}

const heard = {
    after(m) {
        // Answered first, so that what follows the event knows whether another is still out.
        if (m.id !== undefined) answered(m.id, m.refused ? false : m.value);
        if (!m.refused) {
            remember(m);
            changes |= m.changes;
            emit('event', m.what, m.value);
            page.afterEvent(m.what, m.value);
        }
        if (events.size === 0) page.allAnswered();
    },
    box(m) {
        remember(m);
        boxReplay = m.replay;
        page.messageBox(m.prompt, m.style, m.title).then((value) => post({ kind: 'answer', value }));
    },
    ended: (m) => page.programEnded(m.status, m.message),
    reply: (m) => answered(m.id, m.value),
    dumped: (m) => console.log(m.text + '--'),
    times: (m) => timesHeard.forEach((f) => f(m.times)),
    first: () => performance.mark('quorvale-first-frame'),
    pixels: (m) => answered(m.id, m),
    paint: (m) => painter(m.message),
};
const timesHeard = []; // the page's listeners for the games' times
let painter = null; // the board's painter on the page, where the worker cannot have the canvas

// Starts the rules' worker with the bytes of quorvale.wasm (fetched here, where the page asked
// for them first) and gives it the page's side of a message box and of the end of the program;
// `hooks.afterEvent(what, value)` runs after every event the page needs to hear of, and
// `hooks.allAnswered()` once no event of the page's is waiting for the rules. Resolves to the
// layout as the rules write it (layout.js describes it in the page's terms).
export async function load(hooks) {
    page = hooks;
    worker = new Worker(new URL('engine.js', import.meta.url));
    // The worker's script or the rules that cannot be had end the loading with why.
    const loaded = new Promise((resolve, reject) => {
        worker.onerror = (e) => reject(new Error(`the game's worker stopped: ${e.message || 'it could not start'}`));
        worker.onmessage = ({ data }) => {
            if (data.kind === 'loaded') resolve(data);
            else if (data.kind === 'failed') reject(new Error(data.message));
            else heard[data.kind](data);
        };
    });
    const response = await fetch(new URL('quorvale.wasm', import.meta.url));
    if (!response.ok) throw new Error(`quorvale.wasm: ${response.status}`);
    const wasm = await response.arrayBuffer();
    post({ kind: 'load', wasm }, [wasm]);
    const { rulesLayout, controls: now, caption: text } = await loaded;
    clickables = rulesLayout.clickables;
    controls = now;
    caption = text;
    return rulesLayout;
}

export const loaded = () => page !== null && controls !== null;
// No event of the page's waits for the rules.
export const idle = () => events.size === 0;

// The events, as the rules take them, each resolving to what the rules gave, or false where they
// could not take it (a box is open, the program has ended). Whether the player's input may reach
// them is game.js's to say; a replay delivers its own.
export const key = (code, shift) => deliver('key', { code, shift });
export const click = (target) => deliver('click', { target });
export const edit = (text) => deliver('edit', { text });
export const tick = () => deliver('tick');
export const tickTimer = (timer) => deliver('tickTimer', { timer });
export const close = () => deliver('close');

// The number a click on `name` is delivered with; -1 for none.
export const clickableId = (name) => clickables.indexOf(name);

// What the rules show besides the board, as they last told it: the controls, the timers, the
// cheat box's text and the end, by name; the label's caption; what changed (the layout's
// `changes` bits) since the last look.
export const controlsState = () => controls;
export const labelCaption = () => caption;
export function takeChanges() {
    const taken = changes;
    changes = 0;
    return taken;
}
// How a replay answers the box now open ({value, after: ms}); null if it leaves it to the player,
// undefined if no replay opened it.
export const replayAnswer = () => boxReplay;

// A new game, as starting the program again would make.
export async function restart() {
    remember(await ask('restart'));
    changes = 0;
}

export const dump = () => ask('dump');
// The games' times, as the rules' stopwatch has them, and the race's line (`race`, null while no
// race is run) reach `f` when they change (at most a few times a second while a game runs);
// `ranksAbove` compares two won games by the rules' ranking.
export const onTimes = (f) => { timesHeard.push(f); };
export const ranksAbove = (a, b) => ask('ranksAbove', { a, b });
export const recording = () => ask('recording');
export const snapshot = () => ask('snapshot');
export const clockTicks = () => ask('ticks');
// Resolves once the running event, if any, has run to its end.
export const settled = () => ask('settled');
// For the benchmarks: the rules' worker times `n` ticks or key presses of its own.
export const timeEvents = (event, n) => ask('time', { event, n });
// Resolves once the page has heard everything the rules did before this was asked.
export const caughtUp = () => ask('ping');

// A script for the replay: every line is checked before anything runs; a bad one is reported as
// the driver does.
export async function loadScript(text) {
    const result = await ask('loadScript', { text });
    if (result !== null) throw new Error(result.error);
}
// Replays the loaded script (replayer.js); resolves to its dumps and why it stopped early.
export const replay = (options) => ask('replay', { options });
export const hurry = () => post({ kind: 'hurry' });

// A recording to race: resolves to null once its ghost waits for the player's next start, else
// to why it cannot be raced. With `keep` false it is only judged. `last`: its last won game is
// raced rather than its first (a best is kept with the recording of its whole session).
export const race = (text, { last = false, keep = true } = {}) => ask('race', { text, last, keep });
export const endRace = () => ask('race', { text: null });

// The rules' clock: held while the page delivers ticks itself, stopped while the page is hidden.
export const clockPage = (fields) => post({ kind: 'clock', page: fields });

// The board's painter, in the worker: the canvas handed over, its scale, where the frame's
// caption interrupts the outline, and its pixels for tests.
export function handCanvas(canvas, rulesLayout) {
    if (typeof canvas.transferControlToOffscreen === 'function') {
        const offscreen = canvas.transferControlToOffscreen();
        post({ kind: 'canvas', canvas: offscreen, rulesLayout }, [offscreen]);
    } else {
        painter = createPainter(canvas, rulesLayout, (m) => heard[m.kind](m));
        post({ kind: 'canvas' });
    }
}
export const paintAt = (ratio) => post({ kind: 'ratio', ratio });
export const frameGap = (gap) => post({ kind: 'gap', gap });
export const pixels = (rect) => ask('pixels', { rect });
