// The browser's platform for the rules, and the entry points the page calls.
//
// The page owns the clock, the keyboard and the controls; it calls in here with the events, and
// the rules call back out for message boxes and the end of the program. A message box must wait
// for the player inside the procedure that opened it, as the window's does, so the build suspends
// the call (Asyncify) until the page's dialog is answered; while it waits, the page lets no other
// event through.

#include "command.h"
#include "dump.h"
#include "maze.h"
#include "reader.h"
#include "recorder.h"

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace {

using namespace quorvale;

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

    // What changed since the page last looked: bit 0 something drawn on the board, bit 1 a
    // control, the cheat box's text or a timer.
    void propertyChanged(Element element, Property) override
    {
        const bool drawn =
            isShape(element) || element == Element::frmmaze || element == Element::lblabout;
        changes |= drawn ? 1 : 2;
    }

    int changes = 3;
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

    std::optional<script::ScriptLine> next()
    {
        auto next = m_reader->next();
        if (auto *line = std::get_if<script::ScriptLine>(&next))
            return std::move(*line);
        return std::nullopt;
    }

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
};

// What the page draws, refreshed by snapshot(): per shape in drawing order its left, top, width,
// height (twips), kind, fill and border (0xRRGGBB) and border width (pixels); then the form's
// colour, then the controls' and timers' states.
constexpr std::size_t shapeFields = 8;
constexpr std::size_t shapeCount = layout::drawingOrder.size() - 1; // the label is drawn apart
constexpr std::size_t stateFields = 16;

struct Game
{
    std::unique_ptr<Session> session = std::make_unique<Session>();
    std::unique_ptr<Replay> replay;
    std::array<double, shapeCount * shapeFields + stateFields> snapshot{};
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
// right after the rules handled it; the end of the program closes the recording. If the event
// showed a box, the page is told when it has run to its end.
template<typename Deliver, typename Record>
int event(Deliver &&deliver, Record &&record)
{
    Session &s = session();
    s.platform.boxShown = false;
    const int value = deliver();
    record(s.recorder, value);
    if (s.maze.ended())
        s.recorder.finish();
    if (s.platform.boxShown)
        announceEventEnd(value);
    return value;
}

// A JSON string literal: UTF-8 passes through, quotes, backslashes and controls are escaped.
void appendJsonString(std::string &json, std::string_view text)
{
    json += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", c);
            json += escaped.data();
        } else {
            json += c;
        }
    }
    json += '"';
}

// The menu bar as JSON, so the page shows exactly the game's own captions and names: the menus,
// each after the menu it opens from, then the items that run procedures, in their order.
std::string menuJson()
{
    const auto menuName = [](Menu m) -> std::string {
        for (const MenuInfo &info : menus) {
            if (info.id == m)
                return '"' + std::string(info.name) + '"';
        }
        return "null";
    };
    std::string json = "{\"menus\":[";
    for (const MenuInfo &entry : menus) {
        json += json.back() == '[' ? "" : ",";
        json += "{\"name\":";
        appendJsonString(json, entry.name);
        json += ",\"parent\":" + menuName(entry.parent) + ",\"caption\":";
        appendJsonString(json, entry.caption);
        json += '}';
    }
    json += "],\"items\":[";
    for (const ClickableInfo &item : clickables) {
        if (item.kind != ClickableKind::MenuItem)
            continue;
        json += json.back() == '[' ? "" : ",";
        json += "{\"name\":";
        appendJsonString(json, item.name);
        json += ",\"menu\":" + menuName(item.menu) +
                ",\"action\":" + std::to_string(static_cast<int>(item.id)) + ",\"caption\":";
        appendJsonString(json, item.caption);
        json += '}';
    }
    json += "]}";
    return json;
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
    const auto code = static_cast<std::int16_t>(keyCode);
    return event([&] { return maze().keyDown(code, static_cast<std::int16_t>(shift)); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.key(code);
                 });
}

EMSCRIPTEN_KEEPALIVE int qv_click(int target)
{
    if (target < 0 || static_cast<std::size_t>(target) >= clickableCount)
        return 0;
    const auto clickable = static_cast<Clickable>(target);
    return event([&] { return maze().click(clickable); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.click(clickable);
                 });
}

// One tick of the 64 Hz clock: to every timer in the list's order, each only if it is still
// enabled then. Bit n says the list's timer n (from 0) took it. Recorded whichever took it, as
// the window's clock is.
EMSCRIPTEN_KEEPALIVE int qv_tick()
{
    static_assert(timers.size() < 32, "a bit for each timer");
    return event(
        [] {
            int taken = 0;
            for (std::size_t i = 0; i < timers.size(); ++i) {
                if (maze().tick(timers[i]))
                    taken |= 1 << i;
            }
            return taken;
        },
        [](script::Recorder &r, int) { r.clockTick(); });
}

// One timer alone, as a script's `tick` line delivers it: `timer` counts the list's timers from
// 1 (Timer1 is 1). Any other number names no timer and ticks nothing.
EMSCRIPTEN_KEEPALIVE int qv_tick_one(int timer)
{
    if (timer < 1 || static_cast<std::size_t>(timer) > timers.size())
        return 0;
    const Element element = timers[static_cast<std::size_t>(timer - 1)];
    return event([&] { return maze().tick(element); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.tick(element);
                 });
}

// The cheat box's whole text becomes `text` (UTF-8, `length` bytes: a script may hold any
// character, a NUL too).
EMSCRIPTEN_KEEPALIVE int qv_edit(const char *text, int length)
{
    std::string whole(text, static_cast<std::size_t>(length));
    return event([&] { return maze().editText(whole); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.text(whole);
                 });
}

