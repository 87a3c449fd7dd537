// The game's size on screen: the window (menu bar and client area as one) scaled to the largest
// size that fits the viewport, never more than twice its own, with the direction pad beside it
// or below it, whichever leaves the game larger. The scale is applied as CSS zoom, so the text,
// the controls and the hit areas scale with the drawing, and the page lays out around the
// scaled size (nothing to scroll sideways).

const MAX_SCALE = 2;
const MIN_SCALE = 0.1; // a viewport too small for anything still shows the game whole

let win = null;
let stage = null;
let pad = null;
let onScale = null;
let scale = 1;
let drawnAt = 0; // the pixel ratio the canvases were last drawn at
let natural = null; // the window's own size, measured unscaled once it is on screen

// `elements`: the stage holding the window and the pad; `changed(ratio)` hears of each new
// number of device pixels to a pixel of the window.
export function init(elements, changed) {
    ({ window: win, stage, pad } = elements);
    onScale = changed;
    window.addEventListener('resize', fit);
    if (window.visualViewport) window.visualViewport.addEventListener('resize', fit);
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
    natural = { width: win.offsetWidth, height: win.offsetHeight };
    win.style.zoom = String(scale);
    return natural;
}

// Lays the stage out again for the viewport as it is now.
export function fit() {
    const size = measure();
    if (!size) return;
    const body = getComputedStyle(document.body);
    const room = {
        width: document.documentElement.clientWidth - parseFloat(body.marginLeft) -
            parseFloat(body.marginRight),
        // Below whatever stands above the game (a shared game's line).
        height: window.innerHeight - (stage.getBoundingClientRect().top + window.scrollY) -
            parseFloat(body.marginBottom),
    };
    const fitIn = (width, height) => Math.min(width / size.width, height / size.height);
    let wanted = fitIn(room.width, room.height);
    let beside = false;
    if (!pad.hidden) {
        const gap = parseFloat(getComputedStyle(stage).gap) || 0;
        const below = fitIn(room.width, room.height - pad.offsetHeight - gap);
        const side = fitIn(room.width - pad.offsetWidth - gap, room.height);
        beside = side > below;
        wanted = Math.max(below, side);
    }
    stage.classList.toggle('pad-beside', beside);
    const next = Math.max(MIN_SCALE, Math.min(MAX_SCALE, wanted));
    scale = next;
    win.style.zoom = String(scale);
    if (pixelRatio() !== drawnAt) {
        drawnAt = pixelRatio();
        onScale(drawnAt);
    }
}
