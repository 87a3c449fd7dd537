// Painting the board: the window's drawing order, colours and sizes, sharp at any pixel ratio.
// It knows nothing of the page or the rules: it is told the board's state (every shape's record,
// the form's colour, the faces of the shown controls) and paints, at the next animation frame,
// the rectangles of what changed since the frame before (damage.js). It runs in a worker, which
// owns the board's canvas, so that a ball moving costs the page's main thread no frame of its own;
// a browser that cannot hand a canvas to a worker runs it beside the page instead.

import { describe, rgb } from './layout.js';
import { createDamage, meets } from './damage.js';

// The frame's outline: a grey line with a white one inside it, its top edge through the middle
// of the caption.
const ETCH_DARK = '#808080';
const ETCH_LIGHT = '#ffffff';
const FRAME_LINE_TOP = 7;

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

// A painter of `canvas` (a page's or a worker's) for the layout as the rules wrote it.
// `told(message, transfer)` carries its answers back: 'first' once the first frame is painted,
// and the pixels it is asked for.
export function createPainter(canvas, rulesLayout, told) {
    const layout = describe(rulesLayout);
    const field = layout.shapeFields;
    const ctx = canvas.getContext('2d', { alpha: false });
    const { left: labelLeft, top: labelTop, width: labelWidth, height: labelHeight } = layout.label.rect;
    const damage = createDamage({
        count: layout.shapeCount,
        stride: layout.shapeStride,
        boundsOf: (s, i) => {
            const o = i * layout.shapeStride;
            return { x: layout.px(s[o + field.left]), y: layout.px(s[o + field.top]), w: layout.px(s[o + field.width]),
                h: layout.px(s[o + field.height]) };
        },
        label: { x: labelLeft, y: labelTop, w: labelWidth, h: labelHeight },
    });
    // The drawing order with each shape's place among the records; with a ghost, what lies under
    // it is painted first, then the ghost, then the rest in their order.
    let shapes = 0;
    const order = layout.drawingOrder.map((name) => ({
        shape: name === layout.label.name ? -1 : shapes++,
        under: layout.underGhost.has(name),
    }));
    const ghostFirst = [...order.filter((o) => o.under), null, ...order.filter((o) => !o.under)];
    let dpr = 1;
    let board = null; // { records, ground, faces, caption, ghost } as last told
    let ghostDrawn = null; // the ghost's record as last painted, or null
    let queued = false;
    let firstPainted = false;

    const snap = (v) => Math.round(v * dpr) / dpr;

    // `alpha` below 1 paints the figure see-through as a whole: its border as a ring around its
    // fill, so that neither shows through the other.
    function paintShape(s, i, alpha = 1) {
        const o = i * layout.shapeStride;
        const kind = layout.shapeKinds[s[o + field.shape]];
        const [fx, fy, fw, fh] = figureRect(layout.px(s[o + field.left]), layout.px(s[o + field.top]),
            layout.px(s[o + field.width]), layout.px(s[o + field.height]), kind);
        const x = snap(fx);
        const y = snap(fy);
        const w = snap(fx + fw) - x;
        const h = snap(fy + fh) - y;
        const border = Math.max(1, Math.round(s[o + field.borderWidth] * dpr)) / dpr; // a device pixel at least
        const fill = rgb(s[o + field.fillColor]);
        const line = rgb(s[o + field.borderColor]);
        if (alpha < 1) {
            const radius = kind.outline === 'rectangle' ? 0 : Math.min(w, h) / 4;
            const inner = w > 2 * border && h > 2 * border
                ? figurePath(x + border, y + border, w - 2 * border, h - 2 * border, kind, Math.max(0, radius - border))
                : null;
            const ring = new Path2D();
            ring.addPath(figurePath(x, y, w, h, kind, radius));
            if (inner) ring.addPath(inner);
            ctx.globalAlpha = alpha;
            ctx.fillStyle = line;
            ctx.fill(ring, 'evenodd');
            if (inner) {
                ctx.fillStyle = fill;
                ctx.fill(inner);
            }
            ctx.globalAlpha = 1;
            return;
        }
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

    // The label's face in its place in the drawing order; its caption is text in the page that
    // stands on it.
    function paintLabel() {
        ctx.fillStyle = rgb(layout.label.backColor);
        ctx.fillRect(labelLeft, labelTop, labelWidth, labelHeight);
    }

    // An outline one pixel wide inside the rectangle.
    function outline(x, y, w, h, colour) {
        const line = 1;
        ctx.fillStyle = colour;
        ctx.fillRect(x, y, w, line);
        ctx.fillRect(x, y + h - line, w, line);
        ctx.fillRect(x, y, line, h);
        ctx.fillRect(x + w - line, y, line, h);
    }

    // The faces of the frame and its option buttons, where they are shown, under their captions;
    // the frame's outline is etched and interrupted behind its caption.
    function paintFaces(faces) {
        for (const face of faces) {
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

    // What changed since the last frame, each rectangle on its own, clipped to it: the form's
    // ground, the controls' faces, then every shape (and the label) that reaches into it, in the
    // drawing order. A change of the ground or of the faces shown (the frame hidden at the
    // start, say) paints everything.
    function paint() {
        queued = false;
        if (!board) return;
        const { records: s, ground, faces, caption, ghost } = board;
        const rects = damage.take(s, `${ground} ${JSON.stringify(faces)}`, caption);
        const ghostBounds = (g) => (g ? damage.bounds(g, 0) : null);
        if (rects && String(ghost) !== String(ghostDrawn)) {
            rects.push(...[ghostBounds(ghostDrawn), ghostBounds(ghost)].filter(Boolean));
        }
        ghostDrawn = ghost;
        ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
        for (const changed of rects || [{ x: 0, y: 0, w: layout.width, h: layout.height }]) {
            // Out to whole device pixels, so that no half-covered pixel is left stale: the ground
            // covers every pixel the rectangle touches, then whatever stands on it is painted
            // again.
            const x = Math.floor(changed.x * dpr) / dpr;
            const y = Math.floor(changed.y * dpr) / dpr;
            const r = { x, y, w: Math.ceil((changed.x + changed.w) * dpr) / dpr - x,
                h: Math.ceil((changed.y + changed.h) * dpr) / dpr - y };
            ctx.save();
            if (rects) {
                ctx.beginPath();
                ctx.rect(r.x, r.y, r.w, r.h);
                ctx.clip();
            }
            ctx.fillStyle = rgb(ground);
            ctx.fillRect(r.x, r.y, r.w, r.h);
            paintFaces(faces);
            for (const o of ghost ? ghostFirst : order) {
                if (o === null) {
                    if (!rects || meets(ghostBounds(ghost), r)) paintShape(ghost, 0, 0.5);
                } else if (o.shape < 0) {
                    if (!rects || meets(damage.label, r)) paintLabel();
                } else if (!rects || meets(damage.bounds(s, o.shape), r)) {
                    paintShape(s, o.shape);
                }
            }
            ctx.restore();
        }
        if (!firstPainted) {
            firstPainted = true;
            told({ kind: 'first' });
        }
    }

    const queue = () => {
        if (queued || !board) return;
        queued = true;
        requestAnimationFrame(paint);
    };

    // What the page tells it, one message at a time.
    return function hear(message) {
        switch (message.kind) {
        case 'ratio': {
            // The canvas at `ratio` device pixels to a pixel of the window (the device's pixel
            // ratio times the window's scale), so it stays sharp; the whole board again.
            dpr = message.ratio;
            const w = Math.round(layout.width * dpr);
            const h = Math.round(layout.height * dpr);
            if (canvas.width !== w || canvas.height !== h) {
                canvas.width = w;
                canvas.height = h;
            }
            damage.everything();
            queue();
            break;
        }
        case 'everything':
            damage.everything();
            queue();
            break;
        case 'board':
            // The faces only when they changed.
            board = { ghost: null, ...message, faces: message.faces || (board ? board.faces : []) };
            queue();
            break;
        case 'pixels': {
            // What the board shows once what it was told is painted: the canvas's size, and the
            // pixels of a rectangle of it in device pixels (the whole canvas if none is given).
            if (queued) paint();
            const { x = 0, y = 0, w = canvas.width, h = canvas.height } = message.rect || {};
            const { data } = ctx.getImageData(x, y, w, h);
            told({ kind: 'pixels', id: message.id, width: canvas.width, height: canvas.height, data },
                [data.buffer]);
            break;
        }
        default:
            throw new Error(`the board's painter was told "${message.kind}"`);
        }
    };
}
