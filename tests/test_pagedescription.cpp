// The page builds its window from nothing but the description the rules give it: held here
// against the game as it is created, and against the rules' own tables.

#include "created.h"
#include "describe.h"
#include "game.h"
#include "pictures.h"
#include "vocabulary.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

using namespace quorvale;
using nlohmann::json;
using quorvale::testing::Game;
namespace created = quorvale::testing::created;

namespace {

const json &layoutDescription()
{
    static const json layout = json::parse(web::layoutJson());
    return layout;
}

const json &controlNamed(std::string_view name)
{
    for (const json &control : layoutDescription().at("controls")) {
        if (control.at("name") == name)
            return control;
    }
    static const json none;
    ADD_FAILURE() << "no control " << name << " in the layout";
    return none;
}

TEST(PageDescription, WindowHasTheSizeColourAndLabelFontTheGameCreates)
{
    const json &layout = layoutDescription();
    EXPECT_EQ(layout.at("caption"), created::caption);
    EXPECT_EQ(layout.at("clientWidth"), created::clientWidth);
    EXPECT_EQ(layout.at("clientHeight"), created::clientHeight);
    EXPECT_EQ(layout.at("formBackColor"), displayRgb(Colour(created::formBackColor)));
    EXPECT_EQ(layout.at("twipsPerPixel"), created::twipsPerPixel);
    EXPECT_EQ(layout.at("labelFontPoints"), created::labelFontPoints);
}

TEST(PageDescription, EveryControlHasThePlaceTabIndexCaptionAndColoursItIsCreatedWith)
{
    const json &controls = layoutDescription().at("controls");
    EXPECT_EQ(controls.size(), created::controls.size());
    for (const auto &expected : created::controls) {
        const json &c = controlNamed(name(expected.id));
        if (c.is_null())
            continue;
        SCOPED_TRACE(name(expected.id));
        EXPECT_EQ(c.at("kind"), expected.kind);
        const json &rect = c.at("rect");
        EXPECT_EQ(rect.at("left"), expected.left);
        EXPECT_EQ(rect.at("top"), expected.top);
        EXPECT_EQ(rect.at("width"), expected.width);
        EXPECT_EQ(rect.at("height"), expected.height);
        EXPECT_EQ(c.at("tabIndex"), expected.tabIndex);
        EXPECT_EQ(c.at("caption"), expected.caption);
        if (expected.backColor) {
            EXPECT_EQ(c.at("backColor"), displayRgb(Colour(*expected.backColor)));
        }
        if (expected.foreColor) {
            EXPECT_EQ(c.at("foreColor"), displayRgb(Colour(*expected.foreColor)));
        }
        // The option buttons' places are inside the frame.
        if (expected.kind == "OptionButton")
            EXPECT_EQ(c.at("parent"), "fraborder");
        else
            EXPECT_TRUE(c.at("parent").is_null());
    }
}

TEST(PageDescription, DrawingOrderIsTheRulesOrderWithTheLabelInIt)
{
    const json &order = layoutDescription().at("drawingOrder");
    ASSERT_EQ(order.size(), layout::drawingOrder.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], name(layout::drawingOrder[i])) << "at " << i;
}

// A shape record's `shape` field indexes this list: an entry out of place draws a circle as a
// square.
TEST(PageDescription, EachKindOfShapeIsDrawnAtItsOwnIndex)
{
    struct Look
    {
        std::string_view outline;
        bool square;
    };
    const Look looks[] = {{"rectangle", false}, {"rectangle", true}, {"ellipse", false},
                          {"ellipse", true},    {"rounded", false},  {"rounded", true}};
    const json &kinds = layoutDescription().at("shapeKinds");
    ASSERT_EQ(kinds.size(), std::size(looks));
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(kinds[i].at("outline"), looks[i].outline) << "kind " << i;
        EXPECT_EQ(kinds[i].at("square"), looks[i].square) << "kind " << i;
    }
}

