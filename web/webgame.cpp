// What the page learns from the compiled rules as JSON: the window's layout, once at start-up,
// and the state of the controls whenever one changes.

#include "webgame.h"

#include "colour.h"
#include "pagecodes.h"
#include "shaperecord.h"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace quorvale::web {

namespace {

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

// The layout, the menus and the controls' state are written by this: objects and arrays nest,
// and the commas between members place themselves, so none of them builds JSON by hand.
class JsonWriter
{
public:
    JsonWriter &beginObject() { return open('{'); }
    JsonWriter &endObject() { return close('}'); }
    JsonWriter &beginArray() { return open('['); }
    JsonWriter &endArray() { return close(']'); }

    JsonWriter &key(std::string_view name)
    {
        separate();
        appendJsonString(m_json, name);
        m_json += ':';
        return *this;
    }

    JsonWriter &string(std::string_view text)
    {
        separate();
        appendJsonString(m_json, text);
        return *this;
    }

    JsonWriter &number(long long n)
    {
        separate();
        m_json += std::to_string(n);
        return *this;
    }

    JsonWriter &boolean(bool b)
    {
        separate();
        m_json += b ? "true" : "false";
        return *this;
    }

    JsonWriter &null()
    {
        separate();
        m_json += "null";
        return *this;
    }

    std::string take() { return std::move(m_json); }

private:
    // A value or key after another in the same object or array takes a comma first.
    void separate()
    {
        if (!m_json.empty() && m_json.back() != '[' && m_json.back() != '{' && m_json.back() != ':')
            m_json += ',';
    }

    JsonWriter &open(char bracket)
    {
        separate();
        m_json += bracket;
        return *this;
    }

    JsonWriter &close(char bracket)
    {
        m_json += bracket;
        return *this;
    }

    std::string m_json;
};

std::string_view kindName(ElementKind kind)
{
    switch (kind) {
    case ElementKind::Form:
        return "Form";
    case ElementKind::Shape:
        return "Shape";
    case ElementKind::Wall:
        return "Wall";
    case ElementKind::CommandButton:
        return "CommandButton";
    case ElementKind::TextBox:
        return "TextBox";
    case ElementKind::Frame:
        return "Frame";
    case ElementKind::OptionButton:
        return "OptionButton";
    case ElementKind::Label:
        return "Label";
    case ElementKind::Timer:
        return "Timer";
    }
    return "";
}

// How the page draws a kind of shape: its outline, and whether it takes the smaller side of its
// rectangle, centred.
struct ShapeLook
{
    std::string_view outline;
    bool square;
};

ShapeLook shapeLook(layout::ShapeKind kind)
{
    switch (kind) {
    case layout::ShapeKind::Rectangle:
        return {"rectangle", false};
    case layout::ShapeKind::Square:
        return {"rectangle", true};
    case layout::ShapeKind::Oval:
        return {"ellipse", false};
    case layout::ShapeKind::Circle:
        return {"ellipse", true};
    case layout::ShapeKind::RoundedRectangle:
        return {"rounded", false};
    case layout::ShapeKind::RoundedSquare:
        return {"rounded", true};
    }
    return {"rectangle", false};
}

// Every kind, at the index its value has in a shape record.
constexpr std::array shapeKinds = {
    layout::ShapeKind::Rectangle,
    layout::ShapeKind::Square,
    layout::ShapeKind::Oval,
    layout::ShapeKind::Circle,
    layout::ShapeKind::RoundedRectangle,
    layout::ShapeKind::RoundedSquare,
};
static_assert([] {
    for (std::size_t i = 0; i < shapeKinds.size(); ++i) {
        if (static_cast<std::size_t>(shapeKinds[i]) != i)
            return false;
    }
    return true;
}());

// The elements the rules keep a visible and an enabled state for.
constexpr bool isControl(ElementKind kind)
{
    return kind == ElementKind::CommandButton || kind == ElementKind::TextBox ||
           kind == ElementKind::Frame || kind == ElementKind::OptionButton;
}

void writeRect(JsonWriter &json, const layout::Rect &rect)
{
    json.key("rect").beginObject();
    json.key("left").number(rect.left).key("top").number(rect.top);
    json.key("width").number(rect.width).key("height").number(rect.height);
    json.endObject();
}

std::string_view menuName(Menu m)
{
    for (const MenuInfo &info : menus) {
        if (info.id == m)
            return info.name;
    }
    return {};
}

} // namespace

