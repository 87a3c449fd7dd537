// The browser's platform for the rules, and the entry points the page calls.
//
// This runs in the page's worker, beside the clock and the board's painter; the page owns the
// keyboard and the controls. The worker calls in here with the events, and the rules call back
// out for message boxes and the end of the program. A message box must wait for the player
// inside the procedure that opened it, as the window's does, so the build suspends the call
// (Asyncify) until the page's dialog is answered; while it waits, no other event gets through.

#include "apply.h"
#include "cheatcodes.h"
#include "command.h"
#include "describe.h"
#include "dump.h"
#include "json.h"
#include "maze.h"
#include "reader.h"
#include "recorder.h"
#include "stopwatch.h"
#include "timing.h"
#include "vocabulary.h"

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <deque>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace {

using namespace quorvale;
using namespace quorvale::web;

// The dialog, in the page; resolves to 6 (Yes) or 7 (No), or 0 once the game has been left.
// clang-format off
EM_ASYNC_JS(int, showMessageBox, (const char *prompt, int promptLength, int style,
                                  const char *title, int titleLength), {
    return await Module.quorvalePage.messageBox(UTF8ToString(prompt, promptLength), style,
                                                UTF8ToString(title, titleLength));
});

EM_JS(void, announceEnd, (int status, const char *message, int messageLength), {
    Module.quorvalePage.programEnded(status, UTF8ToString(message, messageLength));
});

// Only for an event that showed a box: the page learns its end (and value) from here, since the
// call it made returned when the box suspended it.
EM_JS(void, announceEventEnd, (int value), {
    Module.quorvalePage.eventEnded(value);
});
// clang-format on

class WebPlatform final : public Platform
{
public:
    explicit WebPlatform(script::Recorder &recorder) : m_recorder(recorder) {}

    // The page's dialog answers 6 (Yes) or 7 (No); 0 says the window was closed behind it (a
    // replay of a recording that ends so), which ends the program as it would the window's.
    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        if (m_ended)
            return MsgBoxResult::Closed;
        boxShown = true;
        boxOpen = true;
        stopwatch().boxOpened(style);
        const int answer = showMessageBox(prompt.data(), static_cast<int>(prompt.size()), style,
                                          title.data(), static_cast<int>(title.size()));
        boxOpen = false;
        if (m_ended)
            return MsgBoxResult::Closed;
        if (answer != 6 && answer != 7) {
            m_recorder.close(true);
            return MsgBoxResult::Closed;
        }
        const auto result = static_cast<MsgBoxResult>(answer);
        m_recorder.answered(result);
        return result;
    }

    void endProgram() override { end(0, {}); }

    void runtimeError(int number, std::string_view description) override
    {
        end(1, "Run-time error '" + std::to_string(number) + "':\n\n" + std::string(description));
    }

    // What changed since the page last looked: something drawn on the board, or a control, the
    // cheat box's text or a timer.
    void propertyChanged(Element element, Property) override
    {
        const bool drawn =
            isShape(element) || element == Element::frmmaze || element == Element::lblabout;
        changes |= drawn ? drawnChanged : controlsChanged;
    }

    int changes = drawnChanged | controlsChanged;
    bool boxShown = false; // during the event being delivered
    bool boxOpen = false;  // the event being delivered waits for the player's answer

private:
    void end(int status, const std::string &message)
    {
        if (m_ended)
            return;
        m_ended = true;
        announceEnd(status, message.data(), static_cast<int>(message.size()));
    }

    script::Recorder &m_recorder;
    bool m_ended = false;
};

// One game a page; "start again" after the end makes a new one, as starting the program again
// would, with a recording of its own. The recording is what the window's `--record` writes.
struct Session
{
    std::ostringstream recording;
    script::Recorder recorder{recording, "quorvale", QUORVALE_VERSION};
    WebPlatform platform{recorder};
    Maze maze{platform};
};

Maze &maze();
int deliverKey(std::int16_t code, std::int16_t shift);
int deliverClick(Clickable target);
int deliverTick(Element timer);
int deliverText(std::string whole);
int deliverClose();

// The page's replay: each command of the script goes through the driver's own interpreter into
// this game, its events as the page's own and recorded the same way. The answers for boxes wait
// here until a box asks for one; a wait goes back to the page, which paces its ticks.
class ReplaySink final : public script::Sink
{
public:
    // Applies one command; its line number names it in an error.
    int apply(script::ScriptLine line)
    {
        m_line = line.number;
        m_wait = 0;
        m_dumped = false;
        m_clicked = -1;
        script::apply(std::move(line.command), *this);
        if (!m_error.empty())
            return replayEnded;
        if (m_dumped)
            return replayDumped;
        return static_cast<int>(m_wait);
    }

