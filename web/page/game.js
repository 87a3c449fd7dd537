// The game on the page, in one place: it hears what the player asks for (commands.js) and decides
// what reaches the rules (nothing while a replay runs), and after each event, each box and the
// end of the program tells the widgets what to show. Starting again is its too.

import { state } from './state.js';
import * as bridge from './bridge.js';
import * as commands from './commands.js';
import * as board from './board.js';
import * as controls from './controls.js';
import * as menus from './menus.js';
import * as msgbox from './msgbox.js';

let layout = null;
let dom = null;
let endMessage = '';

// The player's events, as the rules take them; a replay delivers its own meanwhile.
function press(code, shift = 0) {
    if (state.replaying) return false;
    return bridge.key(code, shift);
}

// By the clickable's name or number.
function click(target) {
    if (state.replaying) return false;
    return bridge.click(typeof target === 'number' ? target : bridge.clickableId(target));
}

// The cheat box's whole text; a replay undoes the player's typing.
function edit(text) {
    if (state.replaying) {
        syncControls();
        return false;
    }
    return bridge.edit(text);
}

const syncControls = () => controls.sync(bridge.controlsState(), !bridge.idle());
const showCaption = () => board.showCaption(bridge.labelCaption());

// `elements`: the window, the end notice, its text, error line and button, and the live region
// that announces it.
export function init(described, elements) {
    layout = described;
    dom = elements;
    dom.again.addEventListener('click', startAgain);
    commands.on('key', press);
    commands.on('click', click);
    commands.on('edit', edit);
    commands.on('answer', (value) => {
        if (!state.replaying) msgbox.close(value);
    });
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
        controls.settleFocus(syncControls(), what === null ? 'reset' : what);
    }
    showCaption();
}

// From the rules: a message box, whose answer the rules wait for. Whatever the procedure changed
// so far is on screen before it opens (the worker has painted the board), and the focus is back
// in the game first, where it comes back to.
export function messageBox(prompt, style, title) {
    syncControls();
    menus.leaveBar();
    return msgbox.open(prompt, style, title);
}

// The box closed with `value` by the page itself (a replay, the end of the program, a test).
export const answer = (value) => msgbox.close(value);

// From the rules: the program ends; a failure says why.
export function programEnded(status, message) {
    state.ended = true;
    endMessage = status !== 0 ? message : '';
    if (state.boxOpen) msgbox.close(layout.answers.no);
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
    begin();
}

// The window as a game starts: when the page has loaded, and again for each new game.
export function begin() {
    controls.settleFocus(syncControls(), 'reset');
    showCaption();
}

// The label's face arrived: its caption is laid out again, and the frame's caption, which moved
// the gap in the outline, is measured again.
export function faceArrived() {
    board.faceArrived(bridge.labelCaption());
    board.frameGap(controls.frameGap());
}
