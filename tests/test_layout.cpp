#include "game.h"

#include <set>

using namespace quorvale;
using quorvale::testing::Game;

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

TEST(Layout, EveryElementHoldsItsOwnCreationValues)
{
    Game game;
    for (const Element e : shapeElements)
        EXPECT_EQ(game.maze.shape(e).id(), e) << name(e);
    for (const Element e : optionButtons)
        EXPECT_EQ(game.maze.option(e).id(), e) << name(e);
    for (const Element e : timers)
        EXPECT_EQ(game.maze.timer(e).id(), e) << name(e);
    EXPECT_EQ(game.maze.shape(wall(3)).height(), static_cast<float>(layout::walls[2].height));
}

} // namespace
