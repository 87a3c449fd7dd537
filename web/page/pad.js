// A finger's arrow keys: the direction pad, shown where the primary pointer is coarse, and
// swipes on the board. Each becomes an arrow key's press and release on the page's one way in
// for keys (input.js).

import { listeners } from './state.js';
import * as input from './input.js';

export const FIRST_REPEAT_MS = 500; // a held pad button repeats as a held key does
export const REPEAT_MS = 1000 / 30;
const SWIPE_PX = 30; // shorter movements are taps, and do nothing
const coarse = matchMedia('(pointer: coarse)');

let held = null; // the pad button down now: { button, code, timer, spent }

// `changed()` hears when the pad is shown or hidden, so the game can be fitted around it.
export function init(pad, area, changed) {
    const show = () => {
        pad.hidden = !coarse.matches;
        changed();
    };
    coarse.addEventListener('change', show);
    show();
    for (const button of pad.querySelectorAll('button')) listen(button);
    // A button held when a message box opens is spent: it neither answers the box nor moves
    // the piece afterwards, until it is let go.
    listeners.box.push(() => {
        if (!held) return;
        clearTimeout(held.timer);
        held.spent = true;
    });
    watchSwipes(area);
}

function listen(button) {
    const code = button.dataset.key;
    let fromPointer = false;
    button.addEventListener('pointerdown', (e) => {
        e.preventDefault(); // the focus stays where the keys go
        fromPointer = true;
        press(button, code);
    });
    for (const type of ['pointerup', 'pointercancel']) button.addEventListener(type, () => release(button));
    button.addEventListener('contextmenu', (e) => e.preventDefault()); // a long press is a hold
    // A screen reader activates a button with a click alone: one tap.
    button.addEventListener('click', () => {
        if (fromPointer) {
            fromPointer = false;
            return;
        }
        input.fingerDown(code, false);
        input.fingerUp(code);
    });
}

function press(button, code) {
    if (held) release(held.button);
    held = { button, code, timer: 0, spent: false };
    button.classList.add('held');
    const pressed = held;
    input.fingerDown(code, false);
    // The press itself may open a box, which spends the button.
    const repeat = () => {
        input.fingerDown(code, true);
        if (!pressed.spent) pressed.timer = setTimeout(repeat, REPEAT_MS);
    };
    if (!pressed.spent) pressed.timer = setTimeout(repeat, FIRST_REPEAT_MS);
}

function release(button) {
    if (!held || held.button !== button) return;
    clearTimeout(held.timer);
    button.classList.remove('held');
    input.fingerUp(held.code);
    held = null;
}

// The arrow a finger's movement stands for: at least SWIPE_PX, and mostly along one axis.
export function swipeKey(dx, dy) {
    const along = Math.max(Math.abs(dx), Math.abs(dy));
    const across = Math.min(Math.abs(dx), Math.abs(dy));
    if (along < SWIPE_PX || across * 2 > along) return null;
    if (Math.abs(dx) > Math.abs(dy)) return dx > 0 ? 'ArrowRight' : 'ArrowLeft';
    return dy > 0 ? 'ArrowDown' : 'ArrowUp';
}

function watchSwipes(area) {
    let start = null;
    area.addEventListener('pointerdown', (e) => {
        // One finger only: a second one makes it a gesture of the browser's, not a swipe.
        start = e.pointerType === 'touch' && e.isPrimary
            ? { id: e.pointerId, x: e.clientX, y: e.clientY } : null;
    });
    area.addEventListener('pointerup', (e) => {
        if (!start || e.pointerId !== start.id) return;
        const code = swipeKey(e.clientX - start.x, e.clientY - start.y);
        start = null;
        if (!code) return;
        input.fingerDown(code, false);
        input.fingerUp(code);
    });
    area.addEventListener('pointercancel', () => { start = null; });
    // The page takes the finger's movement for itself, so the browser starts no scroll or fling
    // of its own, which would swallow the next tap.
    area.addEventListener('touchmove', (e) => e.preventDefault(), { passive: false });
}
