// The clock's schedule: 64 ticks a second at fixed points of a monotonic clock; a late tick is
// not made up for. Both makers of ticks in the page's worker keep it: the rules' own clock
// (makeClock, beside the rules in engine.js) and a replay's `wait` (paceTicks, replayer.js).

export const PERIOD = 1000 / 64;

// When the next tick falls due, `now` and `due` counted from the schedule's start: the first
// point of the schedule after now, and never less than half a period away, so a tick made late
// does not bring a burst of ticks behind it.
export function nextDue(due, now) {
    let next = due;
    if (next <= now) next += (Math.floor((now - next) / PERIOD) + 1) * PERIOD;
    if (next - now < PERIOD / 2) next += PERIOD;
    return next;
}

const browserTimers = {
    now: () => performance.now(), set: (f, ms) => setTimeout(f, ms), clear: (h) => clearTimeout(h),
};

// A clock calling `onTick`; `timers` stand in for the browser's in tests under Node.
export function makeClock(onTick, timers = browserTimers) {
    const clock = { active: false, idle: false, origin: 0, due: 0, handle: 0, ticks: 0 };

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

    function begin() {
        clock.origin = timers.now();
        clock.due = PERIOD;
    }

    return {
        // Keeps the schedule of an idle clock, so that its ticks go on falling where they would.
        start() {
            if (clock.active) return;
            if (!clock.idle) begin();
            clock.active = true;
            clock.idle = false;
            arm();
        },
        stop() {
            clock.active = false;
            clock.idle = false;
            timers.clear(clock.handle);
        },
        // Keeps the schedule without waking for it: passed() counts the ticks that fell meanwhile.
        idle() {
            if (clock.idle) return;
            if (!clock.active) begin();
            clock.active = false;
            clock.idle = true;
            timers.clear(clock.handle);
        },
        // The ticks of the schedule that fell since the last one made or counted, while idle.
        passed() {
            if (!clock.idle) return 0;
            const now = timers.now() - clock.origin;
            if (now < clock.due) return 0;
            const n = Math.floor((now - clock.due) / PERIOD) + 1;
            clock.due += n * PERIOD;
            return n;
        },
        get ticks() { return clock.ticks; },
    };
}

// Up to `count` ticks on the schedule from now, one after another: `tick()` resolves once its
// tick has run to its end, which a box may hold up for long. `going()` false stops the ticks
// early; `paced()` false lets the rest follow at once.
export async function paceTicks(count, tick, { going = () => true, paced = () => true,
    timers = browserTimers } = {}) {
    const origin = timers.now();
    const since = () => timers.now() - origin;
    const sleep = (ms) => new Promise((resolve) => { timers.set(resolve, Math.ceil(ms)); });
    let due = PERIOD;
    for (let n = 0; n < count && going(); ++n) {
        if (paced()) {
            due = nextDue(due, since());
            while (paced() && since() < due) await sleep(due - since());
        }
        await tick();
        due += PERIOD;
    }
}