// The page reads each shape record's fields at the index the layout names them by.
TEST(PageDescription, ShapeFieldsAreNamedInTheRecordsOrder)
{
    using web::ShapeRecord;
    const std::pair<std::string_view, std::size_t> fields[] = {
        {"left", offsetof(ShapeRecord, left)},
        {"top", offsetof(ShapeRecord, top)},
        {"width", offsetof(ShapeRecord, width)},
        {"height", offsetof(ShapeRecord, height)},
        {"shape", offsetof(ShapeRecord, shape)},
        {"fillColor", offsetof(ShapeRecord, fillColor)},
        {"borderColor", offsetof(ShapeRecord, borderColor)},
        {"borderWidth", offsetof(ShapeRecord, borderWidth)},
    };
    const json &named = layoutDescription().at("shapeFields");
    ASSERT_EQ(named.size(), std::size(fields));
    for (const auto &[field, offset] : fields)
        EXPECT_EQ(named.at(offset / sizeof(double)), field);
}

TEST(PageDescription, TimersAreListedInTheClocksOrder)
{
    const json &listed = layoutDescription().at("timers");
    ASSERT_EQ(listed.size(), created::timerNames.size());
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(listed[i], created::timerNames[i]);
}

// Each menu comes after the one it opens from, so the page can build the bar in one pass; within
// one menu, the entries keep their display order.
TEST(PageDescription, MenuBarHoldsEveryMenuAndItemInDisplayOrder)
{
    const json &layout = layoutDescription();
    std::vector<std::string> seen;
    for (const json &menu : layout.at("menus")) {
        if (!menu.at("parent").is_null()) {
            EXPECT_NE(std::find(seen.begin(), seen.end(), menu.at("parent")), seen.end())
                << menu.at("name") << " before the menu it opens from";
        }
        seen.push_back(menu.at("name"));
    }
    const auto inOrder = [](const json &listed, std::string_view parentKey,
                            std::string_view parent) {
        std::vector<std::string> names;
        for (const json &entry : listed) {
            const json &p = entry.at(std::string(parentKey));
            if ((p.is_null() && parent.empty()) || p == parent)
                names.push_back(entry.at("name"));
        }
        return names;
    };
    const auto expected = [](const auto &table, auto parentOf, std::string_view parent) {
        std::vector<std::string> names;
        for (const auto &entry : table) {
            if (parentOf(entry) == parent)
                names.emplace_back(entry.name);
        }
        return names;
    };
    using created::menuItems;
    using created::menus;
    for (const std::string_view parent : {"", "mnufile", "mnuedit", "mnuhelp"}) {
        EXPECT_EQ(inOrder(layout.at("menus"), "parent", parent),
                  expected(
                      menus, [](const auto &m) { return m.parent; }, parent))
            << "menus of " << parent;
    }
    for (const auto &menu : menus) {
        EXPECT_EQ(inOrder(layout.at("items"), "menu", menu.name),
                  expected(
                      menuItems, [](const auto &i) { return i.menu; }, menu.name))
            << "items of " << menu.name;
    }
    for (const json &menu : layout.at("menus")) {
        for (const auto &m : menus) {
            if (menu.at("name") == m.name) {
                EXPECT_EQ(menu.at("caption"), m.caption) << m.name;
            }
        }
    }
    // A click on an item is delivered by the number it is listed with.
    for (const json &item : layout.at("items")) {
        const std::string itemName = item.at("name");
        const auto clickable = clickableNamed(itemName);
        ASSERT_TRUE(clickable) << itemName;
        EXPECT_EQ(item.at("action"), static_cast<int>(*clickable)) << itemName;
        for (const auto &i : menuItems) {
            if (i.name == itemName) {
                EXPECT_EQ(item.at("caption"), i.caption) << itemName;
            }
        }
    }
}

