#include "describe.h"

#include "clickable.h"
#include "colour.h"
#include "elementid.h"
#include "json.h"
#include "layout.h"
#include "maze.h"
#include "pictures.h"
#include "vocabulary.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvale::web {

namespace {

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

std::string_view figureKindName(pictures::FigureKind kind)
{
    switch (kind) {
    case pictures::FigureKind::Polygon:
        return "polygon";
    case pictures::FigureKind::Line:
        return "line";
    case pictures::FigureKind::Ellipse:
        return "ellipse";
    case pictures::FigureKind::Text:
        return "text";
    }
    return "";
}

// A picture as figures in its own square: points as [x, y], colours as 0xRRGGBB, a fill as its
// colour stops (none: not filled), an outline of width 0 not drawn.
void writePicture(JsonWriter &json, const pictures::Picture &picture)
{
    json.beginObject();
    json.key("side").decimal(picture.side);
    json.key("ground");
    if (picture.ground)
        json.number(*picture.ground);
    else
        json.null();
    const pictures::Lettering &lettering = picture.lettering;
    json.key("lettering").beginObject();
    json.key("text").string(lettering.text).key("faces").beginArray();
    for (const std::string_view face : lettering.faces)
        json.string(face);
    json.endArray();
    json.key("bold").boolean(lettering.bold).key("italic").boolean(lettering.italic);
    json.key("pixels").decimal(lettering.pixels).endObject();

    json.key("figures").beginArray();
    for (const pictures::Figure &figure : picture.figures) {
        json.beginObject().key("kind").string(figureKindName(figure.kind));
        json.key("points").beginArray();
        for (const pictures::Point &p : figure.points)
            json.beginArray().decimal(p.x).decimal(p.y).endArray();
        json.endArray();
        json.key("fill").beginObject().key("stops").beginArray();
        for (const pictures::ColourStop &stop : figure.fill.stops)
            json.beginObject()
                .key("at")
                .decimal(stop.at)
                .key("colour")
                .number(stop.colour)
                .endObject();
        json.endArray();
        json.key("top").decimal(figure.fill.top).key("bottom").decimal(figure.fill.bottom);
        json.endObject();
        json.key("stroke").beginObject().key("colour").number(figure.stroke.colour);
        json.key("width").decimal(figure.stroke.width).key("round").boolean(figure.stroke.round);
        json.endObject().endObject();
    }
    json.endArray().endObject();
}

void writePictures(JsonWriter &json)
{
    json.key("pictures").beginObject();
    json.key("start");
    writePicture(json, pictures::start);
    json.key("boxIconBits").number(pictures::boxIconBits);
    json.key("boxIcons").beginArray();
    for (const pictures::BoxIcon &icon : pictures::boxIcons) {
        json.beginObject().key("style").number(icon.style).key("picture");
        writePicture(json, icon.picture);
        json.endObject();
    }
    json.endArray().endObject();
}

void writeControls(JsonWriter &json)
{
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
}

// The menus, each after the menu it opens from, then the items that run procedures, in their
// order, each with the number a click of it is delivered with.
void writeMenus(JsonWriter &json)
{
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
}

} // namespace

// Sizes in twips, colours as 0xRRGGBB, every control with its place, tab index, colours and
// caption (the option buttons placed inside the frame), the drawing order with the label in it,
// the kinds of shape, the fields of a shape record, the timers, what can be clicked (by the
// number a click is delivered with), the menu bar, and the pictures.
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
    writeControls(json);

    json.key("drawingOrder").beginArray();
    for (const Element e : layout::drawingOrder)
        json.string(name(e));
    json.endArray();
    json.key("underGhost").beginArray();
    for (const Element e : layout::drawingOrder)
        if (layout::underGhost(e))
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
    writeMenus(json);
    writePictures(json);
    json.endObject();
    return json.take();
}

// Read when the rules say a control changed.
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
