// The window as the rules describe it (qv_layout_json), in the terms the page builds and draws
// with: pixels instead of twips, the controls by kind, the tab order, the shape records' fields,
// the pictures.

const TWIPS_PER_POINT = 20;

export const rgb = (v) => '#' + (v >>> 0).toString(16).padStart(6, '0');

export function describe(raw) {
    const px = (twips) => twips / raw.twipsPerPixel;
    const rect = ({ left, top, width, height }) =>
        ({ left: px(left), top: px(top), width: px(width), height: px(height) });
    const controls = raw.controls.map((c) => ({ ...c, rect: rect(c.rect) }));
    const ofKind = (kind) => controls.filter((c) => c.kind === kind);
    const [start] = ofKind('CommandButton');
    const [cheat] = ofKind('TextBox');
    const [frame] = ofKind('Frame');
    const [label] = ofKind('Label');
    const options = ofKind('OptionButton');
    // What the focus passes along when a control gives it up: the tab order from the start
    // button on, round to the controls before it.
    const focusable = [start, cheat, ...options].sort((a, b) => a.tabIndex - b.tabIndex);
    const from = focusable.indexOf(start);
    const focusOrder = [...focusable.slice(from), ...focusable.slice(0, from)].map((c) => c.name);
    const shapeCount = raw.drawingOrder.filter((name) => name !== label.name).length;
    const { pictures } = raw;
    return {
        caption: raw.caption,
        width: px(raw.clientWidth),
        height: px(raw.clientHeight),
        formBackColor: raw.formBackColor,
        px,
        controls,
        start,
        cheat,
        frame,
        label,
        options,
        focusOrder,
        labelFontPixels: px(raw.labelFontPoints * TWIPS_PER_POINT),
        drawingOrder: raw.drawingOrder,
        shapeCount,
        shapeKinds: raw.shapeKinds,
        shapeFields: Object.fromEntries(raw.shapeFields.map((name, i) => [name, i])),
        shapeStride: raw.shapeFields.length,
        timers: raw.timers,
        answers: raw.answers,
        replay: raw.replay,
        changes: raw.changes,
        startOver: raw.startOver,
        menus: { menus: raw.menus, items: raw.items },
        startPicture: pictures.start,
        // The sign a message box of this style shows, or null.
        boxIcon: (style) => pictures.boxIcons
            .find((icon) => icon.style === (style & pictures.boxIconBits))?.picture ?? null,
    };
}
