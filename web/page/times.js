// The times below the game: the game in play, the last one finished, and the best won game in
// this browser, kept with its recording, to race. The rules time the games and write every time
// shown; this only places their words and remembers the best.

import * as bridge from './bridge.js';
import * as race from './race.js';

const KEY = 'quorvale.best';
let els = null;
let best = null; // {ticks, cheat, seconds, recording}, or null

// The browser's storage, or null where it is refused (a private window, a blocked site): the
// page then keeps no best.
function storage() {
    try {
        const s = window.localStorage;
        return s && typeof s.getItem === 'function' ? s : null;
    } catch {
        return null;
    }
}

function readBest() {
    try {
        const value = JSON.parse(storage()?.getItem(KEY) ?? 'null');
        if (value && Number.isInteger(value.ticks) && typeof value.seconds === 'string') return value;
    } catch {
        // An unreadable best is no best.
    }
    return null;
}

function writeBest(value) {
    try {
        const s = storage();
        if (!s) return false;
        if (value) s.setItem(KEY, JSON.stringify(value));
        else s.removeItem(KEY);
        return true;
    } catch {
        return false; // full, or refused after all
    }
}

function showBest() {
    els.best.textContent = best ? `Best ${best.seconds}${best.cheat ? ' (cheat)' : ''}` : '';
    els.forget.hidden = !best;
    els.raceBest.hidden = !best;
}

async function finished(last) {
    if (!last.won) return;
    const game = { ticks: last.ticks, cheat: last.cheat };
    if (best && !(await bridge.ranksAbove(game, best))) return;
    const candidate = { ...game, seconds: last.seconds, recording: await bridge.recording() };
    if (!writeBest(candidate)) return;
    best = candidate;
    showBest();
}

let finishedCount = 0; // games finished so far, as last heard

// Text written only when it changes: the same text written again still lays the bar out anew.
function show(element, text) {
    if (element.textContent !== text) element.textContent = text;
}

function heard(times) {
    // A race's line gives the player's running time itself.
    show(els.running, times.runningText === null || times.race !== null ? '' : `You ${times.runningText}`);
    show(els.last, times.last ? `Last: ${times.last.text}` : '');
    const count = times.games - (times.runningText !== null ? 1 : 0);
    // Only a game the player played may be the best: not one a replay or a shared link played.
    if (times.last && count !== finishedCount && !times.lastReplayed) finished(times.last);
    finishedCount = count;
}

// The best won game raced: its recording holds the whole session, the best its last win.
async function raceBest() {
    if (!best) return;
    try {
        await race.race(best.recording, { last: true });
        els.status.textContent = '';
    } catch (error) {
        els.status.textContent = `Your best cannot be raced: ${error.message}`;
    }
}

// `elements`: running, last and best (the times), forget and raceBest (its buttons), and the
// bar's status line.
export function init(elements) {
    els = elements;
    best = readBest();
    showBest();
    els.forget.addEventListener('click', () => {
        writeBest(null);
        best = null;
        showBest();
    });
    els.raceBest.addEventListener('click', raceBest);
    bridge.onTimes(heard);
}

// The best won game's recording, or null.
export const bestRecording = () => best?.recording ?? null;