    int answer()
    {
        if (m_answers.empty())
            return noAnswer;
        const MsgBoxResult answer = m_answers.front();
        m_answers.pop_front();
        return static_cast<int>(answer);
    }

    // The player has taken the game over: nothing more of the script reaches it.
    void handOver()
    {
        m_handedOver = true;
        m_answers.clear();
    }

    bool over() const { return m_handedOver || !m_error.empty(); }
    const std::string &error() const { return m_error; }
    // What the last command clicked, by the number a click is delivered with; -1 for nothing.
    int clicked() const { return m_clicked; }

private:
    void key(std::int16_t keyCode) override { deliverKey(keyCode, 0); }

    // Remembered whether it reached the rules or not: the page settles the focus after a click
    // of "Start Over" either way, as after its own.
    void click(Clickable target) override
    {
        m_clicked = static_cast<int>(target);
        deliverClick(target);
    }

    void tick(Element timer) override { deliverTick(timer); }
    void wait(std::uint32_t ticks) override { m_wait = maze().ended() ? 0 : ticks; }
    void text(std::string text) override { deliverText(std::move(text)); }

    void append(std::string_view codePoint) override
    {
        deliverText(maze().cheatBox().text() + std::string(codePoint));
    }

    void queueAnswers(std::vector<MsgBoxResult> answers) override
    {
        if (m_answers.size() + answers.size() > script::maxQueuedAnswers) {
            m_error = "line " + std::to_string(m_line) + ": " + script::tooManyAnswers();
            return;
        }
        m_answers.insert(m_answers.end(), answers.begin(), answers.end());
    }

    void dump() override { m_dumped = true; }
    void close() override { deliverClose(); }
    bool done() const override { return over() || maze().ended(); }

    std::deque<MsgBoxResult> m_answers;
    std::size_t m_line = 0;
    std::uint32_t m_wait = 0;
    bool m_dumped = false;
    int m_clicked = -1;
    bool m_handedOver = false;
    std::string m_error;
};

// A script to replay, read by the driver's own reader: checked whole when it is loaded, then
// read again command by command as the replay goes, so even a long one takes little memory
// beyond its text.
class Replay
{
public:
    explicit Replay(std::string text) : m_text(std::move(text)) { rewind(); }
    Replay(const Replay &) = delete;
    Replay &operator=(const Replay &) = delete;

    // The first bad line, if any.
    std::optional<script::LineError> check()
    {
        while (true) {
            auto next = m_reader->next();
            if (auto *error = std::get_if<script::LineError>(&next))
                return std::move(*error);
            if (std::holds_alternative<script::EndOfScript>(next))
                break;
        }
        rewind();
        return std::nullopt;
    }

    // The next command applied, as ReplaySink::apply says; replayEnded once there is none.
    int step()
    {
        if (m_sink.over())
            return replayEnded;
        auto next = m_reader->next();
        if (auto *line = std::get_if<script::ScriptLine>(&next))
            return m_sink.apply(std::move(*line));
        return replayEnded;
    }

    ReplaySink &sink() { return m_sink; }

private:
    // The text as a stream, without a copy of it.
    class TextBuffer final : public std::streambuf
    {
    public:
        explicit TextBuffer(std::string &text)
        {
            setg(text.data(), text.data(), text.data() + text.size());
        }
    };

    void rewind()
    {
        m_reader.reset();
        m_stream.reset();
        m_buffer = std::make_unique<TextBuffer>(m_text);
        m_stream = std::make_unique<std::istream>(m_buffer.get());
        m_reader = std::make_unique<script::ScriptReader>(*m_stream);
    }

    std::string m_text;
    std::unique_ptr<TextBuffer> m_buffer;
    std::unique_ptr<std::istream> m_stream;
    std::unique_ptr<script::ScriptReader> m_reader;
    ReplaySink m_sink;
};

constexpr std::size_t shapeCount = [] {
    std::size_t n = 0;
    for (const Element e : layout::drawingOrder)
        n += isShape(e) ? 1 : 0;
    return n;
}();

struct Game
{
    std::unique_ptr<Session> session = std::make_unique<Session>();
    std::unique_ptr<Replay> replay;
    bool replaying = false;  // a command of the replay is being applied (perhaps held by a box)
    std::string replayError; // why the last replay stopped early
    std::array<ShapeRecord, shapeCount> shapes{};
    std::string text; // strings handed to the page
};

Game &game()
{
    static Game g;
    return g;
}

Maze &maze()
{
    return game().session->maze;
}

