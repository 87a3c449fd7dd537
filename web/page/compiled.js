// The only module that calls into the compiled rules (quorvale.wasm), in the page's worker
// (engine.js): the events, what the rules show, the recording and the replay's script. Strings
// cross as UTF-8.

let compiled = null; // the compiled game, as its loader gives it
let afterEvent = () => {};
// The rules' own flags: the program has ended; an event is running in the rules (perhaps held
// by a message box); and it is waiting for the box's answer.
const state = { ended: false, inEvent: false, suspended: false };
let clickables = []; // by the number a click is delivered with
let codes = null; // the replay's step codes and the boxes' answers, as the layout gives them
let pendingEvent = Promise.resolve();
let eventEnd = null;

const text = (ptr) => compiled.UTF8ToString(ptr);

// Loads the rules from the bytes of quorvale.wasm and gives them the page's side of a message
// box and of the end of the program; `page.afterEvent(what, value)` runs after every event.
// Resolves to the layout's description as the rules write it.
export async function load(wasmBinary, page) {
    compiled = await createQuorvale({ wasmBinary }); // from quorvale.js, the rules' loader
    afterEvent = page.afterEvent;
    compiled.quorvalePage = {
        messageBox(...args) {
            state.suspended = true;
            return page.messageBox(...args).finally(() => { state.suspended = false; });
        },
        programEnded(status, message) {
            state.ended = true;
            page.programEnded(status, message);
        },
        eventEnded,
    };
    const rulesLayout = JSON.parse(text(compiled._qv_layout_json()));
    clickables = rulesLayout.clickables;
    codes = { replay: rulesLayout.replay, answers: rulesLayout.answers };
    return rulesLayout;
}

export const replayCodes = () => codes.replay;
export const answers = () => codes.answers;
export const ended = () => state.ended;

// Runs one event in the rules, which also record it. Nothing reaches them while another is
// still running, that is, while a message box is open, and nothing once the program has ended.
// A string goes in as its UTF-8 bytes and their count. `what` tells the page what the event
// was, for the focus and for tests (or, for a replay's command, says it once the command is done).
function deliver(name, types, args, what) {
    if (!compiled || state.ended || state.inEvent) return false;
    state.inEvent = true;
    const owned = [];
    const cargs = [];
    args.forEach((a, i) => {
        if (types[i] !== 'string') {
            cargs.push(a);
            return;
        }
        const length = compiled.lengthBytesUTF8(a);
        const ptr = compiled._malloc(length + 1);
        compiled.stringToUTF8(a, ptr, length + 1);
        owned.push(ptr);
        cargs.push(ptr, length);
    });
    const finish = (value) => {
        for (const ptr of owned) compiled._free(ptr);
        state.inEvent = false;
        afterEvent(typeof what === 'function' ? what() : what, value);
        return value;
    };
    const value = compiled['_' + name](...cargs);
    if (state.suspended) {
        // A box holds the call: its end, and its value, come from eventEnded().
        pendingEvent = new Promise((resolve) => {
            eventEnd = (v) => resolve(finish(v));
        });
        return true;
    }
    return finish(value);
}

function eventEnded(value) {
    const end = eventEnd;
    eventEnd = null;
    // Outside the rules' own call, which is still on the stack here.
    if (end) queueMicrotask(() => end(value));
}

// Resolves once the running event, if any, has run to its end.
export async function settled() {
    while (state.inEvent) await pendingEvent;
}

// The events, as the rules take them. Whether the player's input may reach them is input.js's
// to say; a replay delivers its own.
export const key = (code, shift) =>
    deliver('qv_key', ['number', 'number'], [code, shift], { kind: 'key', code });
export const click = (id) =>
    deliver('qv_click', ['number'], [id], { kind: 'click', name: clickables[id] });
export const edit = (whole) => deliver('qv_edit', ['string'], [whole], { kind: 'text', text: whole });
export const tick = () => deliver('qv_tick', [], [], { kind: 'tick' });
export const tickTimer = (timer) =>
    deliver('qv_tick_one', ['number'], [timer], { kind: 'tickone', timer });
export const close = () => deliver('qv_close', [], [], { kind: 'close' });
// Ticks of the clock that fell while no timer ran, counted rather than made: they reach no timer,
// but the recording keeps the game's pace. None while a box is open, as none reach the rules then.
export function ticksPassed(n) {
    if (compiled && !state.ended && !state.inEvent && n > 0) compiled._qv_ticks_passed(n);
}

