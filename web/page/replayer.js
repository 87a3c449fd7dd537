// Replaying a script of quorvale-script in the page's worker, as the window's --replay does: at
// the game's own pace, the clock held meanwhile. The script is read and applied by the driver's
// own reader and interpreter, in the rules' module, which also keeps the answers for its boxes;
// this only paces the ticks of each `wait` and keeps the dumps. Showing the boxes and answering
// them after about a second is the page's (replay.js).

import * as rules from './compiled.js';
import { paceTicks } from './clock.js';

// How long a box stays on screen before the replay answers it, as the window's replay does.
const BOX_PAUSE = 1000;
const replay = { running: false, fast: false, driver: false };

export const running = () => replay.running;

// `ticks` ticks of the clock, at its pace unless hurried.
function replayWait(ticks) {
    return paceTicks(ticks, () => {
        rules.tick();
        return rules.settled();
    }, { going: () => !rules.ended() && replay.running, paced: () => !replay.fast });
}

// The script loaded last (rules.loadScript), from its first line. fast: no pacing; driver: Yes
// where the script gave no answer, as quorvale-script does. `dumped(text)` hears each dump as it
// is made. Resolves to the dumps and why the script stopped early ('' if it did not).
export async function run({ fast = false, driver = false }, dumped) {
    Object.assign(replay, { running: true, fast, driver });
    const dumps = [];
    try {
        while (replay.running) {
            const step = await rules.replayStep();
            if (step === rules.replayCodes().ended) break;
            if (step === rules.replayCodes().dumped) {
                dumps.push(rules.dump());
                dumped(dumps.at(-1));
            } else if (step > 0) {
                await replayWait(step);
            }
        }
    } finally {
        replay.running = false;
    }
    return { dumps, error: rules.replayError() };
}

// The rest of the replay at once: no more pacing.
export function hurry() {
    if (replay.running) replay.fast = true;
}

// How a box opened by the replay is to be answered: with the script's next answer after about a
// second (at once once hurried), or at once with Yes where the script has none and the replay
// stands in for the driver; else null: the replay ends there and the box, and the game, are the
// player's.
export function boxAnswer() {
    const value = rules.replayAnswer();
    if (value !== rules.replayCodes().noAnswer) return { value, after: replay.fast ? 0 : BOX_PAUSE };
    if (replay.driver) return { value: rules.answers().yes, after: 0 };
    replay.running = false;
    rules.replayStop();
    return null;
}
