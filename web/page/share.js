// "Share": the game so far as a link. Opening the page at such a link replays the game it holds,
// as "Replay a recording" does, with a line above the game that says so; a link that holds a
// won game also offers to race it.

import { holdsRecording, makeLink, readFragment } from './link.js';
import * as race from './race.js';
import * as recording from './recording.js';
import * as replay from './replay.js';
import { listeners, state } from './state.js';

const NAME = 'a shared game';
let dom = null;
let raceable = null; // the text of the shared game that may be raced
let raceAsked = false; // asked to race while the game was still being watched

function say(text, { skip = false, offerRace = false } = {}) {
    dom.line.hidden = text === '';
    dom.text.textContent = text;
    dom.skip.hidden = !skip;
    dom.race.hidden = !offerRace;
}

async function raceShared() {
    const text = raceable;
    say('');
    try {
        await race.race(text);
    } catch (error) {
        say(`This link cannot be raced: ${error.message}`);
    }
}

// The game is being watched: the rest of it at once, then the race.
function raceClicked() {
    if (!state.replaying) {
        raceShared();
        return;
    }
    raceAsked = true;
    dom.race.hidden = true;
    replay.hurry();
}

// The link for exactly the text "Save recording" downloads, shown where the player can select it
// and copied where the browser lets the page write to the clipboard.
async function share() {
    let link;
    try {
        link = await makeLink(await recording.recording(), location.href);
    } catch (error) {
        dom.field.hidden = true;
        dom.status.textContent = `No link: ${error.message}`;
        return;
    }
    dom.field.value = link;
    dom.field.hidden = false;
    dom.field.focus({ preventScroll: true });
    dom.field.select();
    try {
        await navigator.clipboard.writeText(link);
        dom.status.textContent = 'Link copied';
    } catch {
        dom.status.textContent = 'Copy the link to share the game';
    }
}

// Replays the game a fragment holds; a fragment that is not a recording is left alone. A link
// that cannot be read says why on the line above the game and replays nothing.
export async function open(hash) {
    if (!holdsRecording(hash)) return;
    if (state.replaying) {
        dom.status.textContent = 'A replay is running: open the link again once it ends';
        return;
    }
    let text;
    try {
        text = await readFragment(hash);
    } catch (error) {
        say(`This link cannot be replayed: ${error.message}`);
        return;
    }
    // Whether it can be raced is known before it is watched: the line offers it from the start.
    const why = await race.refusal(text);
    raceable = why === null ? text : null;
    raceAsked = false;
    const watching = 'You are watching a shared game, replayed as it was played.';
    say(why === null ? watching : `${watching} It cannot be raced: ${why}.`, { skip: true, offerRace: why === null });
    try {
        await replay.runReplay(text, { name: NAME });
    } catch (error) {
        say(`This link cannot be replayed: ${error.message}`);
        return;
    }
    if (raceAsked) raceShared();
    else if (raceable !== null) say('That was the shared game. Race it, or play on.', { offerRace: true });
    else say('');
}

// `elements`: the Share button, the link's field, the bar's status, and the line above the game
// with its text, its skip button and its race button.
export function init(elements) {
    dom = elements;
    dom.share.addEventListener('click', share);
    dom.field.addEventListener('focus', () => dom.field.select());
    dom.skip.addEventListener('click', () => {
        dom.skip.hidden = true;
        replay.hurry();
    });
    dom.race.addEventListener('click', raceClicked);
    // The offer to race a game watched stands until the player starts one of their own.
    listeners.event.push((what) => {
        if (!state.replaying && what?.kind === 'click' && what.name === 'cmdstart' && !dom.race.hidden) say('');
    });
    // A link pasted into the address bar of the open page changes only its fragment.
    window.addEventListener('hashchange', () => open(location.hash));
}