// What the rules show now. The shapes are read in place, `fields` doubles a shape, as many as
// `count`: a tick that moves a ball costs no text.
export function shapeRecords(count, fields) {
    const ptr = compiled._qv_shapes() / 8;
    return compiled.HEAPF64.subarray(ptr, ptr + count * fields);
}
export const formBackColor = () => compiled._qv_form_back_color();
export const labelCaption = () => text(compiled._qv_label_caption());
// The controls, the timers, the cheat box's text and the end, by name.
export const controlsState = () => JSON.parse(text(compiled._qv_state_json()));
// What changed since the last look, as the layout's `changes` bits.
export const takeChanges = () => compiled._qv_take_changes();
// What was typed at the end of the cheat box since the last look, when the `typed` bit says that
// is all that changed there.
export const takeTyped = () => text(compiled._qv_take_typed());

export function restart() {
    compiled._qv_restart();
    state.ended = false;
}
export const dump = () => (compiled ? text(compiled._qv_dump()).replace(/--\n$/, '') : '');
export const recording = () => text(compiled._qv_recording());
// The games' times as the rules' stopwatch has them (web/timing.cpp says what each field holds).
export const times = () => JSON.parse(text(compiled._qv_times_json()));
// Whether won game `a` ({ticks, cheat}) is a better best than won game `b`.
export const ranksAbove = (a, b) => compiled._qv_times_ranks_above(a.ticks, a.cheat ? 1 : 0, b.ticks, b.cheat ? 1 : 0) !== 0;

// A recording to race, checked whole: null once its ghost waits for the player's next start (or,
// unless `keep`, once it is found fit to race), else why it cannot be raced. `last`: its last won
// game is raced rather than its first.
export function raceLoad(script, last = false, keep = true) {
    const length = compiled.lengthBytesUTF8(script);
    const ptr = compiled._malloc(length + 1);
    compiled.stringToUTF8(script, ptr, length + 1);
    const refusal = compiled._qv_race_load(ptr, length, last ? 1 : 0, keep ? 1 : 0);
    compiled._free(ptr);
    return refusal ? text(refusal) : null;
}
export const raceEnd = () => compiled._qv_race_end();
// What the race's line says; null while no race is run.
export function raceStatus() {
    const ptr = compiled._qv_race_status();
    return ptr ? text(ptr) : null;
}
// The ghost's piece as a shape record (a copy); null while no race is run.
export function ghostRecord(fields) {
    const ptr = compiled._qv_race_ghost() / 8;
    return ptr ? compiled.HEAPF64.slice(ptr, ptr + fields) : null;
}

// A script for the replay: every line is checked before anything runs; a bad one is reported as
// the driver does.
export function loadScript(script) {
    const length = compiled.lengthBytesUTF8(script);
    const ptr = compiled._malloc(length + 1);
    compiled.stringToUTF8(script, ptr, length + 1);
    const error = compiled._qv_replay_load(ptr, length);
    compiled._free(ptr);
    if (error) throw new Error(text(error));
}

// Applies the loaded script's next command in the rules, whose own interpreter delivers its
// events as the page's are delivered (and recorded). Resolves to the ticks of a `wait` for the
// page to make with its clock (0 for any other command), or the layout's replay.dumped or
// replay.ended. Once the program has ended nothing reaches the rules, but the script is still
// read: a `dump` after the end shows the state the game ended in.
export async function replayStep() {
    if (state.ended) return compiled._qv_replay_step();
    const clicked = () => {
        const id = compiled._qv_replay_clicked();
        return id < 0 ? { kind: 'replay' } : { kind: 'click', name: clickables[id] };
    };
    const value = deliver('qv_replay_step', [], [], clicked);
    return state.inEvent ? pendingEvent : value;
}

// The answer the script holds for the box now open, or the layout's replay.noAnswer.
export const replayAnswer = () => compiled._qv_replay_answer();
// The player takes the game over: nothing more of the script reaches it.
export const replayStop = () => compiled._qv_replay_stop();
// Why the replay stopped before the script's end; empty if it did not.
export const replayError = () => text(compiled._qv_replay_error());
