// What the player asks of the game, as the page's input and widgets report it: a key for the game,
// a click (by the clickable's name or number), the cheat box's text, a box's answer. They only
// report it here; the one who owns the game on the page (game.js) hears each kind and decides
// what reaches the rules, so nothing that reports needs to know who listens.

const owners = {};

// `kind` is heard by `f`, and by nothing else: one owner decides what each kind of input does.
export function on(kind, f) {
    owners[kind] = f;
}

// What the owner made of it (for an event, what the rules gave, or false where it did not reach
// them); undefined while nothing listens, as before the game has loaded.
export function send(kind, ...args) {
    const owner = owners[kind];
    return owner ? owner(...args) : undefined;
}
