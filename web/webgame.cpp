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

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
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

// The classic desktop scheme the window uses, so both editions look alike.
constexpr std::array<std::uint32_t, 31> systemColourTable = {
    0xC8C8C8, 0x3A6EA5, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000,
    0xFFFFE1, 0xC0C0C0, 0x0000FF, 0x1084D0, 0xB5B5B5, 0x316AC5, 0xECE9D8,
};

// 0xRRGGBB as drawn.
constexpr std::uint32_t toRgb(Colour colour)
{
    if (colour.isSystem()) {
        const auto entry = static_cast<std::size_t>(colour.systemIndex());
        return entry < systemColourTable.size() ? systemColourTable[entry] : 0x808080;
    }
    return (static_cast<std::uint32_t>(colour.red()) << 16) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           static_cast<std::uint32_t>(colour.blue());
}

class WebPlatform final : public Platform
{
public:
    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        if (m_ended)
            return MsgBoxResult::Closed;
        boxShown = true;
        const int answer = showMessageBox(prompt.data(), static_cast<int>(prompt.size()), style,
                                          title.data(), static_cast<int>(title.size()));
        if (m_ended || (answer != 6 && answer != 7))
            return MsgBoxResult::Closed;
        return static_cast<MsgBoxResult>(answer);
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

private:
    void end(int status, const std::string &message)
    {
        if (m_ended)
            return;
        m_ended = true;
        announceEnd(status, message.data(), static_cast<int>(message.size()));
    }

    bool m_ended = false;
};

// One game a page; "start again" after the end makes a new one.
struct Session
{
    WebPlatform platform;
    Maze maze{platform};
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

// Delivers one event; if it showed a box, tells the page when it has run to its end.
template<typename Deliver>
int event(Deliver &&deliver)
{
    WebPlatform &platform = game().session->platform;
    platform.boxShown = false;
    const int value = deliver();
    if (platform.boxShown)
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
    return event([&] {
        return maze().keyDown(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
    });
}

EMSCRIPTEN_KEEPALIVE int qv_click(int target)
{
    if (target < 0 || static_cast<std::size_t>(target) >= clickableCount)
        return 0;
    return event([&] { return maze().click(static_cast<Clickable>(target)); });
}

// One tick of the 64 Hz clock: Timer1, then Timer2, each only if it is still enabled then.
// Bit 0 says Timer1 took it, bit 1 Timer2.
EMSCRIPTEN_KEEPALIVE int qv_tick()
{
    return event([] {
        int taken = 0;
        if (maze().tick(Element::Timer1))
            taken |= 1;
        if (maze().tick(Element::Timer2))
            taken |= 2;
        return taken;
    });
}

EMSCRIPTEN_KEEPALIVE int qv_tick_one(int timer)
{
    return event([&] { return maze().tick(timer == 2 ? Element::Timer2 : Element::Timer1); });
}

EMSCRIPTEN_KEEPALIVE int qv_edit(const char *text)
{
    return event([&] { return maze().editText(text); });
}

EMSCRIPTEN_KEEPALIVE int qv_close()
{
    maze().close();
    return 1;
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
        s[i++] = toRgb(shape.fillColor());
        s[i++] = toRgb(shape.borderColor());
        s[i++] = shape.borderWidth();
    }
    s[i++] = toRgb(m.form().backColor());
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

// One line of a script, read by the script driver's own parser, as JSON for the page's replay:
// null for a blank or comment line, {"error": ...} for a bad one, else the command.
EMSCRIPTEN_KEEPALIVE const char *qv_parse_line(const char *line)
{
    std::string &json = game().text;
    json.clear();
    auto parsed = script::parseLine(line);
    if (const auto *error = std::get_if<script::ParseError>(&parsed)) {
        json = "{\"error\":";
        appendJsonString(json, error->message);
        json += '}';
        return json.c_str();
    }
    const auto &command = std::get<std::optional<script::Command>>(parsed);
    if (!command) {
        json = "null";
        return json.c_str();
    }
    std::visit(
        [&](const auto &c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, script::KeyCommand>) {
                json = "{\"command\":\"key\",\"code\":" + std::to_string(c.keyCode) + '}';
            } else if constexpr (std::is_same_v<T, script::ClickCommand>) {
                json = "{\"command\":\"click\",\"target\":" +
                       std::to_string(static_cast<int>(c.target)) + '}';
            } else if constexpr (std::is_same_v<T, script::TickCommand>) {
                json = std::string("{\"command\":\"tick\",\"timer\":") +
                       (c.timer == Element::Timer2 ? "2" : "1") + '}';
            } else if constexpr (std::is_same_v<T, script::TextCommand> ||
                                 std::is_same_v<T, script::TypeCommand>) {
                json = std::is_same_v<T, script::TextCommand> ? "{\"command\":\"text\",\"text\":"
                                                              : "{\"command\":\"type\",\"text\":";
                appendJsonString(json, c.text);
                json += '}';
            } else if constexpr (std::is_same_v<T, script::AnswerCommand>) {
                json = "{\"command\":\"answer\",\"answers\":[";
                for (std::size_t i = 0; i < c.answers.size(); ++i) {
                    json += i ? "," : "";
                    json += c.answers[i] == MsgBoxResult::Yes ? "true" : "false";
                }
                json += "]}";
            } else if constexpr (std::is_same_v<T, script::DumpCommand>) {
                json = "{\"command\":\"dump\"}";
            } else if constexpr (std::is_same_v<T, script::CloseCommand>) {
                json = "{\"command\":\"close\"}";
            }
        },
        *command);
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
