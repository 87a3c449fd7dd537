// What follows each event in the rules, the end of the program, and starting again.

import { state } from './state.js';
import * as bridge from './bridge.js';
import * as board from './board.js';
import * as controls from './controls.js';
import * as menus from './menus.js';
import * as msgbox from './msgbox.js';

let layout = null;
let dom = null;
let endMessage = '';

// `elements`: the window, the end notice, its text, error line and button, and the live region
// that announces it.
export function init(described, elements) {
    layout = described;
    dom = elements;
    dom.again.addEventListener('click', startAgain);
}

// Only what changed is brought up to date: most ticks move a ball and nothing else.
export function afterEvent(what) {
    if (state.ended) {
        showEnded();
        return;
    }
    const changes = bridge.takeChanges();
    const controlsChanged = (changes & layout.changes.controls) !== 0;
    if (controlsChanged || controls.isStartOver(what) || state.boxAnswered) {
        state.boxAnswered = false;
        const change = controls.sync();
        controls.settleFocus(change, what === null ? 'reset' : what);
    }
    board.showCaption();
}

// From the rules: the program ends; a failure says why.
export function programEnded(status, message) {
    state.ended = true;
    endMessage = status !== 0 ? message : '';
    if (state.boxOpen) msgbox.answer(msgbox.no());
}

function showEnded() {
    menus.leaveBar(false);
    dom.window.hidden = true;
    dom.error.textContent = endMessage;
    dom.ended.hidden = false;
    // Said once by a screen reader, politely: the notice itself appears where nothing was.
    dom.notice.textContent = [dom.text.textContent, endMessage].filter(Boolean).join('. ');
    dom.again.focus({ preventScroll: true });
}

// A new game, as starting the program again would make.
export async function startAgain() {
    await bridge.restart();
    state.ended = false;
    controls.forget();
    dom.ended.hidden = true;
    dom.notice.textContent = '';
    dom.window.hidden = false;
    const change = controls.sync();
    controls.settleFocus(change, 'reset');
    board.showCaption();
}

// The window as it stands when the page has loaded.
export function begin() {
    const change = controls.sync();
    controls.settleFocus(change, 'reset');
    board.showCaption();
}