Session &session()
{
    return *game().session;
}

// Delivers one event and has the recorder write it, as the window's recorder is told each event
// right after the rules handled it; the end of the program closes the recording.
template<typename Deliver, typename Record>
int event(Deliver &&deliver, Record &&record)
{
    Session &s = session();
    const int value = deliver();
    record(s.recorder, value);
    if (s.maze.ended())
        s.recorder.finish();
    return value;
}

// One call from the page, of one event or of a replay's command. If it showed a box, the call
// returned to the page when the box suspended it, so the page is told here when it has run to
// its end, and its value.
template<typename Call>
int pageCall(Call &&call)
{
    session().platform.boxShown = false;
    const int value = call();
    if (session().platform.boxShown)
        announceEventEnd(value);
    return value;
}

// The page's events, its player's and its replay's alike: each returns whether it reached the
// rules.

int deliverKey(std::int16_t code, std::int16_t shift)
{
    return event([&] { return maze().keyDown(code, shift); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.key(code);
                     stopwatch().eventHandled();
                 });
}

int deliverClick(Clickable target)
{
    return event([&] { return maze().click(target); },
                 [&](script::Recorder &r, int reached) {
                     if (reached) {
                         r.click(target);
                         stopwatch().clicked(target);
                     } else {
                         stopwatch().eventHandled();
                     }
                 });
}

int deliverTick(Element timer)
{
    return event([&] { return maze().tick(timer); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.tick(timer);
                     stopwatch().eventHandled();
                 });
}

// The cheat box's whole text becomes `whole`.
int deliverText(std::string whole)
{
    return event([&] { return maze().editText(whole); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.text(whole);
                     if (reached && changesPlay(whole))
                         stopwatch().cheated();
                     else
                         stopwatch().eventHandled();
                 });
}

