// Drawing the board: the window's drawing order, colours and sizes, sharp at any pixel ratio.
// Nothing is drawn at once: what changed is marked with changed(), and the next animation frame
// draws it.

import { state } from './state.js';
import * as rules from './bridge.js';
import { rgb } from './layout.js';
import { wrap } from './wrap.js';

export const LABEL_FACE = '"DejaVu Sans"'; // the page's stand-in for the label's own face

let L = null;
let canvas = null;
let ctx = null;
let dpr = 1;
let dirty = true;
let drawQueued = false;
let firstFrameDrawn = false;

export function init(layout, element) {
    L = layout;
    canvas = element;
    ctx = canvas.getContext('2d', { alpha: false });
}

export const pixelRatio = () => dpr;
export const labelFont = () => `${L.labelFontPixels}px ${LABEL_FACE}`;

// The canvas at the device's pixel ratio; the whole board is drawn again.
export function resize() {
    dpr = window.devicePixelRatio || 1;
    const w = Math.round(L.width * dpr);
    const h = Math.round(L.height * dpr);
    if (canvas.width !== w || canvas.height !== h) {
        canvas.width = w;
        canvas.height = h;
    }
    changed(true);
}

// What changed: `drawn` says the rules changed something on the board. A frame is asked for
// while anything drawn is stale.
export function changed(drawn) {
    if (drawn) dirty = true;
    if (dirty && !drawQueued) {
        drawQueued = true;
        requestAnimationFrame(draw);
    }
}

const snap = (v) => Math.round(v * dpr) / dpr;

function figureRect(left, top, width, height, kind) {
    // Square kinds take the smaller side, centred.
    if (kind.square) {
        const side = Math.min(width, height);
        return [left + (width - side) / 2, top + (height - side) / 2, side, side];
    }
    return [left, top, width, height];
}

function figurePath(x, y, w, h, kind, radius) {
    const p = new Path2D();
    if (kind.outline === 'ellipse') {
        p.ellipse(x + w / 2, y + h / 2, w / 2, h / 2, 0, 0, 2 * Math.PI);
    } else if (kind.outline === 'rounded') {
        const r = Math.min(radius, w / 2, h / 2);
        p.moveTo(x + r, y);
        p.arcTo(x + w, y, x + w, y + h, r);
        p.arcTo(x + w, y + h, x, y + h, r);
        p.arcTo(x, y + h, x, y, r);
        p.arcTo(x, y, x + w, y, r);
        p.closePath();
    } else {
        p.rect(x, y, w, h);
    }
    return p;
}

function drawShape(s, i) {
    const F = L.shapeFields;
    const o = i * L.shapeStride;
    const kind = L.shapeKinds[s[o + F.shape]];
    const [fx, fy, fw, fh] = figureRect(L.px(s[o + F.left]), L.px(s[o + F.top]),
        L.px(s[o + F.width]), L.px(s[o + F.height]), kind);
    const x = snap(fx);
    const y = snap(fy);
    const w = snap(fx + fw) - x;
    const h = snap(fy + fh) - y;
    const border = Math.max(1, Math.round(s[o + F.borderWidth] * dpr)) / dpr; // a device pixel at least
    const fill = rgb(s[o + F.fillColor]);
    const line = rgb(s[o + F.borderColor]);
    if (kind.outline === 'rectangle') {
        ctx.fillStyle = line;
        ctx.fillRect(x, y, w, h);
        if (w > 2 * border && h > 2 * border) {
            ctx.fillStyle = fill;
            ctx.fillRect(x + border, y + border, w - 2 * border, h - 2 * border);
        }
        return;
    }
    const radius = Math.min(w, h) / 4;
    ctx.fillStyle = line;
    ctx.fill(figurePath(x, y, w, h, kind, radius));
    if (w > 2 * border && h > 2 * border) {
        ctx.fillStyle = fill;
        ctx.fill(figurePath(x + border, y + border, w - 2 * border, h - 2 * border, kind,
            Math.max(0, radius - border)));
    }
}

// Left-aligned, wrapped at spaces to the label's width, clipped to its height.
function drawLabel() {
    const caption = rules.labelCaption();
    const { left, top, width, height } = L.label.rect;
    ctx.save();
    ctx.beginPath();
    ctx.rect(left, top, width, height);
    ctx.clip();
    ctx.fillStyle = rgb(L.label.backColor);
    ctx.fillRect(left, top, width, height);
    if (caption) {
        ctx.font = labelFont();
        ctx.fillStyle = rgb(L.label.foreColor);
        ctx.textBaseline = 'alphabetic';
        const metrics = ctx.measureText('Hg');
        const ascent = Math.ceil(metrics.fontBoundingBoxAscent || 15);
        const lineHeight = ascent + Math.ceil(metrics.fontBoundingBoxDescent || 4);
        let y = top + ascent;
        for (const line of wrap(caption, width, (t) => ctx.measureText(t).width)) {
            ctx.fillText(line, left, y);
            y += lineHeight;
        }
    }
    ctx.restore();
}

// Draws the whole board now, if the game goes on.
export function draw() {
    drawQueued = false;
    if (!rules.loaded() || state.ended) return;
    dirty = false;
    const s = rules.shapeRecords(L.shapeCount, L.shapeStride);
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    ctx.fillStyle = rgb(rules.formBackColor());
    ctx.fillRect(0, 0, L.width, L.height);
    let shape = 0;
    for (const name of L.drawingOrder) {
        if (name === L.label.name) drawLabel();
        else drawShape(s, shape++);
    }
    if (!firstFrameDrawn) {
        firstFrameDrawn = true;
        performance.mark('quorvale-first-frame');
    }
}
