// Message boxes: modal in the page, Yes the default, answered only on purpose: a repeated key or
// a key already down when the box opened (until it is released) does nothing. The player's
// answer is reported as a command; the box closes when it is told to (game.js), and the rules'
// call that opened it waits for that (see bridge.js).

import { state, emit } from './state.js';
import * as commands from './commands.js';
import { drawPicture } from './picture.js';
import { placeBox } from './fit.js';

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
            commands.send('answer', value);
        });
    }
    // Beside the box nothing takes a click, nor the focus from the box.
    dom.overlay.addEventListener('mousedown', (e) => {
        if (!dom.box.contains(e.target)) e.preventDefault();
    });
}

export const yes = () => answers.yes;
export const no = () => answers.no;

// Opens the box; resolves to its answer once it is closed. The focus goes back where it is now.
export function open(prompt, style, title) {
    state.boxOpen = true;
    box.spaceDown = false;
    box.pressed = null;
    box.stale = new Set(state.held);
    box.returnFocus = document.activeElement;
    dom.title.textContent = title;
    dom.prompt.textContent = prompt;
    showIcon(boxIcon(style));
    dom.overlay.hidden = false;
    placeBox(dom.box);
    selectButton(dom.yes);
    const answered = new Promise((resolve) => { box.resolve = resolve; });
    emit('box', title, prompt, style);
    return answered;
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

// Closes the box with Yes, No, or (only from a replay) the window closed behind it, as the
// rules' own MsgBox results.
export function close(value) {
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
        commands.send('answer', selectedAnswer());
        break;
    case 'Space':
        box.spaceDown = true; // a button answers when Space is let go
        break;
    case 'KeyY':
        commands.send('answer', answers.yes);
        break;
    case 'KeyN':
        commands.send('answer', answers.no);
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
        commands.send('answer', selectedAnswer());
    }
}
