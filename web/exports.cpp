// The entry points the page's worker calls (compiled.js), each a thin call into the session,
// the replay or the descriptions.

#include "describe.h"
#include "dump.h"
#include "ghost.h"
#include "reader.h"
#include "replaysink.h"
#include "session.h"
#include "timing.h"
#include "vocabulary.h"

#include <emscripten.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <variant>

namespace {

using namespace quorvale;
using namespace quorvale::web;

constexpr std::size_t shapeCount = [] {
    std::size_t n = 0;
    for (const Element e : layout::drawingOrder)
        n += isShape(e) ? 1 : 0;
    return n;
}();

struct Page
{
    std::unique_ptr<Replay> replay;
    bool replaying = false;  // a command of the replay is being applied (perhaps held by a box)
    std::string replayError; // why the last replay stopped early
    std::array<ShapeRecord, shapeCount> shapes{};
    ShapeRecord ghost{};
    std::string text; // strings handed to the page
};

Page &page()
{
    static Page p;
    return p;
}

ShapeRecord record(const ShapeElement &shape)
{
    return {static_cast<double>(shape.left()),
            static_cast<double>(shape.top()),
            static_cast<double>(shape.width()),
            static_cast<double>(shape.height()),
            static_cast<double>(shape.shape()),
            static_cast<double>(displayRgb(shape.fillColor())),
            static_cast<double>(displayRgb(shape.borderColor())),
            static_cast<double>(shape.borderWidth())};
}

const char *handed(std::string text)
{
    page().text = std::move(text);
    return page().text.c_str();
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void qv_restart()
{
    restartSession();
}

EMSCRIPTEN_KEEPALIVE int qv_key(int keyCode, int shift)
{
    return pageCall([&] {
        return session().key(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
    });
}

EMSCRIPTEN_KEEPALIVE int qv_click(int target)
{
    if (target < 0 || static_cast<std::size_t>(target) >= clickableCount)
        return 0;
    return pageCall([&] { return session().click(static_cast<Clickable>(target)); });
}

// One tick of the 64 Hz clock: to every timer in the list's order, each only if it is still
// enabled then. Bit n says the list's timer n (from 0) took it. Recorded whichever took it, as
// the window's clock is.
EMSCRIPTEN_KEEPALIVE int qv_tick()
{
    return pageCall([] { return session().clockTick(); });
}

// Ticks of the clock that fell while no timer ran; the page counts them rather than making them.
EMSCRIPTEN_KEEPALIVE void qv_ticks_passed(int ticks)
{
    if (ticks > 0)
        session().ticksPassed(static_cast<std::uint32_t>(ticks));
}

// One timer alone, as a script's `tick` line delivers it: `timer` counts the list's timers from
// 1 (Timer1 is 1). Any other number names no timer and ticks nothing.
EMSCRIPTEN_KEEPALIVE int qv_tick_one(int timer)
{
    if (timer < 1 || static_cast<std::size_t>(timer) > timers.size())
        return 0;
    return pageCall([&] { return session().tick(timers[static_cast<std::size_t>(timer - 1)]); });
}

// The cheat box's whole text becomes `text` (UTF-8, `length` bytes: a script may hold any
// character, a NUL too).
EMSCRIPTEN_KEEPALIVE int qv_edit(const char *text, int length)
{
    return pageCall(
        [&] { return session().edit(std::string(text, static_cast<std::size_t>(length))); });
}

// The window is closed.
EMSCRIPTEN_KEEPALIVE int qv_close()
{
    return pageCall([] { return session().close(); });
}

EMSCRIPTEN_KEEPALIVE const char *qv_recording()
{
    return handed(session().recording());
}

EMSCRIPTEN_KEEPALIVE int qv_take_changes()
{
    return session().platform().takeChanges();
}

// What was typed at the end of the cheat box since the page last looked, when that is all that
// changed there.
EMSCRIPTEN_KEEPALIVE const char *qv_take_typed()
{
    return handed(session().platform().takeTyped());
}

// What the page builds the window from, once at start-up.
EMSCRIPTEN_KEEPALIVE const char *qv_layout_json()
{
    return handed(layoutJson());
}

EMSCRIPTEN_KEEPALIVE const char *qv_state_json()
{
    return handed(stateJson(session().maze()));
}

// The shapes as they are now, a record each in the drawing order.
EMSCRIPTEN_KEEPALIVE const ShapeRecord *qv_shapes()
{
    const Maze &m = session().maze();
    auto &records = page().shapes;
    std::size_t i = 0;
    for (const Element e : layout::drawingOrder) {
        if (!isShape(e))
            continue;
        records[i++] = record(m.shape(e));
    }
    return records.data();
}

EMSCRIPTEN_KEEPALIVE int qv_form_back_color()
{
    return static_cast<int>(displayRgb(session().maze().form().backColor()));
}

EMSCRIPTEN_KEEPALIVE const char *qv_label_caption()
{
    return handed(session().maze().label().caption());
}

// A script to replay, `length` bytes, checked whole with the script driver's own reader: null
// if every line is a command, else what is wrong, "line N: ...", as quorvale-script reports it.
EMSCRIPTEN_KEEPALIVE const char *qv_replay_load(const char *text, int length)
{
    Page &p = page();
    // A command held by a box still needs the replay it came from.
    if (p.replaying)
        return handed("the game is busy");
    p.replayError.clear();
    auto replay = std::make_unique<Replay>(std::string(text, static_cast<std::size_t>(length)));
    if (const auto error = replay->check()) {
        p.replay.reset();
        return handed("line " + std::to_string(error->number) + ": " + error->message);
    }
    p.replay = std::move(replay);
    return nullptr;
}

// Applies the loaded script's next command to the game. Returns the ticks of a `wait` for the
// page to make with its clock (0 for any other command), replayDumped after a `dump` (the page
// reads qv_dump()), or replayEnded once the script has run out, the player has taken over, or
// the script has failed (qv_replay_error() says how).
EMSCRIPTEN_KEEPALIVE int qv_replay_step()
{
    Page &p = page();
    if (!p.replay || p.replaying)
        return replayEnded;
    p.replaying = true;
    const int result = pageCall([&p] { return p.replay->step(); });
    p.replaying = false;
    if (result == replayEnded) {
        p.replayError = p.replay->sink().error();
        p.replay.reset();
    }
    return result;
}

// The answer the script holds for the box now open: 6 (yes), 7 (no) or 0 (the window closed
// behind it); noAnswer if it holds none.
EMSCRIPTEN_KEEPALIVE int qv_replay_answer()
{
    return page().replay ? page().replay->sink().answer() : noAnswer;
}

// What the last command clicked, by the number a click is delivered with; -1 for nothing.
EMSCRIPTEN_KEEPALIVE int qv_replay_clicked()
{
    return page().replay ? page().replay->sink().clicked() : -1;
}

// The player takes the game over, at a box the script holds no answer for.
EMSCRIPTEN_KEEPALIVE void qv_replay_stop()
{
    if (page().replay)
        page().replay->sink().handOver();
}

// Why the replay stopped before the script's end, as quorvale-script would report it; empty if
// it did not.
EMSCRIPTEN_KEEPALIVE const char *qv_replay_error()
{
    return page().replayError.c_str();
}

// A recording to race: null once its ghost waits for the player's next start, else why not, as
// the window's --race says it. `last`: its last won game is raced rather than its first (a best
// is kept with the recording of its whole session). With `keep` 0 the recording is only judged,
// and a race already run goes on.
EMSCRIPTEN_KEEPALIVE const char *qv_race_load(const char *text, int length, int last, int keep)
{
    std::istringstream in(std::string(text, static_cast<std::size_t>(length)));
    auto read = script::readScript(in);
    if (const auto *error = std::get_if<script::LineError>(&read))
        return handed("line " + std::to_string(error->number) + ": " + error->message);
    auto made =
        script::Ghost::make(std::get<std::vector<script::ScriptLine>>(std::move(read)),
                            last != 0 ? script::Ghost::Win::Last : script::Ghost::Win::First);
    if (auto *refusal = std::get_if<std::string>(&made))
        return handed(std::move(*refusal));
    if (keep != 0) {
        // The session lets go of the race it times before that race goes.
        auto next = std::make_unique<script::Race>(std::move(std::get<0>(std::move(made))));
        session().timeRace(next.get());
        race() = std::move(next);
    }
    return nullptr;
}

EMSCRIPTEN_KEEPALIVE void qv_race_end()
{
    session().timeRace(nullptr);
    race().reset();
}

// What the race's line says; null while no race is run.
EMSCRIPTEN_KEEPALIVE const char *qv_race_status()
{
    return race() ? handed(race()->status()) : nullptr;
}

// The ghost's piece as a shape record; null while no race is run.
EMSCRIPTEN_KEEPALIVE const ShapeRecord *qv_race_ghost()
{
    if (!race())
        return nullptr;
    page().ghost = record(race()->ghost().maze().shape(Element::shpyou));
    return &page().ghost;
}

// The state as quorvale-script's `dump` prints it.
EMSCRIPTEN_KEEPALIVE const char *qv_dump()
{
    std::ostringstream out;
    script::dump(session().maze(), out);
    return handed(out.str());
}

} // extern "C"
