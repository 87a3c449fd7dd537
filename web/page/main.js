// The browser's shell around the game's rules, which run in quorvale.wasm: loads them, builds the
// window from the layout they describe and wires the page's modules together. window.quorvale is
// the page's face for tests and benchmarks.

import { state, listeners } from './state.js';
import * as bridge from './bridge.js';
import * as commands from './commands.js';
import { describe, rgb } from './layout.js';
import * as board from './board.js';
import * as controls from './controls.js';
import * as menus from './menus.js';
import * as msgbox from './msgbox.js';
import * as input from './input.js';
import * as game from './game.js';
import * as fit from './fit.js';
import * as pad from './pad.js';
import * as gamepad from './gamepad.js';
import * as reach from './reach.js';
import * as replay from './replay.js';
import * as recording from './recording.js';
import * as share from './share.js';
import * as race from './race.js';
import * as times from './times.js';
import './offline.js';

const $ = (id) => document.getElementById(id);

function resize(ratio) {
    board.resize(ratio);
    controls.drawPicture(ratio);
}

// What the page asks of the rules resolves once the rules' worker has answered (bridge.js).
const pageApi = {
    ready: null,
    // The state once every key so far has reached the rules.
    dump: async () => {
        await pageApi.caughtUp();
        return bridge.dump();
    },
    // For tests: stop the rules' own clock, and deliver ticks by hand.
    holdClock: (hold) => bridge.clockPage({ held: !!hold }),
    tick: () => bridge.tick(),
    tickTimer: (n) => bridge.tickTimer(n),
    key: (code, shift = 0) => commands.send('key', code, shift),
    click: (name) => commands.send('click', name),
    edit: (text) => commands.send('edit', text),
    close: () => bridge.close(),
    // The board's pixels once what changed is painted (board.pixels).
    boardPixels: (rect) => board.pixels(rect),
    answer: (yes) => game.answer(yes ? msgbox.yes() : msgbox.no()),
    get boxOpen() { return state.boxOpen; },
    get busy() { return state.inEvent; },
    get ended() { return state.ended; },
    get clockTicks() { return bridge.clockTicks(); },
    on(kind, f) { listeners[kind].push(f); },
    startAgain: () => game.startAgain(),
    replay: (text, options) => replay.runReplay(text, options),
    race: (text, options) => race.race(text, options),
    endRace: () => race.stop(),
    recording: () => recording.recording(),
    // The recording and the state at one moment of the game, the clock running or not, once
    // every key so far has reached the rules.
    snapshot: async () => {
        await pageApi.caughtUp();
        return bridge.snapshot();
    },
    get replaying() { return state.replaying; },
    // Resolves once the page has heard everything the rules did before (focus settled, say),
    // the keys it held back meanwhile sent on and answered too.
    caughtUp: async () => {
        do await bridge.caughtUp();
        while (input.holdingBack() || (!bridge.idle() && !state.boxOpen));
    },
    // For benchmarks: microseconds a tick ('tick') or a key press ('key') costs in the worker.
    timeEvents: (event, n) => bridge.timeEvents(event, n),
};
window.quorvale = pageApi;

const boardCanvas = $('board');
input.init(boardCanvas);

pageApi.ready = bridge.load({
    messageBox: game.messageBox,
    programEnded: game.programEnded,
    afterEvent: game.afterEvent,
    allAnswered: input.sendHeldBack,
}).then((rulesLayout) => {
    const layout = describe(rulesLayout);
    $('window').setAttribute('aria-label', layout.caption);
    $('window').style.setProperty('--back', rgb(layout.formBackColor));
    board.init(layout, rulesLayout, boardCanvas);
    controls.build(layout, $('client'), boardCanvas);
    board.frameGap(controls.frameGap());
    reach.init(layout, controls.cheatBox());
    menus.build($('menubar'), layout.menus);
    msgbox.init(layout, {
        overlay: $('overlay'), box: $('msgbox'), title: $('msgbox-title'), prompt: $('msgbox-prompt'),
        icon: $('msgbox-icon'), yes: $('msgbox-yes'), no: $('msgbox-no'), board: boardCanvas,
    });
    input.useLayout(layout);
    game.init(layout, {
        window: $('window'), ended: $('ended'), text: $('ended-text'), error: $('ended-error'),
        again: $('again'), notice: $('notice'),
    });
    replay.init(layout, { status: $('bar-status'), file: $('replay') }, pageApi.ready);
    recording.init($('save'), $('bar-status'));
    race.init({ line: $('race-line'), stop: $('race-stop') });
    times.init({
        running: $('time-run'), last: $('time-last'), best: $('time-best'), forget: $('forget-best'),
        raceBest: $('race-best'), status: $('bar-status'),
    });
    share.init({
        share: $('share'), field: $('share-link'), status: $('bar-status'),
        line: $('shared'), text: $('shared-text'), skip: $('skip'), race: $('race-shared'),
    });
    // A hidden page gets no ticks.
    document.addEventListener('visibilitychange', () => bridge.clockPage({ hidden: document.hidden }));
    bridge.clockPage({ hidden: document.hidden });
    fit.init({ window: $('window'), stage: $('stage'), pad: $('pad'), bar: $('bar'), above: $('shared') },
        resize, layout.labelFontPixels);
    pad.init($('pad'), $('client'), fit.fit);
    gamepad.init();
    game.begin();
    // The bar below the window shows once the window has its size, so that nothing moves under
    // the player's eyes (or the layout-shift count) as the page comes up.
    $('bar').hidden = false;
    // The label's font may arrive after the first frame; draw again when it does.
    document.fonts.load(board.labelFont()).then(() => game.faceArrived());
    return pageApi;
});
// A page opened at a shared game's link replays it once the game is ready; a game that cannot
// start says why on the line above it.
pageApi.ready.then(() => share.open(location.hash), (error) => {
    $('shared-text').textContent = `The game cannot start: ${error.message}`;
    $('skip').hidden = true;
    $('shared').hidden = false;
    $('stage').hidden = true;
    console.error(`The game cannot start: ${error.message}`);
});
