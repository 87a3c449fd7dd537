// The board on the page. Its canvas is handed to the rules' worker, whose painter (paint.js)
// paints the changed rectangles at its own animation frames; the page keeps its size and scale,
// and the label's caption, which is text in the page over the label's face on the board.

import * as bridge from './bridge.js';
import { rgb } from './layout.js';
import { wrap } from './wrap.js';

export const LABEL_FACE = '"DejaVu Sans"'; // the page's stand-in for the label's own face

let layout = null;
let labelText = null; // the label's caption as text in the page
let captionLaidOut = null; // the caption it shows; null to lay it out again
let measure = null; // a canvas of its own for measuring the caption's words
let copy = null; // the caption again beside the game, for where the board's is too small to read

// `described`: the layout in the page's terms (layout.js); `rulesLayout`: as the rules wrote it,
// which the painter describes for itself.
export function init(described, rulesLayout, canvas) {
    layout = described;
    labelText = document.createElement('div');
    labelText.id = `${layout.label.name}-text`;
    labelText.className = 'label-text';
    const { left, top, width, height } = layout.label.rect;
    Object.assign(labelText.style, {
        left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
    });
    labelText.style.setProperty('--fore', rgb(layout.label.foreColor));
    canvas.after(labelText);
    copy = document.getElementById('caption-copy');
    measure = document.createElement('canvas').getContext('2d');
    bridge.handCanvas(canvas, rulesLayout);
}

export const labelFont = () => `${layout.labelFontPixels}px ${LABEL_FACE}`;

// The canvas at `ratio` device pixels to a pixel of the window (the device's pixel ratio times
// the window's scale), so it stays sharp; the whole board is painted again.
export const resize = (ratio) => bridge.paintAt(ratio);

// Where the frame's caption interrupts its outline, which the painter leaves open.
export const frameGap = (gap) => bridge.frameGap(gap);

// The label's face arrived: `caption` is laid out again.
export function faceArrived(caption) {
    captionLaidOut = null;
    showCaption(caption);
}

// The caption left-aligned, broken into lines at spaces as the window breaks them, clipped to the
// label's height; broken again once the face has arrived, whose letters are wider than the
// stand-in's.
export function showCaption(caption) {
    if (caption === captionLaidOut) return;
    captionLaidOut = caption;
    copy.textContent = caption;
    copy.hidden = caption.trim() === '';
    measure.font = labelFont();
    const metrics = measure.measureText('Hg');
    const lineHeight = Math.ceil(metrics.fontBoundingBoxAscent || 15) +
        Math.ceil(metrics.fontBoundingBoxDescent || 4);
    labelText.style.font = labelFont();
    labelText.style.lineHeight = `${lineHeight}px`;
    labelText.textContent = wrap(caption, layout.label.rect.width, (t) => measure.measureText(t).width).join('\n');
}

// What the board shows once everything told so far is painted: the canvas's size in device
// pixels and the pixels of `rect` ({x, y, w, h} in device pixels; the whole canvas if none).
export const pixels = (rect) => bridge.pixels(rect);
