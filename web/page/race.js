// Racing a ghost: a won game's recording (the player's best, a shared link's) raced on a new
// game, its piece drawn see-through on the board by the rules' worker, and the race's line below
// the game saying how it goes and, at the end, who finished first and by how much.

import { state } from './state.js';
import * as bridge from './bridge.js';
import * as game from './game.js';

let dom = null;

// Why `text` cannot be raced, or null if it can; nothing changes.
export const refusal = (text, { last = false } = {}) => bridge.race(text, { last, keep: false });

// Races `text`'s first won game (its last with `last`) on a new game: the ghost waits for the
// player's start. Throws with why it cannot.
export async function race(text, { last = false } = {}) {
    if (state.replaying || state.boxOpen) throw new Error('the game is busy');
    const why = await bridge.race(text, { last });
    if (why !== null) throw new Error(why);
    dom.stop.hidden = false;
    await game.startAgain();
}

// Back to playing alone.
export async function stop() {
    await bridge.endRace();
    dom.stop.hidden = true;
    dom.line.textContent = '';
}

function heard(times) {
    if (times.race !== null && dom.line.textContent !== times.race) dom.line.textContent = times.race;
}

// `elements`: the race's line and its Stop button.
export function init(elements) {
    dom = elements;
    dom.stop.addEventListener('click', stop);
    bridge.onTimes(heard);
}
