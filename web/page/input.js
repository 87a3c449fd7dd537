// The player's keys, the keyboard's and a finger's: each goes where the focus is (the menu bar,
// the message box, the setup controls) or becomes a command (commands.js): a key for the game,
// a click. What reaches the rules is game.js's to say.

import { state, listeners } from './state.js';
import * as bridge from './bridge.js';
import * as commands from './commands.js';
import * as controls from './controls.js';
import * as menus from './menus.js';
import * as msgbox from './msgbox.js';
import { isArrow, shiftState, virtualKeyCode } from './keys.js';

let layout = null;
let board = null;
let spaceArmed = false; // Space pressed on the start button: it clicks on release
let altAlone = false; // Alt is down, and nothing else was pressed with it
// Keys for the game that came while an event of the page's was still with the rules: routed in
// order once the rules have answered, with the focus where that event left it, as the window
// takes a key only after the event before it.
const heldBack = [];

// The keys are watched from the start, for which are held; they reach the game once it is loaded
// and the layout known.
export function init(boardCanvas) {
    board = boardCanvas;
    document.addEventListener('keydown', keyDown, true);
    document.addEventListener('keyup', keyUp, true);
    window.addEventListener('blur', () => {
        state.held.clear();
        spaceArmed = false;
        altAlone = false;
    });
    document.addEventListener('pointerdown', () => { altAlone = false; }, true);
    // Keys held back when a box opens were down before it: they answer nothing, nor play on.
    listeners.box.push(() => { heldBack.length = 0; });
}

// A key event as the routes read it, standing in for the browser's own (a finger's, or one held
// back and routed later).
const standIn = (code, repeat, { shiftKey = false, ctrlKey = false, altKey = false } = {}) => ({
    code, repeat, shiftKey, ctrlKey, altKey, preventDefault() {}, stopPropagation() {},
});

// A finger's arrow key (the pad, a swipe): the same key press as the keyboard's, except that
// it reaches nothing while a message box is open or the menus are in use.
export function fingerDown(code, repeat) {
    if (state.boxOpen || menus.hasFocus() || menus.isOpen()) return;
    keyDown(standIn(code, repeat));
}

export function fingerUp(code) {
    keyUp(standIn(code, false));
}

// A key of something standing in for the keyboard (a game controller): the keyboard's own route,
// into the menus and message boxes too.
export function keyPressed(code, repeat) {
    keyDown(standIn(code, repeat));
}

export function keyReleased(code) {
    keyUp(standIn(code, false));
}

const isAlt = (code) => code === 'AltLeft' || code === 'AltRight';

// Whether the focus is in the game's part of the page, where its keys are the game's; the bar
// below the window keeps its own.
const inGame = (target) => target === board || target === document.body || target === null ||
    controls.isGameControl(target);

// A key held back: routed later, the browser's own use of it stopped now.
function holdBack(then, e) {
    e.preventDefault();
    heldBack.push([then, standIn(e.code, e.repeat, e)]);
}

const mustWait = (target) => (heldBack.length > 0 || !bridge.idle()) && inGame(target) &&
    target !== controls.cheatBox();

export const holdingBack = () => heldBack.length > 0;

// The rules have answered every event of the page's: the keys held back meanwhile go on, until
// one of them sends another event.
export function sendHeldBack() {
    while (heldBack.length > 0 && bridge.idle()) {
        const [then, e] = heldBack.shift();
        then(e);
    }
}

export function useLayout(described) {
    layout = described;
}

function keyDown(e) {
    state.held.add(e.code);
    altAlone = isAlt(e.code) && !e.repeat;
    if (!bridge.loaded() || state.ended) return;
    if (state.boxOpen) {
        if (state.replaying) e.preventDefault();
        else msgbox.keyDown(e);
        return;
    }
    if (state.replaying) {
        if (document.activeElement !== controls.cheatBox() || isArrow(e.code) || e.code === 'Space')
            e.preventDefault();
        return;
    }
    // While the menu bar holds the focus, its keys are its own.
    if (menus.hasFocus()) {
        menus.keyDown(e);
        return;
    }
    if (menus.isOpen()) {
        if (e.code === 'Escape') menus.closeMenus();
        e.preventDefault();
        return;
    }
    if (mustWait(document.activeElement)) holdBack(routeDown, e);
    else routeDown(e);
}

function routeDown(e) {
    route(e);
    // F10 goes to the menu bar, after doing what the same key does in the window (in play, a
    // turn); so does Alt, pressed and released alone (keyUp).
    if (e.code === 'F10' && !e.repeat) {
        e.preventDefault();
        if (!state.boxOpen && !state.ended) menus.enterBar();
    }
}

// A key press where the focus is: the setup controls' own keys, else a turn of the game.
function route(e) {
    const start = controls.startButton();
    const cheat = controls.cheatBox();
    const target = document.activeElement;
    if (!inGame(target)) return;
    const typing = target === cheat;
    // Arrow keys and Space never scroll the page.
    if (!typing && (isArrow(e.code) || e.code === 'Space')) e.preventDefault();

    if (target === start) {
        // The start button holds the focus throughout setup: the arrow keys do nothing, Enter
        // and Space start.
        if ((e.code === 'Enter' || e.code === 'NumpadEnter') && !e.repeat) {
            e.preventDefault();
            commands.send('click', layout.start.name);
        } else if (e.code === 'Space') {
            e.preventDefault();
            if (!e.repeat) spaceArmed = true;
        }
        return;
    }
    const options = controls.optionButtons();
    const option = options.indexOf(target);
    if (option >= 0) {
        // Within the frame the arrow keys move the selection, top to bottom, and raise the
        // click of the option they land on; Space selects the one with the focus.
        if (e.repeat && e.code === 'Space') return;
        const step = { ArrowUp: -1, ArrowLeft: -1, ArrowDown: 1, ArrowRight: 1 }[e.code];
        if (step) {
            for (let i = option + step; i >= 0 && i < options.length; i += step) {
                if (controls.canFocus(options[i])) {
                    options[i].focus({ preventScroll: true });
                    commands.send('click', layout.options[i].name);
                    break;
                }
            }
        } else if (e.code === 'Space') {
            commands.send('click', layout.options[option].name);
        }
        return;
    }
    if (controls.isGameControl(target)) return; // the cheat box keeps its keys
    if (target === board || target === document.body || target === null) {
        const code = virtualKeyCode(e.code);
        if (target !== board && !controls.boardHasTheKeys()) return;
        e.preventDefault(); // Tab too: it goes to the game, as in the window
        commands.send('key', code, shiftState(e));
    }
}

function keyUp(e) {
    state.held.delete(e.code);
    msgbox.keyReleased(e.code);
    if (isAlt(e.code)) {
        const alone = altAlone;
        altAlone = false;
        e.preventDefault(); // the browser's own menu bar stays away
        if (alone && bridge.loaded() && !state.ended && !state.boxOpen && !state.replaying)
            menus.toggleBar();
        return;
    }
    if (menus.hasFocus()) {
        e.preventDefault();
        return;
    }
    if (state.boxOpen && !state.replaying) {
        msgbox.keyUp(e);
        return;
    }
    if (e.code === 'Space' && mustWait(document.activeElement)) holdBack(routeUp, e);
    else routeUp(e);
}

function routeUp(e) {
    if (e.code === 'Space' && spaceArmed) {
        spaceArmed = false;
        if (document.activeElement === controls.startButton() && !state.boxOpen && !state.ended) {
            e.preventDefault();
            commands.send('click', layout.start.name);
        }
    }
}
