// The board drawn a rectangle at a time: a page that drew a frame after every tick and key holds
// exactly the pixels of a page that met the same events with no frame between them (no trail of
// a ball, no piece left half covered), at the scales the page is drawn at.
import assert from 'node:assert/strict';
import { pageTest } from './helpers.mjs';

// Both balls patrol, the game starts and the piece steps left and back (nothing is hit).
const EVENTS = [...Array(40).fill('tick'), 'start', 37, 39, 37, ...Array(20).fill('tick'), 39];

// The events through the page's own entry points, the page's clock held; `frames` says whether
// the page draws after each one. Then a hash of the board's pixels.
const playAndLook = (page, frames) => page.evaluate(async (events, eachFrame) => {
    const q = window.quorvale;
    q.holdClock(true);
    await q.startAgain(); // a new game: the balls where they start, whatever ticks came before
    // Asking for a pixel waits until everything told so far is painted.
    const frame = () => q.boardPixels({ x: 0, y: 0, w: 1, h: 1 });
    await frame();
    for (const e of events) {
        if (e === 'tick') q.tick();
        else if (e === 'start') q.click('cmdstart');
        else q.key(e);
        if (eachFrame) await frame();
    }
    const { width, height, data } = await q.boardPixels();
    let hash = 0;
    for (let i = 0; i < data.length; ++i) hash = (hash * 31 + data[i]) | 0;
    return { size: `${width}x${height}`, hash, state: await q.dump() };
}, EVENTS, frames);

for (const scale of [1, 3]) {
    pageTest(`ChangedRectanglesAddUpToAWholeFrameAtScale${scale}`, async (page) => {
        await page.setViewport({ width: 800, height: 760, deviceScaleFactor: scale });
        await page.reload({ waitUntil: 'load' });
        await page.evaluate(() => window.quorvale.ready);
        const piecemeal = await playAndLook(page, true);
        await page.reload({ waitUntil: 'load' });
        await page.evaluate(() => window.quorvale.ready);
        const atOnce = await playAndLook(page, false);
        assert.equal(piecemeal.size, atOnce.size, 'the canvas at the same size');
        assert.equal(piecemeal.state, atOnce.state, 'the same game');
        assert.ok(piecemeal.state.includes('cmdstart.Visible false'), 'in play');
        assert.equal(piecemeal.hash, atOnce.hash, 'the same pixels');
    });
}
