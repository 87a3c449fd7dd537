// The worker that paints the board: the page hands it the board's canvas and the rules' layout
// first, then tells it the board's state whenever that changes (paint.js).

import { createPainter } from './paint.js';

let hear = null;

self.onmessage = ({ data }) => {
    if (data.kind === 'canvas') {
        hear = createPainter(data.canvas, data.layout, (message, transfer) => self.postMessage(message, transfer));
        return;
    }
    hear(data);
};
