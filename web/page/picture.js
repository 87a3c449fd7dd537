// The pictures the rules describe with the layout (the start button's, the message boxes'
// signs): each figure painted in order on a canvas, the first at the bottom, filled and then
// outlined, in the picture's own square scaled to the size it is shown at.

import { rgb } from './layout.js';

function font(lettering) {
    const faces = lettering.faces.map((face) => `"${face}"`).join(', ');
    const style = `${lettering.italic ? 'italic ' : ''}${lettering.bold ? 'bold ' : ''}`;
    return `${style}${lettering.pixels}px ${faces}, serif`;
}

function fillStyle(p, { stops, top, bottom }) {
    if (stops.length === 1) return rgb(stops[0].colour);
    const graded = p.createLinearGradient(0, top, 0, bottom);
    for (const stop of stops) graded.addColorStop(stop.at, rgb(stop.colour));
    return graded;
}

function outline(p, { kind, points }) {
    const [[x, y]] = points;
    p.beginPath();
    if (kind === 'ellipse') {
        const [, [rx, ry]] = points;
        p.ellipse(x, y, rx, ry, 0, 0, 2 * Math.PI);
        return;
    }
    p.moveTo(x, y);
    for (const [px, py] of points.slice(1)) p.lineTo(px, py);
    if (kind === 'polygon') p.closePath();
}

// The lettering with the middle of its ink on the figure's point.
function letter(p, figure, lettering, filled, outlined) {
    p.font = font(lettering);
    p.textAlign = 'left';
    p.textBaseline = 'alphabetic';
    const ink = p.measureText(lettering.text);
    const [[cx, cy]] = figure.points;
    const x = cx - (ink.actualBoundingBoxRight - ink.actualBoundingBoxLeft) / 2;
    const y = cy + (ink.actualBoundingBoxAscent - ink.actualBoundingBoxDescent) / 2;
    if (filled) p.fillText(lettering.text, x, y);
    if (outlined) p.strokeText(lettering.text, x, y);
}

export function paintPicture(p, picture) {
    if (picture.ground !== null) {
        p.fillStyle = rgb(picture.ground);
        p.fillRect(0, 0, picture.side, picture.side);
    }
    for (const figure of picture.figures) {
        const { fill, stroke } = figure;
        const filled = fill.stops.length > 0;
        const outlined = stroke.width > 0;
        if (filled) p.fillStyle = fillStyle(p, fill);
        if (outlined) {
            p.strokeStyle = rgb(stroke.colour);
            p.lineWidth = stroke.width;
            p.lineJoin = stroke.round ? 'round' : 'miter';
            p.lineCap = stroke.round ? 'round' : 'butt';
        }
        if (figure.kind === 'text') {
            letter(p, figure, picture.lettering, filled, outlined);
            continue;
        }
        outline(p, figure);
        if (filled) p.fill();
        if (outlined) p.stroke();
    }
}

// `picture` on `canvas`, which is shown `width` by `height` pixels with the middle of the
// picture's square in its middle, at `scale` pixels to the square's unit and `dpr` device pixels
// to a pixel. What lies beyond the canvas is not shown.
export function drawPicture(canvas, picture, { width, height, scale = 1, dpr }) {
    canvas.width = Math.round(width * dpr);
    canvas.height = Math.round(height * dpr);
    const p = canvas.getContext('2d');
    const offset = (room) => dpr * (room - picture.side * scale) / 2;
    p.setTransform(dpr * scale, 0, 0, dpr * scale, offset(width), offset(height));
    paintPicture(p, picture);
}
