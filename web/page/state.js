// What more than one module of the page reads, kept in one place. Each field names the one module
// that writes it; every other module only reads it.

export const state = {
    ended: false, // game.js: the program has ended (until "Start again")
    inEvent: false, // bridge.js: an event of the page's is with the rules (perhaps held by a box)
    boxOpen: false, // msgbox.js: a message box is on screen
    boxAnswered: false, // msgbox.js sets it, game.js clears it once the controls are in step
    replaying: false, // replay.js: a replay runs; the player's input is ignored meanwhile
    held: new Set(), // input.js: the keys down now, by KeyboardEvent.code
};

// Who hears of what happened: tests, and the page's own modules. Each kind is called with
//   event (what, value): an event has run to its end in the rules;
//   box (title, prompt, style): a message box opened;
//   answer (yes): it was answered, true, false or null (the window closed behind it).
export const listeners = { event: [], box: [], answer: [] };

export function emit(kind, ...args) {
    for (const f of listeners[kind]) f(...args);
}
