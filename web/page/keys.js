// KeyboardEvent.code to the virtual-key codes the rules expect, and the shift state of a key.

const KEY_CODES = {
    Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13, ShiftLeft: 16, ShiftRight: 16,
    ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18, Pause: 19, CapsLock: 20,
    Escape: 27, Space: 32, PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37,
    ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Select: 41, PrintScreen: 44, Insert: 45,
    Delete: 46, Help: 47, MetaLeft: 91, MetaRight: 92, ContextMenu: 93, Sleep: 95,
    NumpadMultiply: 106, NumpadAdd: 107, NumpadSubtract: 109, NumpadDecimal: 110,
    NumpadComma: 110, NumpadDivide: 111, NumLock: 144, ScrollLock: 145, Semicolon: 186,
    Equal: 187, Comma: 188, Minus: 189, Period: 190, Slash: 191, Backquote: 192,
    BracketLeft: 219, Backslash: 220, BracketRight: 221, Quote: 222, NumpadClear: 12,
};

// 0 for a key the rules have no code for.
export function virtualKeyCode(code) {
    let m = /^Key([A-Z])$/.exec(code);
    if (m) return m[1].charCodeAt(0);
    m = /^Digit([0-9])$/.exec(code);
    if (m) return 48 + Number(m[1]);
    m = /^Numpad([0-9])$/.exec(code);
    if (m) return 96 + Number(m[1]);
    m = /^F([0-9]+)$/.exec(code);
    if (m && Number(m[1]) >= 1 && Number(m[1]) <= 24) return 111 + Number(m[1]);
    return KEY_CODES[code] || 0;
}

export function shiftState(e) {
    return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
}

export const isArrow = (code) => code.startsWith('Arrow');
