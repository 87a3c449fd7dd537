// Message boxes: modal in the page, Yes the default, answered only on purpose: a repeated key or
// a key already down when the box opened (until it is released) does nothing. The rules' call
// that opened the box waits for the answer (see bridge.js).

import { state, emit } from './state.js';
import * as controls from './controls.js';
import * as menus from './menus.js';
import { replayBox } from './replay.js';
import { placeBox } from './fit.js';

// By the icon bits of the box's style (exclamation, information, question, critical).
const ICONS = {
    48: '<svg viewBox="0 0 32 32" width="32" height="32"><path d="M16 2 L31 29 H1 Z" ' +
        'fill="#ffd800" stroke="#000" stroke-width="1.5" stroke-linejoin="round"/>' +
        '<rect x="14.3" y="10" width="3.4" height="11" rx="1.2"/>' +
        '<circle cx="16" cy="25" r="1.9"/></svg>',
    64: '<svg viewBox="0 0 32 32" width="32" height="32"><circle cx="16" cy="16" r="14.5" ' +
        'fill="#fff" stroke="#1c4fb8" stroke-width="2"/><circle cx="16" cy="9" r="2.2" ' +
        'fill="#1c4fb8"/><rect x="14" y="13" width="4" height="12" rx="1" fill="#1c4fb8"/></svg>',
    32: '<svg viewBox="0 0 32 32" width="32" height="32"><circle cx="16" cy="16" r="14.5" ' +
        'fill="#fff" stroke="#1c4fb8" stroke-width="2"/><text x="16" y="23" font-size="20" ' +
        'text-anchor="middle" fill="#1c4fb8" font-family="DejaVu Sans">?</text></svg>',
    16: '<svg viewBox="0 0 32 32" width="32" height="32"><circle cx="16" cy="16" r="15" ' +
        'fill="#d00"/><path d="M10 10 L22 22 M22 10 L10 22" stroke="#fff" stroke-width="3.5" ' +
        'stroke-linecap="round"/></svg>',
};
const ICON_BITS = 0x70;

const box = {
    resolve: null, selected: null, stale: new Set(), returnFocus: null, spaceDown: false,
    pressed: null, // the button a pointer went down on while the box was open
};
let answers = null; // the rules' own results: yes, no
let dom = null;

// `elements`: overlay, title, prompt, icon, yes, no, and the board (which takes the focus back
// when nothing else can).
export function init(layout, elements) {
    answers = layout.answers;
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
    dom.icon.innerHTML = ICONS[style & ICON_BITS] || '';
    dom.overlay.hidden = false;
    placeBox(dom.box);
    selectButton(dom.yes);
    emit('box', title, prompt, style);
    replayBox();
    return new Promise((resolve) => { box.resolve = resolve; });
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
