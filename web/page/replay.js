// Replaying a script of quorvale-script, as the window's --replay does: at the game's own pace,
// each box answered after about a second with the next recorded answer, the player's input
// ignored until the script runs out (then the player takes over). The rules' worker reads the
// script, applies it and paces it (replayer.js); the page shows what it does and answers its
// boxes.

import { state, listeners } from './state.js';
import * as bridge from './bridge.js';
import * as game from './game.js';

// hurried: the rest at once was asked for, perhaps before the rules' worker began the replay.
const replay = { stoppedAtBox: false, hurried: false };
// The game's name, as the page's own title gives it before the rules are loaded.
const gameName = document.title;
let layout = null;
let dom = null;
let whenReady = null;

// `elements`: the status line and the file input; `ready` resolves once the rules are loaded.
export function init(described, elements, ready) {
    layout = described;
    dom = elements;
    whenReady = ready;
    showReplaying(null);
    dom.file.addEventListener('change', async (e) => {
        const file = e.target.files[0];
        e.target.value = '';
        if (!file || state.replaying) return;
        if (state.ended) await game.startAgain();
        try {
            await runReplay(await file.text(), { name: file.name });
        } catch (error) {
            dom.status.textContent = `${file.name}: ${error.message}`;
        }
    });
    listeners.box.push(boxOpened);
}

// The tab and a bookmark name the game, after the window's caption as its title bar shows it.
function showReplaying(name) {
    const caption = name === null ? layout.caption : `${layout.caption} - replaying ${name}`;
    document.title = `${caption} · ${gameName}`;
    dom.status.textContent = name === null ? '' : `Replaying ${name}`;
}

// fast: no pacing, boxes answered at once; driver: also Yes where the script gave no answer,
// as quorvale-script does (for tests). name: what the title calls the script.
export async function runReplay(text, { fast = false, driver = false, name = 'a recording' } = {}) {
    if (!bridge.loaded()) await whenReady;
    if (state.boxOpen || state.replaying) throw new Error('the game is busy');
    state.replaying = true; // from here on the player's input is ignored
    replay.stoppedAtBox = false;
    replay.hurried = false;
    showReplaying(name);
    try {
        await bridge.settled();
        await bridge.loadScript(text);
        // The replay's own ticks only, from the new game on (the replay lets the clock go).
        bridge.clockPage({ held: true });
        // A recording starts with the program: replay it on a new game.
        await game.startAgain();
        // A hurry asked for before the worker began is not lost: the worker hears it then.
        const { dumps, error } = await bridge.replay({ fast: fast || replay.hurried, driver });
        if (error) throw new Error(error);
        return { dumps, stoppedAtBox: replay.stoppedAtBox };
    } finally {
        state.replaying = false;
        showReplaying(null);
    }
}

// The rest of a running replay at once, so that a long game can be skipped to where it ends:
// no more pacing, and each box answered as soon as it opens.
export function hurry() {
    if (!state.replaying) return;
    replay.hurried = true;
    bridge.hurry();
}

// A box during a replay shows for about a second and then takes the script's next answer (Yes,
// No, or the window closed behind it). With no answer left the replay ends there and the box,
// and the game, are the player's.
function boxOpened() {
    const answer = bridge.replayAnswer();
    if (!state.replaying || answer === undefined) return;
    if (answer === null) {
        state.replaying = false;
        replay.stoppedAtBox = true;
        showReplaying(null);
        return;
    }
    setTimeout(() => game.answer(answer.value), answer.after);
}
