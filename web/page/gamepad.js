// A game controller's keys: the Gamepad API's standard mapping read once a frame while a pad is
// connected, each press a key press on the page's one way in for keys (input.js), so that a pad
// does exactly what the keys do, in play, in the menus and in a message box.

import { listeners } from './state.js';
import * as input from './input.js';
import { FIRST_REPEAT_MS, REPEAT_MS } from './pad.js';

// The standard mapping's buttons that stand for keys: the d-pad, the bottom face button (A,
// Cross) and Start as Enter, the right face button (B, Circle) as Escape.
const BUTTONS = [[12, 'ArrowUp'], [13, 'ArrowDown'], [14, 'ArrowLeft'], [15, 'ArrowRight'],
    [0, 'Enter'], [9, 'Enter'], [1, 'Escape']];
const DEAD_ZONE = 0.5; // half the stick's travel: a resting or brushed stick stays short of it

const isArrow = (code) => code.startsWith('Arrow');

// The keys one pad holds down: its buttons, and its left stick along its main axis.
export function keysOf(pad) {
    const keys = new Set();
    for (const [index, code] of BUTTONS) {
        if (pad.buttons[index]?.pressed) keys.add(code);
    }
    const [x = 0, y = 0] = pad.axes;
    if (Math.max(Math.abs(x), Math.abs(y)) > DEAD_ZONE) {
        if (Math.abs(x) >= Math.abs(y)) keys.add(x < 0 ? 'ArrowLeft' : 'ArrowRight');
        else keys.add(y < 0 ? 'ArrowUp' : 'ArrowDown');
    }
    return keys;
}

// What the pads did since the last look, as a keyboard would have said it: presses of keys that
// went down, releases of keys let go, and the repeats of the direction held last (Enter and
// Escape do not repeat, so a held button answers one box, not the next too). A key is down while
// any pad holds it. A pad the browser reveals only at a press is seen with that press down: it
// is a fresh press.
export class PadKeys {
    down = new Set();
    repeating = null; // { code, due, spent }

    update(pads, now) {
        const events = [];
        const down = new Set();
        for (const pad of pads) {
            if (pad && pad.connected && pad.mapping === 'standard') for (const k of keysOf(pad)) down.add(k);
        }
        for (const code of this.down) {
            if (down.has(code)) continue;
            events.push({ code, kind: 'up' });
            if (this.repeating?.code === code) this.repeating = null;
        }
        for (const code of down) {
            if (this.down.has(code)) continue;
            events.push({ code, kind: 'down' });
            if (isArrow(code)) this.repeating = { code, due: now + FIRST_REPEAT_MS, spent: false };
        }
        this.down = down;
        const r = this.repeating;
        if (r && !r.spent && now >= r.due) {
            events.push({ code: r.code, kind: 'repeat' });
            r.due += REPEAT_MS;
            if (r.due <= now) r.due = now + REPEAT_MS; // a late frame is not made up for
        }
        return events;
    }

    // A message box opened: the held direction stops repeating until it is let go, as the
    // direction pad's button does.
    spend() {
        if (this.repeating) this.repeating.spent = true;
    }
}

const keys = new PadKeys();
let polling = false;

export function init() {
    if (!navigator.getGamepads) return;
    listeners.box.push(() => keys.spend());
    window.addEventListener('gamepadconnected', poll);
    // Pads the page was given before it listened.
    if (Array.from(navigator.getGamepads()).some((p) => p)) poll();
}

// Once a frame while a pad is connected; with none, the page does nothing for pads at all.
function poll() {
    if (polling) return;
    polling = true;
    const frame = (now) => {
        const pads = Array.from(navigator.getGamepads());
        for (const { code, kind } of keys.update(pads, now)) {
            if (kind === 'up') input.keyReleased(code);
            else input.keyPressed(code, kind === 'repeat');
        }
        if (pads.some((p) => p && p.connected) || keys.down.size > 0) requestAnimationFrame(frame);
        else polling = false;
    };
    requestAnimationFrame(frame);
}
