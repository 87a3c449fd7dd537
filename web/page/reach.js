// Room for a finger around the small setup controls: the border colour options and the cheat box
// get hit areas of at least TARGET_PX by TARGET_PX on screen (page.css grows them by the
// window's scale, for a coarse pointer only), while their drawing stays as the layout places it.
// Two areas that would meet share the gap between their controls at its middle, so a tap goes to
// the nearer control.

export const TARGET_PX = 24;

// For each rectangle of `rects` ({ left, top, width, height }), how far its area may grow on each
// side before it reaches halfway to a neighbour facing it there: Infinity where none faces it.
export function room(rects) {
    const overlaps = (a0, a1, b0, b1) => a0 < b1 && b0 < a1;
    return rects.map((a) => {
        const free = { left: Infinity, top: Infinity, right: Infinity, bottom: Infinity };
        for (const b of rects) {
            if (b === a) continue;
            if (overlaps(a.top, a.top + a.height, b.top, b.top + b.height)) {
                if (b.left >= a.left + a.width) free.right = Math.min(free.right, (b.left - a.left - a.width) / 2);
                if (b.left + b.width <= a.left) free.left = Math.min(free.left, (a.left - b.left - b.width) / 2);
            }
            if (overlaps(a.left, a.left + a.width, b.left, b.left + b.width)) {
                if (b.top >= a.top + a.height) free.bottom = Math.min(free.bottom, (b.top - a.top - a.height) / 2);
                if (b.top + b.height <= a.top) free.top = Math.min(free.top, (a.top - b.top - b.height) / 2);
            }
        }
        return free;
    });
}

function area(control, place, free) {
    const span = document.createElement('span');
    span.className = 'reach';
    span.dataset.for = control.name;
    span.setAttribute('aria-hidden', 'true');
    const px = (v) => `${v}px`;
    span.style.setProperty('--x', px(place.left));
    span.style.setProperty('--y', px(place.top));
    span.style.setProperty('--w', px(control.rect.width));
    span.style.setProperty('--h', px(control.rect.height));
    for (const side of ['left', 'top', 'right', 'bottom']) {
        if (free[side] !== Infinity) span.style.setProperty(`--room-${side}`, px(free[side]));
    }
    return span;
}

// `layout` as described; `cheat`, the cheat box, whose area lies under it and gives it the focus.
// An option's area lies inside its label, so a tap on it is a tap on the label.
export function init(layout, cheat) {
    const frame = layout.frame.rect;
    // All in the client area's pixels: the options are placed inside their frame.
    const inClient = (c) => (c.parent ? { ...c.rect, left: c.rect.left + frame.left, top: c.rect.top + frame.top }
        : c.rect);
    const controls = [...layout.options, layout.cheat, layout.start];
    const free = room(controls.map(inClient));
    layout.options.forEach((option, i) => {
        document.getElementById(`${option.name}-label`).prepend(area(option, { left: 0, top: 0 }, free[i]));
    });
    const cheatArea = area(layout.cheat, layout.cheat.rect, free[layout.options.length]);
    cheatArea.addEventListener('mousedown', (e) => {
        e.preventDefault();
        cheat.focus();
    });
    cheat.before(cheatArea);
}
