// The game's size on screen: the window (menu bar and client area as one) scaled to the largest
// size that fits the viewport above the bar below it, never more than twice its own, with the
// direction pad beside it or below it, whichever leaves the game larger. The scale is applied as
// CSS zoom, so the text, the controls and the hit areas scale with the drawing, and the page lays
// out around the scaled size (nothing to scroll). Where the pointer is a finger, the menu bar
// keeps a finger's size whatever the scale. Message boxes are placed here too: over the game,
// never over the pad.

const MAX_SCALE = 2;
const MIN_SCALE = 0.1; // a viewport too small for anything still shows the game whole
const READABLE_PX = 12; // smaller text on the board is repeated beside the game for a finger
const BOX_MARGIN = 8; // between a message box and the viewport's edges, or the pad
const coarse = matchMedia('(pointer: coarse)');

let win = null;
let stage = null;
let pad = null;
let bar = null;
let menubar = null;
let client = null;
let textPixels = 0; // the board's smallest text, in pixels of the window
let box = null; // the message box, once one has been placed
let onScale = null;
let scale = 1;
let drawnAt = 0; // the pixel ratio the canvases were last drawn at
let natural = null; // the window's own size, measured unscaled once it is on screen

// `elements`: the stage holding the window and the pad, the bar below it, and the line above it;
// `changed(ratio)` hears of each new number of device pixels to a pixel of the window;
// `smallestText`, the board's smallest text in pixels of the window.
export function init(elements, changed, smallestText) {
    ({ window: win, stage, pad, bar } = elements);
    menubar = win.querySelector('#menubar');
    client = win.querySelector('#client');
    textPixels = smallestText;
    onScale = changed;
    window.addEventListener('resize', fit);
    if (window.visualViewport) window.visualViewport.addEventListener('resize', fit);
    // The bar grows a line when its items wrap or the share link shows; the line above the game
    // comes and goes with a shared game. The game makes room for both.
    const resized = new ResizeObserver(fit);
    resized.observe(bar);
    resized.observe(elements.above);
    watchPixelRatio();
}

// Device pixels to a pixel of the window's own layout: what the canvases are drawn at.
export const pixelRatio = () => scale * (window.devicePixelRatio || 1);

// Zooming the browser changes the pixel ratio, sometimes without a resize.
function watchPixelRatio() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    query.addEventListener('change', () => { fit(); watchPixelRatio(); }, { once: true });
}

function measure() {
    if (natural || win.hidden) return natural;
    win.style.zoom = '1';
    natural = { width: win.offsetWidth, height: client.offsetHeight }; // the client area's height
    win.style.zoom = String(scale);
    return natural;
}

// Lays the stage out again for the viewport as it is now.
export function fit() {
    const size = measure();
    if (!size) return;
    const touch = coarse.matches;
    // Zoomed back to its own size, a finger's menu bar is as tall at every scale; a mouse's
    // scales with the client area.
    menubar.style.zoom = touch ? String(1 / scale) : '1';
    const menuHeight = menubar.getBoundingClientRect().height;
    const fixed = touch ? menuHeight : 0;
    const scaled = { width: size.width, height: size.height + (touch ? 0 : menuHeight / scale) };
    const body = getComputedStyle(document.body);
    const below = bar.offsetHeight + parseFloat(getComputedStyle(bar).marginTop);
    const room = {
        width: document.documentElement.clientWidth - parseFloat(body.marginLeft) -
            parseFloat(body.marginRight),
        // Below whatever stands above the game (a shared game's line), above the bar.
        height: window.innerHeight - (stage.getBoundingClientRect().top + window.scrollY) -
            parseFloat(body.marginBottom) - below,
    };
    const fitIn = (width, height) => Math.min(width / scaled.width, (height - fixed) / scaled.height);
    let wanted = fitIn(room.width, room.height);
    let beside = false;
    if (!pad.hidden) {
        const gap = parseFloat(getComputedStyle(stage).gap) || 0;
        const under = fitIn(room.width, room.height - pad.offsetHeight - gap);
        const side = fitIn(room.width - pad.offsetWidth - gap, room.height);
        beside = side > under;
        wanted = Math.max(under, side);
    }
    stage.classList.toggle('pad-beside', beside);
    scale = Math.max(MIN_SCALE, Math.min(MAX_SCALE, wanted));
    win.style.zoom = String(scale);
    win.style.setProperty('--scale', String(scale));
    menubar.style.zoom = touch ? String(1 / scale) : '1';
    stage.classList.toggle('fine-print', textPixels * scale < READABLE_PX);
    if (box && !box.parentElement.hidden) placeBox(box);
    if (pixelRatio() !== drawnAt) {
        drawnAt = pixelRatio();
        onScale(drawnAt);
    }
}

const clamp = (value, low, high) => Math.max(low, Math.min(value, high));

// The window's rectangle on screen. WebKit gives the rectangle of a zoomed element in its own
// unzoomed pixels, as wide as the window's own size, where other engines give the viewport's.
function windowOnScreen() {
    const r = win.getBoundingClientRect();
    const width = natural ? natural.width : r.width;
    if (Math.abs(r.width - width) >= Math.abs(r.width - width * scale)) return r;
    return { left: r.left * scale, top: r.top * scale, width: r.width * scale, height: r.height * scale };
}

// The message box `element`, open in its overlay, centred over the game as near as it can be
// while it keeps off the pad: a finger still tapping the pad must never answer it.
export function placeBox(element) {
    box = element;
    const overlay = box.parentElement;
    Object.assign(box.style, { left: '0px', top: '0px' }); // measured at its widest
    const width = box.offsetWidth;
    const height = box.offsetHeight;
    const game = win.hidden ? overlay.getBoundingClientRect() : windowOnScreen();
    const want = { x: game.left + (game.width - width) / 2, y: game.top + (game.height - height) / 2 };
    const m = BOX_MARGIN;
    let areas = [{ left: m, top: m, right: overlay.clientWidth - m, bottom: overlay.clientHeight - m }];
    if (!pad.hidden && pad.offsetParent !== null) {
        const p = pad.getBoundingClientRect();
        areas = areas.flatMap((a) => [
            { ...a, bottom: Math.min(a.bottom, p.top - m) },
            { ...a, top: Math.max(a.top, p.bottom + m) },
            { ...a, right: Math.min(a.right, p.left - m) },
            { ...a, left: Math.max(a.left, p.right + m) },
        ]);
    }
    let best = null;
    for (const a of areas) {
        if (a.right - a.left < width || a.bottom - a.top < height) continue;
        const x = clamp(want.x, a.left, a.right - width);
        const y = clamp(want.y, a.top, a.bottom - height);
        const away = Math.hypot(x - want.x, y - want.y);
        if (!best || away < best.away) best = { x, y, away };
    }
    // A screen too small for the box beside the pad: the box at least whole on it.
    best ??= {
        x: clamp(want.x, 0, overlay.clientWidth - width),
        y: clamp(want.y, 0, overlay.clientHeight - height),
    };
    Object.assign(box.style, { left: `${Math.round(best.x)}px`, top: `${Math.round(best.y)}px` });
}
