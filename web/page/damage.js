// Which parts of the board must be drawn again. The window repaints only the old and new
// rectangles of what moved; so does the page: it keeps what it drew last (every shape's fields,
// the label's caption) and, for the next frame, names the rectangles of the shapes whose fields
// changed, where they were and where they are. A tick that moves two balls is four small
// rectangles instead of the whole board.

// Beyond this many rectangles (a reset moves most pieces at once) one whole frame is cheaper.
const MOST_RECTS = 12;
// Smoothed edges and the snapping to device pixels reach past a shape's own rectangle.
const MARGIN = 2;

// count shapes of `stride` numbers each; boundsOf(records, i) is shape i's rectangle in CSS
// pixels ({x, y, w, h}); label is the label's rectangle.
export function createDamage({ count, stride, boundsOf, label }) {
    let drawn = null; // every shape's numbers as last drawn
    let ground = null; // the form's colour
    let caption = null;
    let whole = true;

    const bounds = (records, i) => {
        const r = boundsOf(records, i);
        return { x: r.x - MARGIN, y: r.y - MARGIN, w: r.w + 2 * MARGIN, h: r.h + 2 * MARGIN };
    };

    return {
        // The next frame draws everything (a new scale, a font that arrived, a new game).
        everything() { whole = true; },

        // The rectangles to draw again for this state, in CSS pixels; null for the whole board.
        // What it returns counts as drawn.
        take(records, nowGround, nowCaption) {
            let rects = [];
            if (whole || !drawn || nowGround !== ground) {
                rects = null;
            } else {
                for (let i = 0; i < count && rects; ++i) {
                    let same = true;
                    for (let f = i * stride; f < (i + 1) * stride && same; ++f) same = drawn[f] === records[f];
                    if (!same) rects.push(bounds(drawn, i), bounds(records, i));
                    if (rects.length > MOST_RECTS) rects = null;
                }
                if (rects && nowCaption !== caption) rects.push({ ...label });
            }
            drawn = Float64Array.from(records.subarray(0, count * stride));
            ground = nowGround;
            caption = nowCaption;
            whole = false;
            return rects;
        },

        bounds,
        label,
    };
}

export const meets = (a, b) => a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