// One more character typed at the end of the cheat box, as a script's `type` delivers each.
EMSCRIPTEN_KEEPALIVE int qv_append(const char *more, int length)
{
    std::string whole = maze().cheatBox().text();
    whole.append(more, static_cast<std::size_t>(length));
    return event([&] { return maze().editText(whole); },
                 [&](script::Recorder &r, int reached) {
                     if (reached)
                         r.text(whole);
                 });
}

// The window is closed (a replay's `close`).
EMSCRIPTEN_KEEPALIVE int qv_close()
{
    if (maze().ended())
        return 0;
    return event(
        [] {
            maze().close();
            return 1;
        },
        [](script::Recorder &r, int) { r.close(false); });
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

EMSCRIPTEN_KEEPALIVE int qv_clickable_count()
{
    return static_cast<int>(clickableCount);
}

EMSCRIPTEN_KEEPALIVE const char *qv_clickable_name(int target)
{
    if (target < 0 || static_cast<std::size_t>(target) >= clickableCount)
        return "";
    game().text = name(static_cast<Clickable>(target));
    return game().text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char *qv_menu_json()
{
    game().text = menuJson();
    return game().text.c_str();
}

EMSCRIPTEN_KEEPALIVE const double *qv_snapshot()
{
    const Maze &m = maze();
    auto &s = game().snapshot;
    std::size_t i = 0;
    for (const Element e : layout::drawingOrder) {
        if (e == Element::lblabout)
            continue;
        const ShapeElement &shape = m.shape(e);
        s[i++] = shape.left();
        s[i++] = shape.top();
        s[i++] = shape.width();
        s[i++] = shape.height();
        s[i++] = static_cast<double>(shape.shape());
        s[i++] = displayRgb(shape.fillColor());
        s[i++] = displayRgb(shape.borderColor());
        s[i++] = shape.borderWidth();
    }
    s[i++] = displayRgb(m.form().backColor());
    for (const Element e :
         {Element::cmdstart, Element::txtcheat, Element::fraborder, Element::optred,
          Element::optgreen, Element::optblue, Element::optyellow}) {
        const Control &c = m.control(e);
        s[i++] = (c.visible() ? 1 : 0) | (c.enabled() ? 2 : 0);
    }
    for (const Element e :
         {Element::optred, Element::optgreen, Element::optblue, Element::optyellow})
        s[i++] = m.option(e).value() ? 1 : 0;
    s[i++] =
        (m.timer(Element::Timer1).enabled() ? 1 : 0) | (m.timer(Element::Timer2).enabled() ? 2 : 0);
    s[i++] = m.ended() ? 1 : 0;
    s[i++] = 0;
    s[i++] = 0;
    return s.data();
}

EMSCRIPTEN_KEEPALIVE const char *qv_cheat_text()
{
    game().text = maze().cheatBox().text();
    return game().text.c_str();
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
    auto replay = std::make_unique<Replay>(std::string(text, static_cast<std::size_t>(length)));
    if (const auto error = replay->check()) {
        game().replay.reset();
        json = "{\"error\":";
        appendJsonString(json, "line " + std::to_string(error->number) + ": " + error->message);
        json += '}';
        return json.c_str();
    }
    game().replay = std::move(replay);
    json = "null";
    return json.c_str();
}

// The loaded script's next command as JSON for the page's replay, with its line number; null at
// the end. Answers are 6 (yes), 7 (no) or 0 (close).
EMSCRIPTEN_KEEPALIVE const char *qv_replay_next()
{
    std::string &json = game().text;
    json = "null";
    if (!game().replay)
        return json.c_str();
    const auto line = game().replay->next();
    if (!line) {
        game().replay.reset();
        return json.c_str();
    }
    std::visit(
        [&](const auto &c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, script::KeyCommand>) {
                json = "{\"command\":\"key\",\"code\":" + std::to_string(c.keyCode);
            } else if constexpr (std::is_same_v<T, script::ClickCommand>) {
                json = "{\"command\":\"click\",\"target\":" +
                       std::to_string(static_cast<int>(c.target));
            } else if constexpr (std::is_same_v<T, script::TickCommand>) {
                json = std::string("{\"command\":\"tick\",\"timer\":") +
                       (c.timer == Element::Timer2 ? "2" : "1");
            } else if constexpr (std::is_same_v<T, script::WaitCommand>) {
                json = "{\"command\":\"wait\",\"ticks\":" + std::to_string(c.ticks);
            } else if constexpr (std::is_same_v<T, script::TextCommand> ||
                                 std::is_same_v<T, script::TypeCommand>) {
                json = std::is_same_v<T, script::TextCommand> ? "{\"command\":\"text\",\"text\":"
                                                              : "{\"command\":\"type\",\"text\":";
                appendJsonString(json, c.text);
            } else if constexpr (std::is_same_v<T, script::AnswerCommand>) {
                json = "{\"command\":\"answer\",\"answers\":[";
                for (std::size_t i = 0; i < c.answers.size(); ++i) {
                    json += i ? "," : "";
                    json += std::to_string(static_cast<int>(c.answers[i]));
                }
                json += ']';
            } else if constexpr (std::is_same_v<T, script::DumpCommand>) {
                json = "{\"command\":\"dump\"";
            } else if constexpr (std::is_same_v<T, script::CloseCommand>) {
                json = "{\"command\":\"close\"";
            }
        },
        line->command);
    json += ",\"line\":" + std::to_string(line->number) + '}';
    return json.c_str();
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
