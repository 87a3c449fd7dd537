// The window's controls, built from the layout: the start button, the cheat box, the frame and
// its option buttons. They show the state they are given (the rules', by way of game.js), and
// the focus follows it; what the player does with them is reported as commands.

import * as commands from './commands.js';
import { rgb } from './layout.js';
import { drawPicture as paint } from './picture.js';

let layout = null;
let board = null;
const byName = new Map(); // element name -> its HTML element (an option button's input)
let start = null;
let cheat = null;
let frame = null;
let options = []; // the option buttons' inputs, in the layout's order
let gameControls = new Set();
let focusChain = [];
let last = null; // the controls' state as last shown
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
export function build(described, client, boardCanvas) {
    layout = described;
    board = boardCanvas;
    Object.assign(client.style, { width: `${layout.width}px`, height: `${layout.height}px` });
    place(board, { left: 0, top: 0, width: layout.width, height: layout.height });
    board.setAttribute('aria-label', layout.caption);

    start = make('button', { id: layout.start.name, type: 'button', className: 'command-button',
        'aria-label': layout.startPicture.lettering.text },
    make('canvas', { className: 'picture', 'aria-hidden': 'true' }));
    // Named for what it is, not what it is for: it is not there by accident.
    cheat = make('input', { id: layout.cheat.name, type: 'text', className: 'text-box',
        'aria-label': CHEAT_NAME, autocomplete: 'off', spellcheck: false });
    const caption = make('span', { id: `${layout.frame.name}-caption`, className: 'frame-caption' },
        layout.frame.caption);
    frame = make('div', { id: layout.frame.name, className: 'frame', role: 'radiogroup',
        'aria-labelledby': caption.id }, caption);
    for (const [el, control] of [[start, layout.start], [cheat, layout.cheat], [frame, layout.frame]]) {
        place(el, control.rect);
        colour(el, control);
        byName.set(control.name, el);
    }
    options = layout.options.map((control) => {
        const radio = make('input', { id: control.name, type: 'radio', name: layout.frame.name });
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
    const tabIndex = (el) => (el === frame ? Math.min(...layout.options.map((o) => o.tabIndex))
        : el === start ? layout.start.tabIndex : layout.cheat.tabIndex);
    client.append(...[start, cheat, frame].sort((a, b) => tabIndex(a) - tabIndex(b)));
    gameControls = new Set([start, cheat, ...options]);
    focusChain = layout.focusOrder.map((name) => byName.get(name));
    listen(client);
}

function listen(client) {
    start.addEventListener('click', (e) => {
        e.preventDefault();
        // A mouse click; the keys are input.js's.
        if (e.detail > 0) commands.send('click', layout.start.name);
    });
    start.addEventListener('mousedown', () => start.focus());
    options.forEach((o, i) => {
        // A click selects the option but leaves the focus on the start button.
        o.parentElement.addEventListener('mousedown', (e) => e.preventDefault());
        o.addEventListener('click', (e) => {
            // The keys are handled in input.js; a click from anywhere else is the mouse's.
            const byMouse = e.detail > 0 || e.clientX !== 0 || e.clientY !== 0;
            if (byMouse) commands.send('click', layout.options[i].name);
            if (last) show(last, false); // the rules, not the browser, say which option is set
            if (byMouse && canFocus(start)) start.focus({ preventScroll: true });
        });
    });
    cheat.addEventListener('input', () => commands.send('edit', cheat.value));
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
    const { width, height } = layout.start.rect;
    paint(start.firstChild, layout.startPicture, { width, height, dpr });
}

// The controls as the rules have them now (`now`, their state by name); says what they were
// before. `typing`: more of the player's typing is on its way to the rules, which the box holds
// already.
export function sync(now, typing) {
    show(now, !typing);
    const previous = last;
    last = now;
    return { previous, now };
}

function show(now, withCheatText) {
    for (const control of layout.controls) {
        const s = now.controls[control.name];
        if (!s) continue; // the label is drawn on the board
        const el = byName.get(control.name);
        (control.kind === 'OptionButton' ? el.parentElement : el).hidden = !s.visible;
        if (el !== frame) el.disabled = !s.enabled;
        if ('value' in s) el.checked = s.value;
    }
    if (withCheatText && cheat.value !== now.cheatText) cheat.value = now.cheatText;
    // The frame is one stop of the tab order, as a group of option buttons is: the chosen one,
    // else the first in the window's tab order.
    const stop = options.find((o) => o.checked) || focusChain.find((el) => options.includes(el));
    for (const o of options) o.tabIndex = o === stop ? 0 : -1;
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

export const isStartOver = (what) => what && what.kind === 'click' && what.name === layout.startOver;

// A hidden or disabled control gives up the focus to the next one in tab order that can take
// it, else to the board, where every key goes to the game. Every reset leaves it on Start.
export function settleFocus(change, what) {
    const { previous, now } = change;
    const name = layout.start.name;
    const reappeared = previous && !previous.controls[name].visible && now.controls[name].visible;
    if ((reappeared || isStartOver(what) || what === 'reset') && canFocus(start)) {
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
