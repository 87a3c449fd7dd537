// The browser's shell around the game's rules: drawing, the controls, the keyboard, the clock,
// message boxes and the end of the program. The rules themselves run in quorvale.wasm.
import { createDamage, meets } from './damage.js';

(() => {
    const TWIPS_PER_PIXEL = 15;
    const SHAPE_FIELDS = 8;
    const SHAPE_COUNT = 48; // the drawing order without the label
    const LABEL_AFTER = 45; // the label lies between the first ball and the goal
    const STATE_FIELDS = 16;
    const LABEL = { left: 0, top: 24, width: 121, height: 265 };
    const LABEL_FONT = '16px "DejaVu Sans"'; // 12 points at 96 dots per inch
    const CONTROL_BACK = '#800000';
    const CONTROL_TEXT = '#000000';
    const OPTIONS = ['optred', 'optgreen', 'optblue', 'optyellow'];
    const TITLE = 'Maze';
    const ANSWER_YES = 6; // the rules' MsgBox results
    const ANSWER_NO = 7;

    const $ = (id) => document.getElementById(id);
    const win = $('window');
    const board = $('board');
    const start = $('cmdstart');
    const cheat = $('txtcheat');
    const frame = $('fraborder');
    const options = OPTIONS.map((id) => $(id));
    const overlay = $('overlay');
    // What the focus passes along when a control gives it up: the tab order from the start button.
    const focusChain = [start, cheat, $('optgreen'), $('optblue'), $('optyellow'), $('optred')];
    const gameControls = new Set([start, cheat, ...options]);

    let M = null; // the compiled game
    let ended = false;
    let inEvent = false; // an event is running in the rules (perhaps held by a message box)
    let suspended = false; // ... and is waiting for a message box's answer
    let dirty = true;
    let drawQueued = false;
    let lastControls = null;
    let firstFrameDrawn = false;
    const listeners = { event: [] };

    // ---------------------------------------------------------------------------------------
    // Keys: KeyboardEvent.code to the virtual-key codes the rules expect.

    const KEY_CODES = {
        Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13, ShiftLeft: 16, ShiftRight: 16,
        ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18, Pause: 19, CapsLock: 20,
        Escape: 27, Space: 32, PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37,
        ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Select: 41, PrintScreen: 44, Insert: 45,
        Delete: 46, Help: 47, MetaLeft: 91, MetaRight: 92, ContextMenu: 93, Sleep: 95,
        NumpadMultiply: 106, NumpadAdd: 107, NumpadSubtract: 109, NumpadDecimal: 110,
        NumpadComma: 110, NumpadDivide: 111, NumLock: 144, ScrollLock: 145, Semicolon: 186,
        Equal: 187, Comma: 188, Minus: 189, Period: 190, Slash: 191, Backquote: 192,
        BracketLeft: 219, Backslash: 220, BracketRight: 221, Quote: 222, NumpadClear: 12,
    };

    function virtualKeyCode(code) {
        let m = /^Key([A-Z])$/.exec(code);
        if (m) return m[1].charCodeAt(0);
        m = /^Digit([0-9])$/.exec(code);
        if (m) return 48 + Number(m[1]);
        m = /^Numpad([0-9])$/.exec(code);
        if (m) return 96 + Number(m[1]);
        m = /^F([0-9]+)$/.exec(code);
        if (m && Number(m[1]) >= 1 && Number(m[1]) <= 24) return 111 + Number(m[1]);
        return KEY_CODES[code] || 0;
    }

    function shiftState(e) {
        return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    }

    const isArrow = (code) => code.startsWith('Arrow');
    const held = new Set(); // keys down now, by code

    // ---------------------------------------------------------------------------------------
    // Calling the rules

    // Runs one event in the rules, which also record it. Nothing reaches them while another is
    // still running, that is, while a message box is open, and nothing once the program has ended.
    // A string goes in as its UTF-8 bytes and their count. `what` tells the page what the event
    // was, for the focus and for tests.
    function deliver(name, types, args, what) {
        if (!M || ended || inEvent) return false;
        inEvent = true;
        const owned = [];
        const cargs = [];
        args.forEach((a, i) => {
            if (types[i] !== 'string') {
                cargs.push(a);
                return;
            }
            const length = M.lengthBytesUTF8(a);
            const ptr = M._malloc(length + 1);
            M.stringToUTF8(a, ptr, length + 1);
            owned.push(ptr);
            cargs.push(ptr, length);
        });
        const finish = (value) => {
            for (const ptr of owned) M._free(ptr);
            inEvent = false;
            for (const f of listeners.event) f(what, value);
            afterEvent(what);
            return value;
        };
        const value = M['_' + name](...cargs);
        if (suspended) {
            // A box holds the call: its end, and its value, come from eventEnded().
            pendingEvent = new Promise((resolve) => {
                eventEnd = (v) => resolve(finish(v));
            });
            return true;
        }
        return finish(value);
    }

    let eventEnd = null;

    function eventEnded(value) {
        const end = eventEnd;
        eventEnd = null;
        // Outside the rules' own call, which is still on the stack here.
        if (end) queueMicrotask(() => end(value));
    }

    let pendingEvent = Promise.resolve();

    // Resolves once the running event, if any, has run to its end.
    async function settled() {
        while (inEvent) await pendingEvent;
    }

    function key(code, shift) {
        if (replay.running) return false;
        return deliver('qv_key', ['number', 'number'], [code, shift], { kind: 'key', code });
    }

    function click(target) {
        if (replay.running) return false;
        const id = typeof target === 'number' ? target : clickables.indexOf(target);
        return deliver('qv_click', ['number'], [id], { kind: 'click', name: clickables[id] });
    }

    function edit(text) {
        if (replay.running) {
            syncControls(); // the player's typing is undone
            return false;
        }
        return deliver('qv_edit', ['string'], [text], { kind: 'text', text });
    }

    function tick() {
        return deliver('qv_tick', [], [], { kind: 'tick' });
    }

    let clickables = [];

    // ---------------------------------------------------------------------------------------
    // Replaying a script of quorvale-script, as the window's --replay does: at the game's own
    // pace, each box answered after about a second with the next recorded answer, the player's
    // input ignored until the script runs out (then the player takes over). The script is read by
    // the driver's own reader, in the rules' module.

    const BOX_PAUSE = 1000;
    const replay = { running: false, answers: [], fast: false, driver: false, stoppedAtBox: false };

    // Every line is checked before anything runs; a bad one is reported as the driver does.
    function loadScript(text) {
        const length = M.lengthBytesUTF8(text);
        const ptr = M._malloc(length + 1);
        M.stringToUTF8(text, ptr, length + 1);
        const result = JSON.parse(M.UTF8ToString(M._qv_replay_load(ptr, length)));
        M._free(ptr);
        if (result !== null) throw new Error(result.error);
    }

    const nextCommand = () => JSON.parse(M.UTF8ToString(M._qv_replay_next()));

    const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, Math.max(0, ms)));

    // `ticks` ticks of the clock, 64 a second at fixed points from the wait's start; a tick made
    // late (by a box that stayed open) is not made up for.
    async function replayWait(ticks, run) {
        let origin = performance.now();
        for (let n = 1; n <= ticks && !ended && replay.running; ++n) {
            if (!replay.fast) {
                const now = performance.now();
                if (origin + n * PERIOD < now - PERIOD) origin = now - n * PERIOD;
                await sleep(origin + n * PERIOD - now);
            }
            await run('qv_tick', [], [], { kind: 'tick' });
        }
    }

    // fast: no pacing, boxes answered at once; driver: also Yes where the script gave no answer,
    // as quorvale-script does (for tests). name: what the title calls the script.
    async function runReplay(text, { fast = false, driver = false, name = 'a recording' } = {}) {
        if (!M) await pageApi.ready;
        if (box.open || replay.running) throw new Error('the game is busy');
        await settled();
        loadScript(text);
        const dumps = [];
        // A recording starts with the program: replay it on a new game.
        startAgain();
        replay.running = true;
        replay.fast = fast;
        replay.driver = driver;
        replay.answers = [];
        replay.stoppedAtBox = false;
        clockHeld = true;
        syncClock();
        document.title = `${TITLE} - replaying ${name}`;
        $('bar-status').textContent = `Replaying ${name}`;
        const run = (fn, types, args, what) => {
            deliver(fn, types, args, what);
            return settled();
        };
        try {
            // After the end of the program the script is still read: its events do nothing, and
            // a `dump` (the last line of every recording) shows the state the game ended in.
            for (let c = nextCommand(); c !== null && replay.running; c = nextCommand()) {
                switch (c.command) {
                case 'key':
                    await run('qv_key', ['number', 'number'], [c.code, 0], { kind: 'key', code: c.code });
                    break;
                case 'click':
                    await run('qv_click', ['number'], [c.target], { kind: 'click', name: clickables[c.target] });
                    break;
                case 'tick':
                    await run('qv_tick_one', ['number'], [c.timer], { kind: 'tickone', timer: c.timer });
                    break;
                case 'wait':
                    await replayWait(c.ticks, run);
                    break;
                case 'text':
                    await run('qv_edit', ['string'], [c.text], { kind: 'text', text: c.text });
                    break;
                case 'type':
                    for (const point of c.text) {
                        if (ended || !replay.running) break;
                        await run('qv_append', ['string'], [point], { kind: 'text' });
                    }
                    break;
                case 'answer':
                    replay.answers.push(...c.answers);
                    break;
                case 'dump': {
                    const d = pageApi.dump();
                    dumps.push(d);
                    console.log(d + '--');
                    break;
                }
                case 'close':
                    await run('qv_close', [], [], { kind: 'close' });
                    break;
                default:
                    break;
                }
            }
        } finally {
            replay.running = false;
            clockHeld = false;
            document.title = TITLE;
            $('bar-status').textContent = '';
            if (!ended) syncClock();
        }
        return { dumps, stoppedAtBox: replay.stoppedAtBox };
    }

    // A box during a replay shows for about a second and then takes the script's next answer
    // (Yes, No, or the window closed behind it). With no answer left the replay ends there and
    // the box, and the game, are the player's.
    function replayBox() {
        if (!replay.running) return;
        if (replay.answers.length === 0 && replay.driver) {
            // As the script driver does: Yes when the script gave no answer.
            setTimeout(() => answer(ANSWER_YES), 0);
            return;
        }
        if (replay.answers.length === 0) {
            replay.running = false;
            replay.stoppedAtBox = true;
            $('bar-status').textContent = '';
            document.title = TITLE;
            return;
        }
        const value = replay.answers.shift();
        setTimeout(() => answer(value), replay.fast ? 0 : BOX_PAUSE);
    }

    // ---------------------------------------------------------------------------------------
    // Recording: the rules' module records every event as the window's recorder does; the page
    // only hands its text out.

    const recording = () => M.UTF8ToString(M._qv_recording());

    function saveRecording() {
        const url = URL.createObjectURL(new Blob([recording()], { type: 'text/plain' }));
        const a = document.createElement('a');
        a.href = url;
        a.download = 'quorvale-recording.script';
        document.body.append(a);
        a.click();
        a.remove();
        setTimeout(() => URL.revokeObjectURL(url), 1000);
    }

    // ---------------------------------------------------------------------------------------
    // Reading the state

    function snapshot() {
        const ptr = M._qv_snapshot();
        return M.HEAPF64.subarray(ptr / 8, ptr / 8 + SHAPE_COUNT * SHAPE_FIELDS + STATE_FIELDS);
    }

    function controlsState() {
        const s = snapshot();
        const base = SHAPE_COUNT * SHAPE_FIELDS;
        const flags = (i) => ({ visible: (s[base + 1 + i] & 1) !== 0,
            enabled: (s[base + 1 + i] & 2) !== 0 });
        return {
            start: flags(0), cheat: flags(1), frame: flags(2),
            options: [flags(3), flags(4), flags(5), flags(6)],
            values: [s[base + 8], s[base + 9], s[base + 10], s[base + 11]].map((v) => v !== 0),
            timers: s[base + 12],
            ended: s[base + 13] !== 0,
        };
    }

    // ---------------------------------------------------------------------------------------
    // Drawing: the window's drawing order, colours and sizes, sharp at any pixel ratio.

    const ctx = board.getContext('2d', { alpha: false });
    let dpr = 1;

    function resizeBoard() {
        dpr = window.devicePixelRatio || 1;
        const w = Math.round(670 * dpr);
        const h = Math.round(579 * dpr);
        if (board.width !== w || board.height !== h) {
            board.width = w;
            board.height = h;
        }
        drawStartPicture();
        dirty = true;
        damage.everything();
        requestDraw();
    }

    function watchPixelRatio() {
        const query = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
        query.addEventListener('change', () => { resizeBoard(); watchPixelRatio(); }, { once: true });
    }

    const rgb = (v) => '#' + (v >>> 0).toString(16).padStart(6, '0');
    const snap = (v) => Math.round(v * dpr) / dpr;

    function figureRect(left, top, width, height, kind) {
        // Square kinds take the smaller side, centred.
        if (kind === 1 || kind === 3 || kind === 5) {
            const side = Math.min(width, height);
            return [left + (width - side) / 2, top + (height - side) / 2, side, side];
        }
        return [left, top, width, height];
    }

    function figurePath(x, y, w, h, kind, radius) {
        const p = new Path2D();
        if (kind === 2 || kind === 3) {
            p.ellipse(x + w / 2, y + h / 2, w / 2, h / 2, 0, 0, 2 * Math.PI);
        } else if (kind === 4 || kind === 5) {
            const r = Math.min(radius, w / 2, h / 2);
            p.moveTo(x + r, y);
            p.arcTo(x + w, y, x + w, y + h, r);
            p.arcTo(x + w, y + h, x, y + h, r);
            p.arcTo(x, y + h, x, y, r);
            p.arcTo(x, y, x + w, y, r);
            p.closePath();
        } else {
            p.rect(x, y, w, h);
        }
        return p;
    }

    function drawShape(s, i) {
        const o = i * SHAPE_FIELDS;
        const kind = s[o + 4];
        const [fx, fy, fw, fh] = figureRect(s[o] / TWIPS_PER_PIXEL, s[o + 1] / TWIPS_PER_PIXEL,
            s[o + 2] / TWIPS_PER_PIXEL, s[o + 3] / TWIPS_PER_PIXEL, kind);
        const x = snap(fx);
        const y = snap(fy);
        const w = snap(fx + fw) - x;
        const h = snap(fy + fh) - y;
        const border = Math.max(1, Math.round(s[o + 7] * dpr)) / dpr; // one device pixel at least
        const fill = rgb(s[o + 5]);
        const line = rgb(s[o + 6]);
        if (kind === 0 || kind === 1) {
            ctx.fillStyle = line;
            ctx.fillRect(x, y, w, h);
            if (w > 2 * border && h > 2 * border) {
                ctx.fillStyle = fill;
                ctx.fillRect(x + border, y + border, w - 2 * border, h - 2 * border);
            }
            return;
        }
        const radius = Math.min(w, h) / 4;
        ctx.fillStyle = line;
        ctx.fill(figurePath(x, y, w, h, kind, radius));
        if (w > 2 * border && h > 2 * border) {
            ctx.fillStyle = fill;
            ctx.fill(figurePath(x + border, y + border, w - 2 * border, h - 2 * border, kind,
                Math.max(0, radius - border)));
        }
    }

    // Left-aligned, wrapped at spaces to the label's width, clipped to its height.
    function drawLabel() {
        const caption = M.UTF8ToString(M._qv_label_caption());
        ctx.save();
        ctx.beginPath();
        ctx.rect(LABEL.left, LABEL.top, LABEL.width, LABEL.height);
        ctx.clip();
        ctx.fillStyle = CONTROL_BACK;
        ctx.fillRect(LABEL.left, LABEL.top, LABEL.width, LABEL.height);
        if (caption) {
            ctx.font = LABEL_FONT;
            ctx.fillStyle = CONTROL_TEXT;
            ctx.textBaseline = 'alphabetic';
            const metrics = ctx.measureText('Hg');
            const ascent = Math.ceil(metrics.fontBoundingBoxAscent || 15);
            const lineHeight = ascent + Math.ceil(metrics.fontBoundingBoxDescent || 4);
            let y = LABEL.top + ascent;
            for (const line of wrap(caption, LABEL.width)) {
                ctx.fillText(line, LABEL.left, y);
                y += lineHeight;
            }
        }
        ctx.restore();
    }

    function wrap(text, width) {
        const lines = [];
        let line = '';
        for (const token of text.split(/( +)/)) {
            if (!token) continue;
            const candidate = line + token;
            if (line && token.trim() && ctx.measureText(candidate.trimEnd()).width > width) {
                lines.push(line.trimEnd());
                line = token;
            } else {
                line = candidate;
            }
        }
        if (line) lines.push(line.trimEnd());
        return lines;
    }

    const damage = createDamage({
        count: SHAPE_COUNT,
        stride: SHAPE_FIELDS,
        boundsOf: (s, i) => {
            const o = i * SHAPE_FIELDS;
            return { x: s[o] / TWIPS_PER_PIXEL, y: s[o + 1] / TWIPS_PER_PIXEL,
                w: s[o + 2] / TWIPS_PER_PIXEL, h: s[o + 3] / TWIPS_PER_PIXEL };
        },
        label: { x: LABEL.left, y: LABEL.top, w: LABEL.width, h: LABEL.height },
    });

    // Only what changed since the last frame is drawn again, each rectangle on its own: the form's
    // ground, then every shape (and the label) that reaches into it, in the drawing order.
    function draw() {
        drawQueued = false;
        if (!M || ended) return;
        dirty = false;
        const s = snapshot();
        const rects = damage.take(s, s[SHAPE_COUNT * SHAPE_FIELDS], M.UTF8ToString(M._qv_label_caption()));
        ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
        const ground = rgb(s[SHAPE_COUNT * SHAPE_FIELDS]);
        const whole = { x: 0, y: 0, w: 670, h: 579 };
        for (const r of rects || [whole]) {
            ctx.save();
            if (rects) {
                const x = Math.floor(r.x * dpr) / dpr;
                const y = Math.floor(r.y * dpr) / dpr;
                ctx.beginPath();
                ctx.rect(x, y, Math.ceil((r.x + r.w) * dpr) / dpr - x, Math.ceil((r.y + r.h) * dpr) / dpr - y);
                ctx.clip();
            }
            ctx.fillStyle = ground;
            ctx.fillRect(r.x, r.y, r.w, r.h);
            for (let i = 0; i < SHAPE_COUNT; ++i) {
                if (!rects || meets(damage.bounds(s, i), r)) drawShape(s, i);
                if (i === LABEL_AFTER && (!rects || meets(damage.label, r))) drawLabel();
            }
            ctx.restore();
        }
        if (!firstFrameDrawn) {
            firstFrameDrawn = true;
            performance.mark('quorvale-first-frame');
        }
    }

    function requestDraw() {
        if (drawQueued) return;
        drawQueued = true;
        requestAnimationFrame(draw);
    }

    // The start picture: the word in grey letters with a gold outline on white, between two
    // thin gold rules; the face shows the middle band of a 229-pixel square picture.
    function drawStartPicture() {
        const pic = $('startpicture');
        pic.width = Math.round(169 * dpr);
        pic.height = Math.round(73 * dpr);
        const p = pic.getContext('2d');
        p.setTransform(dpr, 0, 0, dpr, 0, 0);
        p.fillStyle = '#fff';
        p.fillRect(0, 0, 169, 73);
        const cx = 169 / 2;
        const cy = 73 / 2;
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
        p.strokeText('Start', cx, cy + 2);
        p.lineWidth = 2;
        p.strokeStyle = gold;
        p.strokeText('Start', cx, cy + 2);
        p.fillStyle = grey;
        p.fillText('Start', cx, cy + 2);
    }

    // ---------------------------------------------------------------------------------------
    // Keeping the controls in step with the rules

    function syncControls() {
        const c = controlsState();
        start.hidden = !c.start.visible;
        start.disabled = !c.start.enabled;
        cheat.hidden = !c.cheat.visible;
        cheat.disabled = !c.cheat.enabled;
        frame.hidden = !c.frame.visible;
        options.forEach((o, i) => {
            o.parentElement.hidden = !c.options[i].visible;
            o.disabled = !c.options[i].enabled;
            o.checked = c.values[i];
        });
        const text = M.UTF8ToString(M._qv_cheat_text());
        if (cheat.value !== text) cheat.value = text;
        const previous = lastControls;
        lastControls = c;
        return { previous, now: c };
    }

    const canFocus = (el) => !el.hidden && !el.disabled && !(el.parentElement && el.parentElement.hidden) &&
        !(el !== start && el !== cheat && frame.hidden);

    // A hidden or disabled control gives up the focus to the next one in tab order that can take
    // it, else to the board, where every key goes to the game. Every reset leaves it on Start.
    function settleFocus(change, what) {
        const { previous, now } = change;
        const shown = previous && !previous.start.visible && now.start.visible;
        const startOver = what && what.kind === 'click' && what.name === 'mnufilestart';
        if ((shown || startOver || what === 'reset') && canFocus(start)) {
            start.focus({ preventScroll: true });
            return;
        }
        const current = document.activeElement;
        if (current && gameControls.has(current) && canFocus(current)) return;
        if (current && current !== board && current !== document.body && !gameControls.has(current))
            return; // the focus is outside the game (the bar below it): leave it there
        for (const el of focusChain) {
            if (canFocus(el)) {
                el.focus({ preventScroll: true });
                return;
            }
        }
        board.focus({ preventScroll: true });
    }

    // Only what changed is brought up to date: most ticks move a ball and nothing else.
    function afterEvent(what) {
        if (ended) {
            showEnded();
            return;
        }
        const changes = M._qv_take_changes();
        if (changes & 1) dirty = true;
        const startOver = what && what.kind === 'click' && what.name === 'mnufilestart';
        if ((changes & 2) || startOver || box.answered) {
            box.answered = false;
            const change = syncControls();
            settleFocus(change, what === null ? 'reset' : what);
            syncClock();
        }
        if (dirty) requestDraw();
    }

    // ---------------------------------------------------------------------------------------
    // The clock: 64 ticks a second at fixed points of a monotonic clock; a late tick is not made
    // up for. A hidden page gets no ticks. Each tick reaches Timer1 and then Timer2.

    const PERIOD = 1000 / 64;
    const clock = { active: false, origin: 0, due: 0, handle: 0, ticks: 0 };
    let clockHeld = false; // for tests and replays that deliver the ticks themselves

    function clockStart() {
        if (clock.active) return;
        clock.active = true;
        clock.origin = performance.now();
        clock.due = PERIOD;
        arm();
    }

    function clockStop() {
        clock.active = false;
        clearTimeout(clock.handle);
    }

    function arm() {
        const now = performance.now() - clock.origin;
        if (clock.due <= now) clock.due += (Math.floor((now - clock.due) / PERIOD) + 1) * PERIOD;
        if (clock.due - now < PERIOD / 2) clock.due += PERIOD;
        clock.handle = setTimeout(fire, Math.ceil(clock.due - now));
    }

    function fire() {
        if (!clock.active) return;
        const now = performance.now() - clock.origin;
        if (now < clock.due) {
            clock.handle = setTimeout(fire, Math.ceil(clock.due - now));
            return;
        }
        clock.due += PERIOD;
        arm();
        ++clock.ticks;
        tick();
    }

    function syncClock() {
        const wanted = M && !ended && !clockHeld && !document.hidden && lastControls &&
            lastControls.timers !== 0;
        if (wanted) clockStart();
        else clockStop();
    }

    // ---------------------------------------------------------------------------------------
    // Message boxes: modal in the page, Yes the default, answered only on purpose: a repeated key
    // or a key already down when the box opened (until it is released) does nothing.

    const box = {
        open: false, resolve: null, selected: null, stale: new Set(), returnFocus: null,
    };
    const yesButton = $('msgbox-yes');
    const noButton = $('msgbox-no');

    const ICONS = {
        48: '<svg viewBox="0 0 32 32" width="32" height="32"><path d="M16 2 L31 29 H1 Z" ' +
            'fill="#ffd800" stroke="#000" stroke-width="1.5" stroke-linejoin="round"/>' +
            '<rect x="14.3" y="10" width="3.4" height="11" rx="1.2"/>' +
            '<circle cx="16" cy="25" r="1.9"/></svg>',
        64: '<svg viewBox="0 0 32 32" width="32" height="32"><circle cx="16" cy="16" r="14.5" ' +
            'fill="#fff" stroke="#1c4fb8" stroke-width="2"/><circle cx="16" cy="9" r="2.2" ' +
            'fill="#1c4fb8"/><rect x="14" y="13" width="4" height="12" rx="1" fill="#1c4fb8"/></svg>',
        32: '<svg viewBox="0 0 32 32" width="32" height="32"><circle cx="16" cy="16" r="14.5" ' +
            'fill="#fff" stroke="#1c4fb8" stroke-width="2"/><text x="16" y="23" font-size="20" ' +
            'text-anchor="middle" fill="#1c4fb8" font-family="DejaVu Sans">?</text></svg>',
        16: '<svg viewBox="0 0 32 32" width="32" height="32"><circle cx="16" cy="16" r="15" ' +
            'fill="#d00"/><path d="M10 10 L22 22 M22 10 L10 22" stroke="#fff" stroke-width="3.5" ' +
            'stroke-linecap="round"/></svg>',
    };

    function messageBox(prompt, style, title) {
        // Whatever the procedure changed so far is on screen before the box opens.
        syncControls();
        draw();
        suspended = true;
        box.open = true;
        box.spaceDown = false;
        box.stale = new Set(held);
        box.returnFocus = document.activeElement;
        $('msgbox-title').textContent = title;
        $('msgbox-prompt').textContent = prompt;
        $('msgbox-icon').innerHTML = ICONS[style & 0x70] || '';
        overlay.hidden = false;
        selectButton(yesButton);
        for (const f of listeners.box) f(title, prompt, style);
        replayBox();
        return new Promise((resolve) => { box.resolve = resolve; });
    }
    listeners.box = [];

    function selectButton(button) {
        box.selected = button;
        yesButton.classList.toggle('default', button === yesButton);
        noButton.classList.toggle('default', button === noButton);
        button.focus({ preventScroll: true });
    }

    // Yes, No, or (only from a replay) the window closed behind the box, as the rules' own
    // MsgBox results.
    function answer(value) {
        if (!box.open) return;
        box.open = false;
        overlay.hidden = true;
        suspended = false;
        const resolve = box.resolve;
        box.resolve = null;
        const back = box.returnFocus;
        if (back && back !== document.body && document.contains(back)) back.focus({ preventScroll: true });
        else board.focus({ preventScroll: true });
        box.answered = true;
        for (const f of listeners.answer) f(value === ANSWER_YES ? true : value === ANSWER_NO ? false : null);
        resolve(value);
    }
    listeners.answer = [];

    function boxKeyDown(e) {
        e.preventDefault();
        e.stopPropagation();
        if (e.repeat || box.stale.has(e.code)) return;
        switch (e.code) {
        case 'Enter':
        case 'NumpadEnter':
            answer(box.selected === yesButton ? ANSWER_YES : ANSWER_NO);
            break;
        case 'Space':
            box.spaceDown = true; // a button answers when Space is let go
            break;
        case 'KeyY':
            answer(ANSWER_YES);
            break;
        case 'KeyN':
            answer(ANSWER_NO);
            break;
        case 'ArrowLeft':
        case 'ArrowRight':
        case 'Tab':
            selectButton(box.selected === yesButton ? noButton : yesButton);
            break;
        default:
            break; // Escape and the rest: the question must be answered Yes or No
        }
    }

    function boxKeyUp(e) {
        e.preventDefault();
        if (e.code === 'Space' && box.spaceDown) {
            box.spaceDown = false;
            answer(box.selected === yesButton ? ANSWER_YES : ANSWER_NO);
        }
    }

    yesButton.addEventListener('click', (e) => { e.preventDefault(); if (!replay.running) answer(ANSWER_YES); });
    noButton.addEventListener('click', (e) => { e.preventDefault(); if (!replay.running) answer(ANSWER_NO); });
    for (const b of [yesButton, noButton])
        b.addEventListener('mousedown', () => selectButton(b));

    // ---------------------------------------------------------------------------------------
    // The end of the program, and starting again

    let endMessage = '';

    function programEnded(status, message) {
        ended = true;
        endMessage = status !== 0 ? message : '';
        clockStop();
        if (box.open) answer(ANSWER_NO);
    }

    function showEnded() {
        clockStop();
        closeMenus();
        win.hidden = true;
        $('ended-error').textContent = endMessage;
        $('ended').hidden = false;
        $('again').focus({ preventScroll: true });
    }

    function startAgain() {
        M._qv_restart();
        ended = false;
        lastControls = null;
        $('ended').hidden = true;
        win.hidden = false;
        for (const f of listeners.restart) f();
        M._qv_take_changes();
        const change = syncControls();
        settleFocus(change, 'reset');
        syncClock();
        dirty = true;
        damage.everything();
        requestDraw();
    }
    listeners.restart = [];
    $('again').addEventListener('click', startAgain);

    // ---------------------------------------------------------------------------------------
    // The menu bar: the game's own captions; a leaf raises its click, the others open lists.

    let openMenu = null;

    // Menus come before the menus and items that open from them, as the rules list them.
    function buildMenus({ menus, items }) {
        const bar = $('menubar');
        const lists = new Map(); // menu name -> its <ul>
        for (const entry of menus) {
            const button = document.createElement('button');
            button.type = 'button';
            button.id = entry.name;
            button.textContent = entry.caption;
            button.setAttribute('role', 'menuitem');
            button.setAttribute('aria-haspopup', 'menu');
            button.tabIndex = -1;
            button.addEventListener('mousedown', (e) => e.preventDefault()); // keep the focus
            const list = document.createElement('ul');
            list.setAttribute('role', 'menu');
            list.hidden = true;
            lists.set(entry.name, list);
            if (entry.parent === null) {
                const menu = document.createElement('div');
                menu.className = 'menu';
                button.setAttribute('aria-expanded', 'false');
                button.addEventListener('click', () => {
                    if (openMenu === menu) closeMenus();
                    else openTopMenu(menu);
                });
                button.addEventListener('mouseenter', () => {
                    if (openMenu && openMenu !== menu) openTopMenu(menu);
                });
                menu.append(button, list);
                bar.append(menu);
            } else {
                const li = document.createElement('li');
                li.setAttribute('role', 'none');
                li.className = 'parent';
                li.append(button, list);
                const openSub = () => {
                    for (const other of li.parentElement.children) {
                        if (other !== li) closeSub(other);
                    }
                    li.classList.add('open');
                    list.hidden = false;
                };
                button.addEventListener('mouseenter', openSub);
                button.addEventListener('click', openSub);
                lists.get(entry.parent).append(li);
            }
        }
        for (const item of items) {
            const li = document.createElement('li');
            li.setAttribute('role', 'none');
            const button = document.createElement('button');
            button.type = 'button';
            button.id = item.name;
            button.textContent = item.caption;
            button.setAttribute('role', 'menuitem');
            button.tabIndex = -1;
            button.addEventListener('mousedown', (e) => e.preventDefault());
            button.addEventListener('mouseenter', () => {
                for (const other of li.parentElement.children) closeSub(other);
            });
            button.addEventListener('click', () => {
                closeMenus();
                click(item.action);
            });
            li.append(button);
            lists.get(item.menu).append(li);
        }
    }

    function closeSub(li) {
        li.classList.remove('open');
        for (const ul of li.querySelectorAll('ul')) ul.hidden = true;
        for (const o of li.querySelectorAll('li.open')) o.classList.remove('open');
    }

    function openTopMenu(menu) {
        closeMenus();
        openMenu = menu;
        menu.firstChild.setAttribute('aria-expanded', 'true');
        menu.lastChild.hidden = false;
    }

    function closeMenus() {
        if (!openMenu) return;
        openMenu.firstChild.setAttribute('aria-expanded', 'false');
        openMenu.lastChild.hidden = true;
        for (const li of openMenu.querySelectorAll('li')) closeSub(li);
        openMenu = null;
    }

    document.addEventListener('mousedown', (e) => {
        if (openMenu && !openMenu.contains(e.target)) closeMenus();
    });

    // ---------------------------------------------------------------------------------------
    // Input

    let spaceArmed = false; // Space pressed on the start button: it clicks on release

    document.addEventListener('keydown', (e) => {
        held.add(e.code);
        if (!M || ended) return;
        if (box.open) {
            if (replay.running) e.preventDefault();
            else boxKeyDown(e);
            return;
        }
        if (replay.running) {
            if (document.activeElement !== cheat || isArrow(e.code) || e.code === 'Space')
                e.preventDefault();
            return;
        }
        if (openMenu) {
            if (e.code === 'Escape') closeMenus();
            e.preventDefault();
            return;
        }
        const target = document.activeElement;
        const typing = target === cheat;
        // Arrow keys and Space never scroll the page.
        if (!typing && (isArrow(e.code) || e.code === 'Space')) e.preventDefault();

        if (target === start) {
            // The start button holds the focus throughout setup: the arrow keys do nothing, Enter
            // and Space start.
            if ((e.code === 'Enter' || e.code === 'NumpadEnter') && !e.repeat) {
                e.preventDefault();
                click('cmdstart');
            } else if (e.code === 'Space') {
                e.preventDefault();
                if (!e.repeat) spaceArmed = true;
            }
            return;
        }
        const option = options.indexOf(target);
        if (option >= 0) {
            // Within the frame the arrow keys move the selection, top to bottom, and raise the
            // click of the option they land on; Space selects the one with the focus.
            if (e.repeat && e.code === 'Space') return;
            const step = { ArrowUp: -1, ArrowLeft: -1, ArrowDown: 1, ArrowRight: 1 }[e.code];
            if (step) {
                for (let i = option + step; i >= 0 && i < options.length; i += step) {
                    if (canFocus(options[i])) {
                        options[i].focus({ preventScroll: true });
                        click(OPTIONS[i]);
                        break;
                    }
                }
            } else if (e.code === 'Space') {
                click(OPTIONS[option]);
            }
            return;
        }
        if (gameControls.has(target)) return; // the cheat box keeps its keys
        if (target === board || target === document.body || target === null) {
            const code = virtualKeyCode(e.code);
            if (target !== board && !boardHasTheKeys()) return;
            e.preventDefault(); // Tab too: it goes to the game, as in the window
            key(code, shiftState(e));
        }
    }, true);

    document.addEventListener('keyup', (e) => {
        held.delete(e.code);
        box.stale.delete(e.code);
        if (box.open && !replay.running) {
            boxKeyUp(e);
            return;
        }
        if (e.code === 'Space' && spaceArmed) {
            spaceArmed = false;
            if (document.activeElement === start && !box.open && !ended) {
                e.preventDefault();
                click('cmdstart');
            }
        }
    }, true);

    window.addEventListener('blur', () => {
        held.clear();
        spaceArmed = false;
    });

    // With no setup control to hold it, the focus belongs to the board.
    function boardHasTheKeys() {
        return !focusChain.some(canFocus);
    }

    start.addEventListener('click', (e) => {
        e.preventDefault();
        if (e.detail > 0) click('cmdstart'); // a mouse click; the keys are handled above
    });
    start.addEventListener('mousedown', () => start.focus());

    options.forEach((o, i) => {
        const label = o.parentElement;
        // A click selects the option but leaves the focus on the start button.
        label.addEventListener('mousedown', (e) => e.preventDefault());
        o.addEventListener('click', (e) => {
            // The keys are handled above; a click from anywhere else is the mouse's.
            const byMouse = e.detail > 0 || e.clientX !== 0 || e.clientY !== 0;
            if (byMouse) click(OPTIONS[i]);
            syncControls(); // the rules, not the browser, say which option is set
            if (byMouse && canFocus(start)) start.focus({ preventScroll: true });
        });
    });

    cheat.addEventListener('input', () => edit(cheat.value));
    cheat.addEventListener('mousedown', () => cheat.focus());

    // A click on the board or the window's ground moves no focus, as in the window.
    $('client').addEventListener('mousedown', (e) => {
        if (e.target === board || e.target === $('client') || e.target === frame) e.preventDefault();
    });

    document.addEventListener('visibilitychange', syncClock);

    $('save').addEventListener('click', saveRecording);

    $('replay').addEventListener('change', async (e) => {
        const file = e.target.files[0];
        e.target.value = '';
        if (!file || replay.running) return;
        if (ended) startAgain();
        try {
            await runReplay(await file.text(), { name: file.name });
        } catch (error) {
            $('bar-status').textContent = `${file.name}: ${error.message}`;
        }
    });

    // ---------------------------------------------------------------------------------------
    // Start-up

    const pageApi = {
        ready: null,
        dump: () => (M ? M.UTF8ToString(M._qv_dump()).replace(/--\n$/, '') : ''),
        // For tests and replays: stop the page's own clock, and deliver ticks by hand.
        holdClock(hold) {
            clockHeld = !!hold;
            syncClock();
        },
        tick: () => tick(),
        tickTimer: (n) => deliver('qv_tick_one', ['number'], [n], { kind: 'tickone', timer: n }),
        key: (code, shift = 0) => key(code, shift),
        click: (name) => click(name),
        edit: (text) => edit(text),
        close: () => deliver('qv_close', [], [], { kind: 'close' }),
        answer: (yes) => answer(yes ? ANSWER_YES : ANSWER_NO),
        get boxOpen() { return box.open; },
        get busy() { return inEvent; },
        get ended() { return ended; },
        get clockTicks() { return clock.ticks; },
        on(kind, f) { listeners[kind].push(f); },
        startAgain: () => startAgain(),
        replay: (text, options) => runReplay(text, options),
        recording: () => recording(),
        get replaying() { return replay.running; },
    };
    window.quorvale = pageApi;

    pageApi.ready = createQuorvale().then((module) => {
        M = module;
        M.quorvalePage = {
            messageBox,
            programEnded,
            eventEnded,
        };
        const n = M._qv_clickable_count();
        clickables = [];
        for (let i = 0; i < n; ++i) clickables.push(M.UTF8ToString(M._qv_clickable_name(i)));
        buildMenus(JSON.parse(M.UTF8ToString(M._qv_menu_json())));
        resizeBoard();
        watchPixelRatio();
        draw();
        M._qv_take_changes();
        const change = syncControls();
        settleFocus(change, 'reset');
        syncClock();
        // The label's font may arrive after the first frame; draw again when it does.
        document.fonts.load(LABEL_FONT).then(() => { dirty = true; damage.everything(); requestDraw(); });
        return pageApi;
    });
})();
