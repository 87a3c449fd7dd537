// The start button's picture: the word in grey letters with a gold outline on white, between two
// thin gold rules; the face shows the middle band of a 229-pixel square picture.

export const PICTURE_WORD = 'Start';

export function drawStartPicture(canvas, width, height, dpr) {
    canvas.width = Math.round(width * dpr);
    canvas.height = Math.round(height * dpr);
    const p = canvas.getContext('2d');
    p.setTransform(dpr, 0, 0, dpr, 0, 0);
    p.fillStyle = '#fff';
    p.fillRect(0, 0, width, height);
    const cx = width / 2;
    const cy = height / 2;
    const gold = '#d4a017';
    p.strokeStyle = gold;
    p.fillStyle = gold;
    p.lineWidth = 1.5;
    for (const y of [cy - 30, cy + 30]) {
        p.beginPath();
        p.moveTo(cx - 66, y);
        p.lineTo(cx + 66, y);
        p.stroke();
        for (const x of [cx - 69, cx + 69]) {
            p.beginPath();
            p.moveTo(x - 3, y);
            p.lineTo(x, y - 3);
            p.lineTo(x + 3, y);
            p.lineTo(x, y + 3);
            p.closePath();
            p.fill();
        }
    }
    p.font = 'italic bold 52px "DejaVu Serif", Georgia, serif';
    p.textAlign = 'center';
    p.textBaseline = 'middle';
    const grey = p.createLinearGradient(0, cy - 26, 0, cy + 26);
    grey.addColorStop(0, '#b4b4b4');
    grey.addColorStop(0.5, '#8c8c8c');
    grey.addColorStop(1, '#5a5a5a');
    p.lineJoin = 'round';
    p.lineWidth = 4;
    p.strokeStyle = '#8c640a';
    p.strokeText(PICTURE_WORD, cx, cy + 2);
    p.lineWidth = 2;
    p.strokeStyle = gold;
    p.strokeText(PICTURE_WORD, cx, cy + 2);
    p.fillStyle = grey;
    p.fillText(PICTURE_WORD, cx, cy + 2);
}
