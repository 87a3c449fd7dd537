// Replaying a script of quorvale-script, as the window's --replay does: at the game's own pace,
// each box answered after about a second with the next recorded answer, the player's input
// ignored until the script runs out (then the player takes over). The script is read and applied
// by the driver's own reader and interpreter, in the rules' module, which also keeps its answers;
// the page only paces the ticks of each `wait` and the boxes.

import { state } from './state.js';
import * as rules from './bridge.js';
import { holdClock, PERIOD } from './clock.js';
import { startAgain } from './game.js';
import * as msgbox from './msgbox.js';

const BOX_PAUSE = 1000;
const replay = { fast: false, driver: false, stoppedAtBox: false };
let L = null;
let dom = null;
let whenReady = null;

// `elements`: the status line and the file input; `ready` resolves once the rules are loaded.
export function init(layout, elements, ready) {
    L = layout;
    dom = elements;
    whenReady = ready;
    dom.file.addEventListener('change', async (e) => {
        const file = e.target.files[0];
        e.target.value = '';
        if (!file || state.replaying) return;
        if (state.ended) startAgain();
        try {
            await runReplay(await file.text(), { name: file.name });
        } catch (error) {
            dom.status.textContent = `${file.name}: ${error.message}`;
        }
    });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, Math.max(0, ms)));

// `ticks` ticks of the clock, 64 a second at fixed points from the wait's start; a tick made
// late (by a box that stayed open) is not made up for.
async function replayWait(ticks, run) {
    let origin = performance.now();
    for (let n = 1; n <= ticks && !state.ended && state.replaying; ++n) {
        if (!replay.fast) {
            const now = performance.now();
            if (origin + n * PERIOD < now - PERIOD) origin = now - n * PERIOD;
            await sleep(origin + n * PERIOD - now);
        }
        await run(() => rules.tick());
    }
}

function showReplaying(name) {
    document.title = name === null ? L.caption : `${L.caption} - replaying ${name}`;
    dom.status.textContent = name === null ? '' : `Replaying ${name}`;
}

// fast: no pacing, boxes answered at once; driver: also Yes where the script gave no answer,
// as quorvale-script does (for tests). name: what the title calls the script.
export async function runReplay(text, { fast = false, driver = false, name = 'a recording' } = {}) {
    if (!rules.loaded()) await whenReady;
    if (state.boxOpen || state.replaying) throw new Error('the game is busy');
    await rules.settled();
    rules.loadScript(text);
    const dumps = [];
    // A recording starts with the program: replay it on a new game.
    startAgain();
    state.replaying = true;
    replay.fast = fast;
    replay.driver = driver;
    replay.stoppedAtBox = false;
    holdClock(true);
    showReplaying(name);
    const run = (deliver) => {
        deliver();
        return rules.settled();
    };
    try {
        while (state.replaying) {
            const step = await rules.replayStep();
            if (step === L.replay.ended) break;
            if (step === L.replay.dumped) {
                const d = rules.dump();
                dumps.push(d);
                console.log(d + '--');
            } else if (step > 0) {
                await replayWait(step, run);
            }
        }
    } finally {
        state.replaying = false;
        showReplaying(null);
        holdClock(false);
    }
    const error = rules.replayError();
    if (error) throw new Error(error);
    return { dumps, stoppedAtBox: replay.stoppedAtBox };
}

// The rest of a running replay at once: no more pacing, and each box answered as soon as it
// opens, so that a long game can be skipped to where it ends.
export function hurry() {
    if (state.replaying) replay.fast = true;
}

// A box during a replay shows for about a second and then takes the script's next answer
// (Yes, No, or the window closed behind it). With no answer left the replay ends there and
// the box, and the game, are the player's.
export function replayBox() {
    if (!state.replaying) return;
    const value = rules.replayAnswer();
    if (value === L.replay.noAnswer && replay.driver) {
        // As the script driver does: Yes when the script gave no answer.
        setTimeout(() => msgbox.answer(msgbox.yes()), 0);
        return;
    }
    if (value === L.replay.noAnswer) {
        state.replaying = false;
        rules.replayStop();
        replay.stoppedAtBox = true;
        showReplaying(null);
        return;
    }
    setTimeout(() => msgbox.answer(value), replay.fast ? 0 : BOX_PAUSE);
}
