// The clock: 64 ticks a second at fixed points of a monotonic clock; a late tick is not made up
// for. It runs in the page's worker, beside the rules (engine.js).

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
