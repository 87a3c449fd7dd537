// Drawing the board: the window's drawing order, colours and sizes, sharp at any pixel ratio.
// Nothing is drawn at once: what changed is marked with changed(), and the next animation frame
// draws the rectangles of what changed since the frame before (damage.js).

import { state } from './state.js';
import * as rules from './bridge.js';
import { rgb } from './layout.js';
import { wrap } from './wrap.js';
import { createDamage, meets } from './damage.js';
import * as controls from './controls.js';

export const LABEL_FACE = '"DejaVu Sans"'; // the page's stand-in for the label's own face

let L = null;
let canvas = null;
let ctx = null;
let dpr = 1;
let dirty = true;
let drawQueued = false;
let firstFrameDrawn = false;
let damage = null;
let labelText = null; // the label's caption as text in the page, over its face on the board
let labelShown = null; // the caption it shows

export function init(layout, element) {
    L = layout;
    canvas = element;
    ctx = canvas.getContext('2d', { alpha: false });
    labelText = document.createElement('div');
    labelText.id = `${L.label.name}-text`;
    labelText.className = 'label-text';
    const { left, top, width, height } = L.label.rect;
    Object.assign(labelText.style, {
        left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
    });
    labelText.style.setProperty('--fore', rgb(L.label.foreColor));
    canvas.after(labelText);
    const F = L.shapeFields;
    damage = createDamage({
        count: L.shapeCount,
        stride: L.shapeStride,
        boundsOf: (s, i) => {
            const o = i * L.shapeStride;
            return { x: L.px(s[o + F.left]), y: L.px(s[o + F.top]), w: L.px(s[o + F.width]),
                h: L.px(s[o + F.height]) };
        },
        label: { x: left, y: top, w: width, h: height },
    });
}

export const pixelRatio = () => dpr;
export const labelFont = () => `${L.labelFontPixels}px ${LABEL_FACE}`;

// The canvas at `ratio` device pixels to a pixel of the window (the device's pixel ratio times
// the window's scale), so it stays sharp; the whole board is drawn again.
export function resize(ratio) {
    dpr = ratio;
    const w = Math.round(L.width * dpr);
    const h = Math.round(L.height * dpr);
    if (canvas.width !== w || canvas.height !== h) {
        canvas.width = w;
        canvas.height = h;
    }
    changedAll();
}

// Everything is drawn again at the next frame: a new scale, or the label's font arrived.
export function changedAll() {
    damage.everything();
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

// The label's face is drawn in its place in the drawing order; its caption is text in the page
// (a screen reader reads it), left-aligned, broken into lines at spaces as the window breaks
// them, clipped to the label's height. No shape crosses the label, so the text may lie above
// them all.
function drawLabel() {
    const { left, top, width, height } = L.label.rect;
    ctx.fillStyle = rgb(L.label.backColor);
    ctx.fillRect(left, top, width, height);
    const caption = rules.labelCaption();
    // Broken again once the face has arrived, whose letters are wider than the stand-in's.
    const shown = `${document.fonts.check(labelFont())}|${caption}`;
    if (shown === labelShown) return;
    labelShown = shown;
    ctx.font = labelFont();
    const metrics = ctx.measureText('Hg');
    const lineHeight = Math.ceil(metrics.fontBoundingBoxAscent || 15) +
        Math.ceil(metrics.fontBoundingBoxDescent || 4);
    labelText.style.font = labelFont();
    labelText.style.lineHeight = `${lineHeight}px`;
    labelText.textContent = wrap(caption, width, (t) => ctx.measureText(t).width).join('\n');
}

const ETCH_DARK = '#808080';
const ETCH_LIGHT = '#ffffff';
const FRAME_LINE_TOP = 7; // the outline's top edge runs through the middle of the caption

// An outline one pixel wide inside the rectangle.
function outline(x, y, w, h, colour) {
    const line = 1;
    ctx.fillStyle = colour;
    ctx.fillRect(x, y, w, line);
    ctx.fillRect(x, y + h - line, w, line);
    ctx.fillRect(x, y, line, h);
    ctx.fillRect(x + w - line, y, line, h);
}

// The faces of the frame and its option buttons, where they are shown: their captions are text
// in the page that stands on them. The frame's outline is etched, a grey line with a white one
// inside it, interrupted behind the caption.
function drawFaces() {
    for (const face of controls.faces()) {
        const { left, top, width, height } = face.rect;
        const back = rgb(face.backColor);
        ctx.fillStyle = back;
        ctx.fillRect(left, top, width, height);
        if (!face.gap) continue;
        const y = top + FRAME_LINE_TOP;
        outline(left, y, width - 1, height - FRAME_LINE_TOP - 1, ETCH_DARK);
        outline(left + 1, y + 1, width - 1, height - FRAME_LINE_TOP - 1, ETCH_LIGHT);
        ctx.fillStyle = back;
        ctx.fillRect(left + face.gap.left, y, face.gap.width, 2);
    }
}

// Draws now what changed since the last frame, if the game goes on: each rectangle on its own,
// clipped to it, the form's ground, the controls' faces, then every shape (and the label) that
// reaches into it, in the drawing order. A change of the ground or of the faces shown (the frame
// hidden at the start, say) draws everything.
export function draw() {
    drawQueued = false;
    if (!rules.loaded() || state.ended) return;
    dirty = false;
    const s = rules.shapeRecords(L.shapeCount, L.shapeStride);
    const ground = rules.formBackColor();
    const rects = damage.take(s, `${ground} ${JSON.stringify(controls.faces())}`, rules.labelCaption());
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    for (const r of rects || [{ x: 0, y: 0, w: L.width, h: L.height }]) {
        ctx.save();
        if (rects) {
            // Out to whole device pixels, so that no half-covered pixel is left stale.
            const x = Math.floor(r.x * dpr) / dpr;
            const y = Math.floor(r.y * dpr) / dpr;
            ctx.beginPath();
            ctx.rect(x, y, Math.ceil((r.x + r.w) * dpr) / dpr - x, Math.ceil((r.y + r.h) * dpr) / dpr - y);
            ctx.clip();
        }
        ctx.fillStyle = rgb(ground);
        ctx.fillRect(r.x, r.y, r.w, r.h);
        drawFaces();
        let shape = 0;
        for (const name of L.drawingOrder) {
            if (name === L.label.name) {
                if (!rects || meets(damage.label, r)) drawLabel();
            } else {
                if (!rects || meets(damage.bounds(s, shape), r)) drawShape(s, shape);
                ++shape;
            }
        }
        ctx.restore();
    }
    if (!firstFrameDrawn) {
        firstFrameDrawn = true;
        performance.mark('quorvale-first-frame');
    }
}
