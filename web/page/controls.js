// The window's controls, built from the layout: the start button, the cheat box, the frame and
// its option buttons. They are kept in step with the rules, and the focus with them.

import * as rules from './bridge.js';
import * as input from './input.js';
import { rgb } from './layout.js';
import { drawPicture as paint } from './picture.js';

let L = null;
let board = null;
const byName = new Map(); // element name -> its HTML element (an option button's input)
let start = null;
let cheat = null;
let frame = null;
let options = []; // the option buttons' inputs, in the layout's order
let gameControls = new Set();
let focusChain = [];
let last = null; // the controls' state as last read from the rules
const CHEAT_NAME = 'Text';

function place(el, { left, top, width, height }) {
    Object.assign(el.style, {
        left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
    });
}

function colour(el, control) {
    el.style.setProperty('--back', rgb(control.backColor));
    el.style.setProperty('--fore', rgb(control.foreColor));
}

function make(tag, props, ...children) {
    const el = document.createElement(tag);
    for (const [name, value] of Object.entries(props)) {
        if (name in el) el[name] = value;
        else el.setAttribute(name, value);
    }
    el.append(...children);
    return el;
}

// The controls go into `client` after the board, in the layout's order.
export function build(layout, client, boardCanvas) {
    L = layout;
    board = boardCanvas;
    Object.assign(client.style, { width: `${L.width}px`, height: `${L.height}px` });
    place(board, { left: 0, top: 0, width: L.width, height: L.height });
    board.setAttribute('aria-label', L.caption);

    start = make('button', { id: L.start.name, type: 'button', className: 'command-button',
        'aria-label': L.startPicture.lettering.text },
    make('canvas', { className: 'picture', 'aria-hidden': 'true' }));
    // Named for what it is, not what it is for: it is not there by accident.
    cheat = make('input', { id: L.cheat.name, type: 'text', className: 'text-box',
        'aria-label': CHEAT_NAME, autocomplete: 'off', spellcheck: false });
    const caption = make('span', { id: `${L.frame.name}-caption`, className: 'frame-caption' },
        L.frame.caption);
    frame = make('div', { id: L.frame.name, className: 'frame', role: 'radiogroup',
        'aria-labelledby': caption.id }, caption);
    for (const [el, control] of [[start, L.start], [cheat, L.cheat], [frame, L.frame]]) {
        place(el, control.rect);
        colour(el, control);
        byName.set(control.name, el);
    }
    options = L.options.map((control) => {
        const radio = make('input', { id: control.name, type: 'radio', name: L.frame.name });
        const label = make('label', { id: `${control.name}-label`, className: 'option-button' },
            radio, control.caption);
        place(label, control.rect);
        colour(label, control);
        byName.set(control.name, radio);
        byName.get(control.parent).append(label); // placed inside its frame
        return radio;
    });
    // The document's order is the tab order, as the window's tab indexes give it; the frame
    // takes its place by its first option.
    const tabIndex = (el) => (el === frame ? Math.min(...L.options.map((o) => o.tabIndex))
        : el === start ? L.start.tabIndex : L.cheat.tabIndex);
    client.append(...[start, cheat, frame].sort((a, b) => tabIndex(a) - tabIndex(b)));
    gameControls = new Set([start, cheat, ...options]);
    focusChain = L.focusOrder.map((name) => byName.get(name));
    listen(client);
}

function listen(client) {
    start.addEventListener('click', (e) => {
        e.preventDefault();
        if (e.detail > 0) input.click(L.start.name); // a mouse click; the keys are in input.js
    });
    start.addEventListener('mousedown', () => start.focus());
    options.forEach((o, i) => {
        // A click selects the option but leaves the focus on the start button.
        o.parentElement.addEventListener('mousedown', (e) => e.preventDefault());
        o.addEventListener('click', (e) => {
            // The keys are handled in input.js; a click from anywhere else is the mouse's.
            const byMouse = e.detail > 0 || e.clientX !== 0 || e.clientY !== 0;
            if (byMouse) input.click(L.options[i].name);
            sync(); // the rules, not the browser, say which option is set
            if (byMouse && canFocus(start)) start.focus({ preventScroll: true });
        });
    });
    cheat.addEventListener('input', () => input.edit(cheat.value));
    cheat.addEventListener('mousedown', () => cheat.focus());
    // A click on the board or the window's ground moves no focus, as in the window.
    client.addEventListener('mousedown', (e) => {
        if (e.target === board || e.target === client || e.target === frame) e.preventDefault();
    });
}

export const startButton = () => start;
export const cheatBox = () => cheat;
export const optionButtons = () => options;
export const isGameControl = (el) => gameControls.has(el);

export function drawPicture(dpr) {
    const { width, height } = L.start.rect;
    paint(start.firstChild, L.startPicture, { width, height, dpr });
}

// The controls as the rules have them now; says what they were before.
export function sync() {
    const now = rules.controlsState();
    for (const control of L.controls) {
        const s = now.controls[control.name];
        if (!s) continue; // the label is drawn on the board
        const el = byName.get(control.name);
        (control.kind === 'OptionButton' ? el.parentElement : el).hidden = !s.visible;
        if (el !== frame) el.disabled = !s.enabled;
        if ('value' in s) el.checked = s.value;
    }
    // Not while more of the player's typing is on its way to the rules: the box holds it already.
    if (cheat.value !== now.cheatText && rules.idle()) cheat.value = now.cheatText;
    // The frame is one stop of the tab order, as a group of option buttons is: the chosen one,
    // else the first in the window's tab order.
    const stop = options.find((o) => o.checked) || focusChain.find((el) => options.includes(el));
    for (const o of options) o.tabIndex = o === stop ? 0 : -1;
    const previous = last;
    last = now;
    return { previous, now };
}

// A new game: nothing of the last one's controls is known.
export function forget() {
    last = null;
}

// Where the frame's caption interrupts its outline, which the board paints under it.
export function frameGap() {
    const caption = frame.firstChild;
    return { left: caption.offsetLeft, width: caption.offsetWidth };
}

export const canFocus = (el) => !el.hidden && !el.disabled &&
    !(el.parentElement && el.parentElement.hidden) && !(el !== start && el !== cheat && frame.hidden);

// With no setup control to hold it, the focus belongs to the board.
export const boardHasTheKeys = () => !focusChain.some(canFocus);

export const isStartOver = (what) => what && what.kind === 'click' && what.name === L.startOver;

// A hidden or disabled control gives up the focus to the next one in tab order that can take
// it, else to the board, where every key goes to the game. Every reset leaves it on Start.
export function settleFocus(change, what) {
    const { previous, now } = change;
    const name = L.start.name;
    const shown = previous && !previous.controls[name].visible && now.controls[name].visible;
    if ((shown || isStartOver(what) || what === 'reset') && canFocus(start)) {
        start.focus({ preventScroll: true });
        return;
    }
    const current = document.activeElement;
    if (current && gameControls.has(current) && canFocus(current)) return;
    if (current && current !== board && current !== document.body && !gameControls.has(current))
        return; // the focus is outside the game (the bar below it): leave it there
    for (const el of focusChain) {
        if (canFocus(el)) {
            el.focus({ preventScroll: true });
            return;
        }
    }
    board.focus({ preventScroll: true });
}
