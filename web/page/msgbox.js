// Message boxes: modal in the page, Yes the default, answered only on purpose: a repeated key or
// a key already down when the box opened (until it is released) does nothing. The rules' call
// that opened the box waits for the answer (see bridge.js).

import { state, emit } from './state.js';
import * as controls from './controls.js';
import * as menus from './menus.js';
import { replayBox } from './replay.js';
import { drawPicture } from './picture.js';

const box = {
    resolve: null, selected: null, stale: new Set(), returnFocus: null, spaceDown: false,
    pressed: null, // the button a pointer went down on while the box was open
};
let answers = null; // the rules' own results: yes, no
let boxIcon = null; // the sign for a box's style, if it has one
let dom = null;

// `elements`: overlay, title, prompt, icon, yes, no, and the board (which takes the focus back
// when nothing else can).
export function init(layout, elements) {
    answers = layout.answers;
    boxIcon = layout.boxIcon;
    dom = elements;
    // Only a press that began on the button answers with it: a finger that opened the box on
    // the pad below, and lifts where Yes now stands, answers nothing (as a held key does not).
    for (const [b, value] of [[dom.yes, answers.yes], [dom.no, answers.no]]) {
        b.addEventListener('pointerdown', () => { box.pressed = b; });
        b.addEventListener('mousedown', () => { if (box.pressed === b) selectButton(b); });
        b.addEventListener('click', (e) => {
            e.preventDefault();
            const fromPointer = e.detail > 0;
            if (fromPointer && box.pressed !== b) return;
            box.pressed = null;
            if (!state.replaying) answer(value);
        });
    }
    // Beside the box nothing takes a click, nor the focus from the box.
    dom.overlay.addEventListener('mousedown', (e) => {
        if (!dom.box.contains(e.target)) e.preventDefault();
    });
}

export const yes = () => answers.yes;
export const no = () => answers.no;

export function messageBox(prompt, style, title) {
    // Whatever the procedure changed so far is on screen before the box opens (the rules' worker
    // has painted the board).
    controls.sync();
    state.boxOpen = true;
    box.spaceDown = false;
    box.pressed = null;
    box.stale = new Set(state.held);
    menus.leaveBar(); // the focus goes back to the game first, and comes back there
    box.returnFocus = document.activeElement;
    dom.title.textContent = title;
    dom.prompt.textContent = prompt;
    showIcon(boxIcon(style));
    dom.overlay.hidden = false;
    selectButton(dom.yes);
    emit('box', title, prompt, style);
    replayBox();
    return new Promise((resolve) => { box.resolve = resolve; });
}

// Drawn afresh for each box, for the screen's pixel density as it is now.
function showIcon(picture) {
    dom.icon.replaceChildren();
    if (!picture) return;
    // A pixel to each unit of the sign's square, as the window's boxes show it.
    const canvas = document.createElement('canvas');
    drawPicture(canvas, picture, {
        width: picture.side, height: picture.side, dpr: window.devicePixelRatio || 1,
    });
    dom.icon.append(canvas);
}

function selectButton(button) {
    box.selected = button;
    dom.yes.classList.toggle('default', button === dom.yes);
    dom.no.classList.toggle('default', button === dom.no);
    button.focus({ preventScroll: true });
}

const selectedAnswer = () => (box.selected === dom.yes ? answers.yes : answers.no);

// Yes, No, or (only from a replay) the window closed behind the box, as the rules' own
// MsgBox results.
export function answer(value) {
    if (!state.boxOpen) return;
    state.boxOpen = false;
    dom.overlay.hidden = true;
    const resolve = box.resolve;
    box.resolve = null;
    const back = box.returnFocus;
    if (back && back !== document.body && document.contains(back)) back.focus({ preventScroll: true });
    else dom.board.focus({ preventScroll: true });
    state.boxAnswered = true;
    emit('answer', value === answers.yes ? true : value === answers.no ? false : null);
    resolve(value);
}

export function keyDown(e) {
    e.preventDefault();
    e.stopPropagation();
    if (e.repeat || box.stale.has(e.code)) return;
    switch (e.code) {
    case 'Enter':
    case 'NumpadEnter':
        answer(selectedAnswer());
        break;
    case 'Space':
        box.spaceDown = true; // a button answers when Space is let go
        break;
    case 'KeyY':
        answer(answers.yes);
        break;
    case 'KeyN':
        answer(answers.no);
        break;
    case 'ArrowLeft':
    case 'ArrowRight':
    case 'Tab':
        selectButton(box.selected === dom.yes ? dom.no : dom.yes);
        break;
    default:
        break; // Escape and the rest: the question must be answered Yes or No
    }
}

// A key let go: it may answer the next box again.
export function keyReleased(code) {
    box.stale.delete(code);
}

export function keyUp(e) {
    e.preventDefault();
    if (e.code === 'Space' && box.spaceDown) {
        box.spaceDown = false;
        answer(selectedAnswer());
    }
}
