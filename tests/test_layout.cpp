#include "created.h"
#include "game.h"

#include <set>

using namespace quorvale;
using quorvale::testing::Game;
namespace created = quorvale::testing::created;

namespace {

TEST(Layout, DrawingOrderDrawsEveryShapeOnceBallsOverWallsAndThePieceLast)
{
    const auto &order = layout::drawingOrder;
    const std::set<Element> drawn(order.begin(), order.end());
    EXPECT_EQ(drawn.size(), order.size()) << "an element is drawn twice";
    const auto position = [&](Element e) {
        return std::find(order.begin(), order.end(), e);
    };
    for (std::size_t i = 0; i < elementCount; ++i) {
        const auto e = static_cast<Element>(i);
        if (!isShape(e))
            continue;
        EXPECT_TRUE(drawn.contains(e)) << name(e) << " is never drawn";
        if (isWall(e) || e == Element::shpstop1 || e == Element::shpstop2) {
            EXPECT_LT(position(e), position(Element::shpball1)) << name(e);
            EXPECT_LT(position(e), position(Element::shpball2)) << name(e);
        }
    }
    EXPECT_EQ(order.front(), Element::shpborder);
    EXPECT_EQ(order.back(), Element::shpyou);
}

TEST(Layout, NoPieceStartsOnAWall)
{
    Game game;
    for (const Element piece :
         {Element::shpyou, Element::shpgoal, Element::shpball1, Element::shpball2}) {
        const ShapeElement &p = game.maze.shape(piece);
        for (int n = 1; n <= wallCount; ++n) {
            const ShapeElement &w = game.maze.shape(wall(n));
            EXPECT_FALSE(p.left() <= w.left() + w.width() && w.left() <= p.left() + p.width() &&
                         p.top() <= w.top() + w.height() && w.top() <= p.top() + p.height())
                << name(piece) << " on shp" << n;
        }
    }
}

// Asked for an element it does not hold, an accessor must not answer with some other element:
// the caller would read or draw the wrong thing without any sign of it.
TEST(Layout, AccessorAskedForAnElementItDoesNotHoldStopsTheProgram)
{
    Game game;
    const Maze &maze = game.maze;
    EXPECT_DEATH(maze.shape(Element::cmdstart), "shape\\(\\) holds no element cmdstart");
    EXPECT_DEATH(maze.control(Element::shpborder), "holds no element shpborder");
    EXPECT_DEATH(maze.option(Element::fraborder), "holds no element fraborder");
    EXPECT_DEATH(maze.timer(Element::lblabout), "holds no element lblabout");
}

// Held against the game's definition typed apart (created.h), not against the table the rules
// read, so a wrong value in any element's row fails here.
TEST(Layout, EveryElementHoldsItsOwnCreationValues)
{
    Game game;
    const Maze &maze = game.maze;
    std::set<Element> shapesSeen;
    for (const auto &expected : created::shapes) {
        SCOPED_TRACE(name(expected.id));
        shapesSeen.insert(expected.id);
        const ShapeElement &s = maze.shape(expected.id);
        EXPECT_EQ(s.id(), expected.id);
        EXPECT_EQ(s.left(), static_cast<float>(expected.left));
        EXPECT_EQ(s.top(), static_cast<float>(expected.top));
        EXPECT_EQ(s.width(), static_cast<float>(expected.width));
        EXPECT_EQ(s.height(), static_cast<float>(expected.height));
        EXPECT_EQ(static_cast<int>(s.shape()), expected.shape);
        EXPECT_EQ(s.fillColor(), Colour(expected.fillColor));
        EXPECT_EQ(s.borderColor(), Colour(expected.borderColor));
        EXPECT_EQ(s.borderWidth(), expected.borderWidth);
    }
    EXPECT_EQ(shapesSeen.size(), shapeElements.size()) << "a shape is missing from the table";

    for (const auto &expected : created::controls) {
        SCOPED_TRACE(name(expected.id));
        const layout::Rect &r = expected.id == Element::lblabout
                                    ? maze.label().geometry()
                                    : maze.control(expected.id).geometry();
        EXPECT_EQ(r.left, expected.left);
        EXPECT_EQ(r.top, expected.top);
        EXPECT_EQ(r.width, expected.width);
        EXPECT_EQ(r.height, expected.height);
        if (expected.id == Element::lblabout) {
            EXPECT_EQ(maze.label().caption(), expected.caption);
            continue;
        }
        const Control &c = maze.control(expected.id);
        EXPECT_EQ(c.id(), expected.id);
        EXPECT_EQ(c.tabIndex(), expected.tabIndex);
        EXPECT_TRUE(c.visible());
        EXPECT_TRUE(c.enabled());
        if (expected.kind == "OptionButton") {
            EXPECT_EQ(maze.option(expected.id).caption(), expected.caption);
            EXPECT_FALSE(maze.option(expected.id).value());
        }
    }
    EXPECT_EQ(maze.cheatBox().text(), "");

    for (const Element t : timers) {
        SCOPED_TRACE(name(t));
        EXPECT_EQ(maze.timer(t).id(), t);
        EXPECT_EQ(maze.timer(t).interval(), created::timerInterval);
        EXPECT_TRUE(maze.timer(t).enabled());
    }
    EXPECT_EQ(maze.form().caption(), created::caption);
    EXPECT_EQ(maze.form().backColor(), Colour(created::formBackColor));
}

} // namespace