// The window as the page builds it: sizes in twips, colours as 0xRRGGBB, every control with its
// place, tab index, colours and caption (the option buttons placed inside the frame), the drawing
// order with the label in it, the kinds of shape, the fields of a shape record, the timers, what
// can be clicked (by the number a click is delivered with) and the menu bar: the menus, each after
// the menu it opens from, then the items that run procedures, in their order.
std::string layoutJson()
{
    JsonWriter json;
    json.beginObject();
    json.key("caption").string(layout::caption);
    json.key("twipsPerPixel").number(layout::twipsPerPixel);
    json.key("clientWidth").number(layout::clientWidth);
    json.key("clientHeight").number(layout::clientHeight);
    json.key("formBackColor").number(displayRgb(layout::formBackColor));
    json.key("labelFontPoints").number(layout::labelFontPoints);

    const Element frame = elementsOfKind<ElementKind::Frame>().front();
    json.key("controls").beginArray();
    for (const ElementInfo &e : elements) {
        if (!isControl(e.kind) && e.kind != ElementKind::Label)
            continue;
        const layout::ControlLayout &place =
            e.id == Element::lblabout ? layout::lblabout : layout::controlLayout(e.id);
        const bool cheat = e.kind == ElementKind::TextBox;
        json.beginObject();
        json.key("name").string(e.name).key("kind").string(kindName(e.kind));
        writeRect(json, place.rect);
        json.key("tabIndex").number(place.tabIndex);
        json.key("backColor")
            .number(displayRgb(cheat ? layout::cheatBackColor : layout::controlBackColor));
        json.key("foreColor")
            .number(displayRgb(cheat ? layout::cheatForeColor : layout::controlForeColor));
        json.key("caption").string(e.kind == ElementKind::Frame ? layout::frameCaption
                                                                : caption(e.id));
        json.key("parent");
        if (e.kind == ElementKind::OptionButton)
            json.string(name(frame));
        else
            json.null();
        json.endObject();
    }
    json.endArray();

    json.key("drawingOrder").beginArray();
    for (const Element e : layout::drawingOrder)
        json.string(name(e));
    json.endArray();
    json.key("shapeKinds").beginArray();
    for (const layout::ShapeKind k : shapeKinds) {
        const ShapeLook look = shapeLook(k);
        json.beginObject().key("outline").string(look.outline).key("square").boolean(look.square);
        json.endObject();
    }
    json.endArray();
    json.key("shapeFields").beginArray();
    for (const std::string_view field : shapeRecordFields)
        json.string(field);
    json.endArray();
    json.key("timers").beginArray();
    for (const Element t : timers)
        json.string(name(t));
    json.endArray();
    json.key("answers").beginObject();
    json.key("yes").number(static_cast<int>(MsgBoxResult::Yes));
    json.key("no").number(static_cast<int>(MsgBoxResult::No));
    json.endObject();
    json.key("replay").beginObject();
    json.key("ended").number(replayEnded).key("dumped").number(replayDumped);
    json.key("noAnswer").number(noAnswer);
    json.endObject();

    json.key("changes").beginObject();
    json.key("drawn").number(drawnChanged).key("controls").number(controlsChanged);
    json.key("typed").number(typedChanged);
    json.endObject();
    // "Start Over" is a reset like any other, also in setup where it shows nothing anew: the
    // page moves the focus after it as after every reset.
    json.key("startOver").string(name(Clickable::mnufilestart));

    json.key("clickables").beginArray();
    for (const ClickableInfo &c : clickables)
        json.string(c.name);
    json.endArray();
    json.key("menus").beginArray();
    for (const MenuInfo &entry : menus) {
        json.beginObject().key("name").string(entry.name).key("parent");
        if (entry.parent == Menu::none)
            json.null();
        else
            json.string(menuName(entry.parent));
        json.key("caption").string(entry.caption).endObject();
    }
    json.endArray();
    json.key("items").beginArray();
    for (const ClickableInfo &item : clickables) {
        if (item.kind != ClickableKind::MenuItem)
            continue;
        json.beginObject().key("name").string(item.name).key("menu").string(menuName(item.menu));
        json.key("action").number(static_cast<int>(item.id));
        json.key("caption").string(item.caption).endObject();
    }
    json.endArray();
    json.endObject();
    return json.take();
}

// The controls, the timers and the end, by name: read when the rules say a control changed.
std::string stateJson(const Maze &m)
{
    JsonWriter json;
    json.beginObject().key("controls").beginObject();
    for (const ElementInfo &e : elements) {
        if (!isControl(e.kind))
            continue;
        const Control &c = m.control(e.id);
        json.key(e.name).beginObject();
        json.key("visible").boolean(c.visible()).key("enabled").boolean(c.enabled());
        if (e.kind == ElementKind::OptionButton)
            json.key("value").boolean(m.option(e.id).value());
        json.endObject();
    }
    json.endObject();
    json.key("timers").beginObject();
    for (const Element t : timers)
        json.key(name(t)).boolean(m.timer(t).enabled());
    json.endObject();
    json.key("cheatText").string(m.cheatBox().text());
    json.key("ended").boolean(m.ended());
    json.endObject();
    return json.take();
}

} // namespace quorvale::web
