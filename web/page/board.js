// The board on the page. Its canvas is painted by paint.js, in a worker where the browser can hand
// it the canvas, so that a ball moving costs the page no frame of its own; this side tells the
// painter what the board shows whenever the rules change it (once for a run of events), and lays
// out the label's caption, which is text in the page over the label's face on the board.

import { state } from './state.js';
import * as rules from './bridge.js';
import { rgb } from './layout.js';
import { wrap } from './wrap.js';
import { createPainter } from './paint.js';
import * as controls from './controls.js';

export const LABEL_FACE = '"DejaVu Sans"'; // the page's stand-in for the label's own face

let L = null;
let tell = null; // a message to the painter, and what it hands over with it
let stale = true; // something on the board changed since the painter was last told
let queued = false;
let labelText = null; // the label's caption as text in the page
let labelShown = null; // the caption it shows; null to lay it out again
let facesShown = null; // the faces the painter was last told of, as text
let measure = null; // a canvas of its own for measuring the caption's words
const asked = new Map(); // pixels asked of the painter, by number
let lastAsked = 0;

function heard(message) {
    if (message.kind === 'first') {
        performance.mark('quorvale-first-frame');
    } else if (message.kind === 'pixels') {
        asked.get(message.id)(message);
        asked.delete(message.id);
    }
}

// The painter in a worker, given the canvas; else on the page, painting the canvas itself.
function startPainter(canvas, raw) {
    if (typeof canvas.transferControlToOffscreen === 'function' && typeof Worker === 'function') {
        const worker = new Worker(new URL('painter.js', import.meta.url));
        worker.onmessage = ({ data }) => heard(data);
        worker.onerror = (e) => console.error(`The board cannot be painted: ${e.message}`);
        const offscreen = canvas.transferControlToOffscreen();
        worker.postMessage({ kind: 'canvas', canvas: offscreen, layout: raw }, [offscreen]);
        return (message, transfer = []) => worker.postMessage(message, transfer);
    }
    const hear = createPainter(canvas, raw, heard);
    return (message) => hear(message);
}

// `layout` as described from the rules' `raw` layout, which the painter describes for itself.
export function init(layout, raw, canvas) {
    L = layout;
    labelText = document.createElement('div');
    labelText.id = `${L.label.name}-text`;
    labelText.className = 'label-text';
    const { left, top, width, height } = L.label.rect;
    Object.assign(labelText.style, {
        left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
    });
    labelText.style.setProperty('--fore', rgb(L.label.foreColor));
    canvas.after(labelText);
    measure = document.createElement('canvas').getContext('2d');
    tell = startPainter(canvas, raw);
}

export const labelFont = () => `${L.labelFontPixels}px ${LABEL_FACE}`;

// The canvas at `ratio` device pixels to a pixel of the window (the device's pixel ratio times
// the window's scale), so it stays sharp; the whole board is painted again.
export function resize(ratio) {
    tell({ kind: 'ratio', ratio });
}

// Everything is painted again, and the caption laid out again: the label's face arrived.
export function changedAll() {
    labelShown = null;
    facesShown = null;
    tell({ kind: 'everything' });
    changed(true);
}

// What changed: `drawn` says the rules changed something on the board. The painter is told once
// the run of events in hand is over.
export function changed(drawn) {
    if (drawn) stale = true;
    if (stale && !queued) {
        queued = true;
        queueMicrotask(draw);
    }
}

// The caption left-aligned, broken into lines at spaces as the window breaks them, clipped to the
// label's height; broken again once the face has arrived, whose letters are wider than the
// stand-in's.
function showCaption(caption) {
    if (caption === labelShown) return;
    labelShown = caption;
    measure.font = labelFont();
    const metrics = measure.measureText('Hg');
    const lineHeight = Math.ceil(metrics.fontBoundingBoxAscent || 15) +
        Math.ceil(metrics.fontBoundingBoxDescent || 4);
    labelText.style.font = labelFont();
    labelText.style.lineHeight = `${lineHeight}px`;
    labelText.textContent = wrap(caption, L.label.rect.width, (t) => measure.measureText(t).width).join('\n');
}

// Tells the painter now what the board shows, if it changed and the game goes on.
export function draw() {
    queued = false;
    if (!stale || !rules.loaded() || state.ended) return;
    stale = false;
    const caption = rules.labelCaption();
    showCaption(caption);
    // The faces change with the controls, seldom; most messages carry the shapes alone.
    const faces = controls.faces();
    const facesNow = JSON.stringify(faces);
    tell({
        kind: 'board',
        // A copy: the records are read in place in the rules' memory.
        records: rules.shapeRecords(L.shapeCount, L.shapeStride).slice(),
        ground: rules.formBackColor(),
        caption,
        faces: facesNow === facesShown ? undefined : faces,
    });
    facesShown = facesNow;
}

// What the board shows once everything the rules changed is painted: the canvas's size in device
// pixels and the pixels of `rect` ({x, y, w, h} in device pixels; the whole canvas if none).
export function pixels(rect) {
    draw();
    return new Promise((resolve) => {
        asked.set(++lastAsked, resolve);
        tell({ kind: 'pixels', id: lastAsked, rect });
    });
}
