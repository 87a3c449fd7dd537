// The clock: 64 ticks a second at fixed points of a monotonic clock; a late tick is not made up
// for. A hidden page gets no ticks, nor does a game whose timers are all off.

import { state } from './state.js';

export const PERIOD = 1000 / 64;

// When the next tick falls due, `now` and `due` counted from the clock's start: the first point
// of the schedule after now, and never less than half a period away, so a tick made late does
// not bring a burst of ticks behind it.
export function nextDue(due, now) {
    let next = due;
    if (next <= now) next += (Math.floor((now - next) / PERIOD) + 1) * PERIOD;
    if (next - now < PERIOD / 2) next += PERIOD;
    return next;
}

// A clock calling `onTick`; `timers` stand in for the browser's in tests under Node.
export function makeClock(onTick, timers = {
    now: () => performance.now(), set: (f, ms) => setTimeout(f, ms), clear: (h) => clearTimeout(h),
}) {
    const clock = { active: false, origin: 0, due: 0, handle: 0, ticks: 0 };

    function arm() {
        const now = timers.now() - clock.origin;
        clock.due = nextDue(clock.due, now);
        clock.handle = timers.set(fire, Math.ceil(clock.due - now));
    }

    function fire() {
        if (!clock.active) return;
        const now = timers.now() - clock.origin;
        if (now < clock.due) {
            clock.handle = timers.set(fire, Math.ceil(clock.due - now));
            return;
        }
        clock.due += PERIOD;
        arm();
        ++clock.ticks;
        onTick();
    }

    return {
        start() {
            if (clock.active) return;
            clock.active = true;
            clock.origin = timers.now();
            clock.due = PERIOD;
            arm();
        },
        stop() {
            clock.active = false;
            timers.clear(clock.handle);
        },
        get ticks() { return clock.ticks; },
    };
}

// The page's own clock: ticks the game while a timer is on, the program goes on, the page is
// shown and no test or replay holds it to deliver the ticks itself.
let pageClock = null;
let timersOn = () => false;
let held = false;

export function initPageClock(tick, anyTimerOn) {
    pageClock = makeClock(tick);
    timersOn = anyTimerOn;
    document.addEventListener('visibilitychange', syncClock);
}

export function syncClock() {
    if (!pageClock) return;
    if (!state.ended && !held && !document.hidden && timersOn()) pageClock.start();
    else pageClock.stop();
}

export function holdClock(hold) {
    held = !!hold;
    syncClock();
}

export function stopClock() {
    if (pageClock) pageClock.stop();
}

export const clockTicks = () => (pageClock ? pageClock.ticks : 0);