int deliverClose()
{
    if (maze().ended())
        return 0;
    return event(
        [] {
            maze().close();
            return 1;
        },
        [](script::Recorder &r, int) {
            r.close(false);
            stopwatch().eventHandled();
        });
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char *qv_version()
{
    return QUORVALE_VERSION;
}

EMSCRIPTEN_KEEPALIVE void qv_restart()
{
    game().session = std::make_unique<Session>();
}

EMSCRIPTEN_KEEPALIVE int qv_key(int keyCode, int shift)
{
    return pageCall([&] {
        return deliverKey(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
    });
}

EMSCRIPTEN_KEEPALIVE int qv_click(int target)
{
    if (target < 0 || static_cast<std::size_t>(target) >= clickableCount)
        return 0;
    return pageCall([&] { return deliverClick(static_cast<Clickable>(target)); });
}

// One tick of the 64 Hz clock: to every timer in the list's order, each only if it is still
// enabled then. Bit n says the list's timer n (from 0) took it. Recorded whichever took it, as
// the window's clock is.
EMSCRIPTEN_KEEPALIVE int qv_tick()
{
    static_assert(timers.size() < 32, "a bit for each timer");
    return pageCall([] {
        return event(
            [] {
                int taken = 0;
                for (std::size_t i = 0; i < timers.size(); ++i) {
                    if (maze().tick(timers[i]))
                        taken |= 1 << i;
                }
                return taken;
            },
            [](script::Recorder &r, int) {
                r.clockTick();
                stopwatch().clockTicked();
            });
    });
}

// One timer alone, as a script's `tick` line delivers it: `timer` counts the list's timers from
// 1 (Timer1 is 1). Any other number names no timer and ticks nothing.
EMSCRIPTEN_KEEPALIVE int qv_tick_one(int timer)
{
    if (timer < 1 || static_cast<std::size_t>(timer) > timers.size())
        return 0;
    return pageCall([&] { return deliverTick(timers[static_cast<std::size_t>(timer - 1)]); });
}

// The cheat box's whole text becomes `text` (UTF-8, `length` bytes: a script may hold any
// character, a NUL too).
EMSCRIPTEN_KEEPALIVE int qv_edit(const char *text, int length)
{
    return pageCall(
        [&] { return deliverText(std::string(text, static_cast<std::size_t>(length))); });
}

// The window is closed.
EMSCRIPTEN_KEEPALIVE int qv_close()
{
    return pageCall([] { return deliverClose(); });
}

// The recording of this game so far. While the game goes on it ends as the program's end would
// end it (the last ticks and `dump`), so a copy taken at any time is a whole script that replays
// to the state the page shows; only while a box waits for its answer does it stop before the
// event that opened the box, as a recording cut off there does.
EMSCRIPTEN_KEEPALIVE const char *qv_recording()
{
    Session &s = session();
    game().text = s.recording.str();
    if (!s.platform.boxOpen)
        game().text += s.recorder.ending();
    return game().text.c_str();
}

EMSCRIPTEN_KEEPALIVE int qv_take_changes()
{
    WebPlatform &platform = game().session->platform;
    return std::exchange(platform.changes, 0);
}

EMSCRIPTEN_KEEPALIVE int qv_ended()
{
    return maze().ended();
}

// What the page builds the window from, once at start-up.
EMSCRIPTEN_KEEPALIVE const char *qv_layout_json()
{
    game().text = layoutJson();
    return game().text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char *qv_state_json()
{
    game().text = stateJson(maze());
    return game().text.c_str();
}

// The shapes as they are now, a record each in the drawing order.
EMSCRIPTEN_KEEPALIVE const ShapeRecord *qv_shapes()
{
    const Maze &m = maze();
    auto &records = game().shapes;
    std::size_t i = 0;
    for (const Element e : layout::drawingOrder) {
        if (!isShape(e))
            continue;
        const ShapeElement &shape = m.shape(e);
        records[i++] = {static_cast<double>(shape.left()),
                        static_cast<double>(shape.top()),
                        static_cast<double>(shape.width()),
                        static_cast<double>(shape.height()),
                        static_cast<double>(shape.shape()),
                        static_cast<double>(displayRgb(shape.fillColor())),
                        static_cast<double>(displayRgb(shape.borderColor())),
                        static_cast<double>(shape.borderWidth())};
    }
    return records.data();
}

EMSCRIPTEN_KEEPALIVE int qv_form_back_color()
{
    return static_cast<int>(displayRgb(maze().form().backColor()));
}

EMSCRIPTEN_KEEPALIVE const char *qv_label_caption()
{
    game().text = maze().label().caption();
    return game().text.c_str();
}

// A script to replay, `length` bytes, checked whole with the script driver's own reader: null
// if every line is a command, else {"error": "line N: ..."} as quorvale-script reports it.
EMSCRIPTEN_KEEPALIVE const char *qv_replay_load(const char *text, int length)
{
    std::string &json = game().text;
    // A command held by a box still needs the replay it came from.
    const auto refused = [&json](std::string_view why) {
        json = JsonWriter().beginObject().key("error").string(why).endObject().take();
        return json.c_str();
    };
    if (game().replaying)
        return refused("the game is busy");
    game().replayError.clear();
    auto replay = std::make_unique<Replay>(std::string(text, static_cast<std::size_t>(length)));
    if (const auto error = replay->check()) {
        game().replay.reset();
        return refused("line " + std::to_string(error->number) + ": " + error->message);
    }
    game().replay = std::move(replay);
    json = "null";
    return json.c_str();
}

// Applies the loaded script's next command to the game. Returns the ticks of a `wait` for the
// page to make with its clock (0 for any other command), replayDumped after a `dump` (the page
// reads qv_dump()), or replayEnded once the script has run out, the player has taken over, or
// the script has failed (qv_replay_error() says how).
EMSCRIPTEN_KEEPALIVE int qv_replay_step()
{
    Game &g = game();
    if (!g.replay || g.replaying)
        return replayEnded;
    g.replaying = true;
    const int result = pageCall([&g] { return g.replay->step(); });
    g.replaying = false;
    if (result == replayEnded) {
        g.replayError = g.replay->sink().error();
        g.replay.reset();
    }
    return result;
}

// The answer the script holds for the box now open: 6 (yes), 7 (no) or 0 (the window closed
// behind it); noAnswer if it holds none.
EMSCRIPTEN_KEEPALIVE int qv_replay_answer()
{
    return game().replay ? game().replay->sink().answer() : noAnswer;
}

// What the last command clicked, by the number a click is delivered with; -1 for nothing.
EMSCRIPTEN_KEEPALIVE int qv_replay_clicked()
{
    return game().replay ? game().replay->sink().clicked() : -1;
}

// The player takes the game over, at a box the script holds no answer for.
EMSCRIPTEN_KEEPALIVE void qv_replay_stop()
{
    if (game().replay)
        game().replay->sink().handOver();
}

// Why the replay stopped before the script's end, as quorvale-script would report it; empty if
// it did not.
EMSCRIPTEN_KEEPALIVE const char *qv_replay_error()
{
    return game().replayError.c_str();
}

// The state as quorvale-script's `dump` prints it.
EMSCRIPTEN_KEEPALIVE const char *qv_dump()
{
    std::ostringstream out;
    script::dump(maze(), out);
    game().text = out.str();
    return game().text.c_str();
}

} // extern "C"
