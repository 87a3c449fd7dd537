// The window as the rules describe it (qv_layout_json), in the terms the page builds and draws
// with: pixels instead of twips, the controls by kind, the tab order, the shape records' fields,
// the pictures.

const TWIPS_PER_POINT = 20;

export const rgb = (v) => '#' + (v >>> 0).toString(16).padStart(6, '0');

export function describe(rulesLayout) {
    const px = (twips) => twips / rulesLayout.twipsPerPixel;
    const rect = ({ left, top, width, height }) =>
        ({ left: px(left), top: px(top), width: px(width), height: px(height) });
    const controls = rulesLayout.controls.map((c) => ({ ...c, rect: rect(c.rect) }));
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
    const shapeCount = rulesLayout.drawingOrder.filter((name) => name !== label.name).length;
    const { pictures } = rulesLayout;
    return {
        caption: rulesLayout.caption,
        width: px(rulesLayout.clientWidth),
        height: px(rulesLayout.clientHeight),
        formBackColor: rulesLayout.formBackColor,
        px,
        controls,
        start,
        cheat,
        frame,
        label,
        options,
        focusOrder,
        labelFontPixels: px(rulesLayout.labelFontPoints * TWIPS_PER_POINT),
        drawingOrder: rulesLayout.drawingOrder,
        // What a racing ghost's piece lies on; the rest of the drawing order lies on it.
        underGhost: new Set(rulesLayout.underGhost),
        shapeCount,
        shapeKinds: rulesLayout.shapeKinds,
        shapeFields: Object.fromEntries(rulesLayout.shapeFields.map((name, i) => [name, i])),
        shapeStride: rulesLayout.shapeFields.length,
        timers: rulesLayout.timers,
        answers: rulesLayout.answers,
        replay: rulesLayout.replay,
        changes: rulesLayout.changes,
        startOver: rulesLayout.startOver,
        menus: { menus: rulesLayout.menus, items: rulesLayout.items },
        startPicture: pictures.start,
        // The sign a message box of this style shows, or null.
        boxIcon: (style) => pictures.boxIcons
            .find((icon) => icon.style === (style & pictures.boxIconBits))?.picture ?? null,
    };
}
