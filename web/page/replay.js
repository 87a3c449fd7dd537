// Replaying a script of quorvale-script, as the window's --replay does: at the game's own pace,
// each box answered after about a second with the next recorded answer, the player's input
// ignored until the script runs out (then the player takes over). The script is read by the
// driver's own reader, in the rules' module.

import { state } from './state.js';
import * as rules from './bridge.js';
import { holdClock, PERIOD } from './clock.js';
import { startAgain } from './game.js';
import * as msgbox from './msgbox.js';

const BOX_PAUSE = 1000;
const replay = { answers: [], fast: false, driver: false, stoppedAtBox: false };
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
    replay.answers = [];
    replay.stoppedAtBox = false;
    holdClock(true);
    showReplaying(name);
    const run = (deliver) => {
        deliver();
        return rules.settled();
    };
    try {
        // After the end of the program the script is still read: its events do nothing, and
        // a `dump` (the last line of every recording) shows the state the game ended in.
        for (let c = rules.nextCommand(); c !== null && state.replaying; c = rules.nextCommand()) {
            switch (c.command) {
            case 'key':
                await run(() => rules.key(c.code, 0));
                break;
            case 'click':
                await run(() => rules.click(c.target));
                break;
            case 'tick':
                await run(() => rules.tickTimer(c.timer));
                break;
            case 'wait':
                await replayWait(c.ticks, run);
                break;
            case 'text':
                await run(() => rules.edit(c.text));
                break;
            case 'type':
                for (const point of c.text) {
                    if (state.ended || !state.replaying) break;
                    await run(() => rules.append(point));
                }
                break;
            case 'answer':
                replay.answers.push(...c.answers);
                break;
            case 'dump': {
                const d = rules.dump();
                dumps.push(d);
                console.log(d + '--');
                break;
            }
            case 'close':
                await run(() => rules.close());
                break;
            default:
                break;
            }
        }
    } finally {
        state.replaying = false;
        showReplaying(null);
        holdClock(false);
    }
    return { dumps, stoppedAtBox: replay.stoppedAtBox };
}

// A box during a replay shows for about a second and then takes the script's next answer
// (Yes, No, or the window closed behind it). With no answer left the replay ends there and
// the box, and the game, are the player's.
export function replayBox() {
    if (!state.replaying) return;
    if (replay.answers.length === 0 && replay.driver) {
        // As the script driver does: Yes when the script gave no answer.
        setTimeout(() => msgbox.answer(msgbox.yes()), 0);
        return;
    }
    if (replay.answers.length === 0) {
        state.replaying = false;
        replay.stoppedAtBox = true;
        showReplaying(null);
        return;
    }
    const value = replay.answers.shift();
    setTimeout(() => msgbox.answer(value), replay.fast ? 0 : BOX_PAUSE);
}