void expectPicture(const json &described, const pictures::Picture &picture)
{
    EXPECT_EQ(described.at("side"), picture.side);
    if (picture.ground)
        EXPECT_EQ(described.at("ground"), *picture.ground);
    else
        EXPECT_TRUE(described.at("ground").is_null());
    const json &lettering = described.at("lettering");
    EXPECT_EQ(lettering.at("text"), picture.lettering.text);
    EXPECT_EQ(lettering.at("faces").size(), picture.lettering.faces.size());
    EXPECT_EQ(lettering.at("bold"), picture.lettering.bold);
    EXPECT_EQ(lettering.at("italic"), picture.lettering.italic);
    EXPECT_EQ(lettering.at("pixels"), picture.lettering.pixels);
    const json &figures = described.at("figures");
    ASSERT_EQ(figures.size(), picture.figures.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        SCOPED_TRACE("figure " + std::to_string(i));
        const json &f = figures[i];
        const pictures::Figure &expected = picture.figures[i];
        const std::string_view kinds[] = {"polygon", "line", "ellipse", "text"};
        EXPECT_EQ(f.at("kind"), kinds[static_cast<std::size_t>(expected.kind)]);
        ASSERT_EQ(f.at("points").size(), expected.points.size());
        for (std::size_t p = 0; p < expected.points.size(); ++p) {
            EXPECT_EQ(f.at("points")[p][0], expected.points[p].x);
            EXPECT_EQ(f.at("points")[p][1], expected.points[p].y);
        }
        const json &stops = f.at("fill").at("stops");
        ASSERT_EQ(stops.size(), expected.fill.stops.size());
        for (std::size_t s = 0; s < stops.size(); ++s) {
            EXPECT_EQ(stops[s].at("at"), expected.fill.stops[s].at);
            EXPECT_EQ(stops[s].at("colour"), expected.fill.stops[s].colour);
        }
        EXPECT_EQ(f.at("fill").at("top"), expected.fill.top);
        EXPECT_EQ(f.at("fill").at("bottom"), expected.fill.bottom);
        EXPECT_EQ(f.at("stroke").at("colour"), expected.stroke.colour);
        EXPECT_EQ(f.at("stroke").at("width"), expected.stroke.width);
        EXPECT_EQ(f.at("stroke").at("round"), expected.stroke.round);
    }
}

// The page draws the start picture and the boxes' signs from the description alone: a figure or
// a colour lost on the way would show in the page and not in the window.
TEST(PageDescription, PicturesCarryEveryFigureAndColourTheWindowDraws)
{
    const json &described = layoutDescription().at("pictures");
    {
        SCOPED_TRACE("start");
        expectPicture(described.at("start"), pictures::start);
    }
    const json &icons = described.at("boxIcons");
    ASSERT_EQ(icons.size(), 2U);
    for (const int style : {vbExclamation, vbInformation}) {
        SCOPED_TRACE("the box of style " + std::to_string(style));
        int found = 0;
        for (const json &icon : icons) {
            const int bits = described.at("boxIconBits");
            if (icon.at("style") == ((style + vbYesNo) & bits)) {
                ++found;
                expectPicture(icon.at("picture"), *pictures::boxIcon(style + vbYesNo));
            }
        }
        EXPECT_EQ(found, 1);
    }
}

TEST(PageDescription, StateFollowsTheControlsTheTimersAndTheCheatBox)
{
    Game game;
    game.maze.editText("say \"gusto\"");
    game.maze.click(Clickable::optred);
    game.maze.click(Clickable::cmdstart);
    game.maze.click(Clickable::mnueditshapesquare);
    const json state = json::parse(web::stateJson(game.maze));
    for (const auto &expected : created::controls) {
        if (expected.id == Element::lblabout)
            continue;
        SCOPED_TRACE(name(expected.id));
        const json &c = state.at("controls").at(std::string(name(expected.id)));
        EXPECT_EQ(c.at("visible"), game.maze.control(expected.id).visible());
        EXPECT_EQ(c.at("enabled"), game.maze.control(expected.id).enabled());
        if (expected.kind == "OptionButton") {
            EXPECT_EQ(c.at("value"), game.maze.option(expected.id).value());
        }
    }
    EXPECT_EQ(state.at("controls").at("txtcheat").at("visible"), false);
    EXPECT_EQ(state.at("controls").at("txtcheat").at("enabled"), true);
    EXPECT_EQ(state.at("controls").at("optred").at("value"), true);
    for (const Element t : timers)
        EXPECT_EQ(state.at("timers").at(std::string(name(t))), game.maze.timer(t).enabled());
    EXPECT_EQ(state.at("cheatText"), "say \"gusto\"");
    EXPECT_EQ(state.at("ended"), false);
}

} // namespace
