// "Share": the game so far as a link. Opening the page at such a link replays the game it holds,
// as "Replay a recording" does, with a line above the game that says so.

import { holdsRecording, makeLink, readFragment } from './link.js';
import * as recording from './recording.js';
import * as replay from './replay.js';
import { state } from './state.js';

const NAME = 'a shared game';
let dom = null;

function say(text, { skip = false } = {}) {
    dom.line.hidden = text === '';
    dom.text.textContent = text;
    dom.skip.hidden = !skip;
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
    say('You are watching a shared game, replayed as it was played.', { skip: true });
    try {
        await replay.runReplay(text, { name: NAME });
        say('');
    } catch (error) {
        say(`This link cannot be replayed: ${error.message}`);
    }
}

// `elements`: the Share button, the link's field, the bar's status, and the line above the game
// with its text and its skip button.
export function init(elements) {
    dom = elements;
    dom.share.addEventListener('click', share);
    dom.field.addEventListener('focus', () => dom.field.select());
    dom.skip.addEventListener('click', () => {
        dom.skip.hidden = true;
        replay.hurry();
    });
    // A link pasted into the address bar of the open page changes only its fragment.
    window.addEventListener('hashchange', () => open(location.hash));
}
