#include "fakeplatform.h"

#include <set>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

constexpr int boardLeft = 1920;
constexpr int boardTop = 120;
constexpr int boardRight = 9975;
constexpr int boardBottom = 8055;

struct Rect
{
    float left;
    float top;
    float right;
    float bottom;
};

Rect rectOf(const ShapeElement &s)
{
    return {s.left(), s.top(), s.left() + s.width(), s.top() + s.height()};
}

// Closed rectangles: sharing an edge counts as overlapping.
bool overlap(const Rect &a, const Rect &b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

std::vector<Element> allWalls()
{
    std::vector<Element> walls;
    for (int n = 1; n <= wallCount; ++n)
        walls.push_back(wall(n));
    return walls;
}

TEST(Layout, BoardHasItsCreationRectangle)
{
    Game game;
    const Rect board = rectOf(game.maze.shape(Element::shpborder));
    EXPECT_EQ(board.left, boardLeft);
    EXPECT_EQ(board.top, boardTop);
    EXPECT_EQ(board.right, boardRight);
    EXPECT_EQ(board.bottom, boardBottom);
}

TEST(Layout, EveryWallLiesWithinTheBoard)
{
    Game game;
    for (const Element w : allWalls()) {
        SCOPED_TRACE(name(w));
        const Rect r = rectOf(game.maze.shape(w));
        EXPECT_GE(r.left, boardLeft);
        EXPECT_GE(r.top, boardTop);
        EXPECT_LE(r.right, boardRight);
        EXPECT_LE(r.bottom, boardBottom);
    }
}

TEST(Layout, WallsSplitIntoTwentyFourVerticalAndSeventeenHorizontal)
{
    Game game;
    std::set<int> vertical;
    std::set<int> horizontal;
    for (int n = 1; n <= wallCount; ++n) {
        const ShapeElement &s = game.maze.shape(wall(n));
        EXPECT_FALSE(s.width() == 255 && s.height() == 255) << "shp" << n;
        if (s.width() == 255)
            vertical.insert(n);
        if (s.height() == 255)
            horizontal.insert(n);
    }
    const std::set<int> expectedVertical = {3,  5,  7,  9,  10, 12, 13, 14, 26, 27, 28, 29,
                                            30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41};
    const std::set<int> expectedHorizontal = {1,  2,  4,  6,  8,  11, 15, 16, 17,
                                              18, 19, 20, 21, 22, 23, 24, 25};
    EXPECT_EQ(vertical.size(), 24U);
    EXPECT_EQ(horizontal.size(), 17U);
    EXPECT_EQ(vertical, expectedVertical);
    EXPECT_EQ(horizontal, expectedHorizontal);
}

TEST(Layout, WallsTouchingEachBoardEdgeAreExactlyTheKnownOnes)
{
    Game game;
    std::set<int> left, top, right, bottom;
    for (int n = 1; n <= wallCount; ++n) {
        const Rect r = rectOf(game.maze.shape(wall(n)));
        if (r.left == boardLeft)
            left.insert(n);
        if (r.top == boardTop)
            top.insert(n);
        if (r.right == boardRight)
            right.insert(n);
        if (r.bottom == boardBottom)
            bottom.insert(n);
    }
    EXPECT_EQ(left, (std::set<int>{1, 16}));
    EXPECT_EQ(top, (std::set<int>{3, 5, 41}));
    EXPECT_EQ(right, (std::set<int>{2}));
    EXPECT_EQ(bottom, (std::set<int>{29, 31}));
}

TEST(Layout, WallsTheRulesLeanOnHaveTheirCreationRectangles)
{
    // Spot checks of walls that the rules lean on, so a slip in the table shows up here too.
    struct Row
    {
        int number;
        Rect rect;
    };
    const Row rows[] = {
        {1, {1920, 4200, 3975, 4455}},  {2, {8520, 7200, 9975, 7455}},
        {3, {3360, 120, 3615, 735}},    {4, {4800, 720, 8295, 975}},
        {5, {6240, 120, 6495, 975}},    {15, {2640, 5520, 3975, 5775}},
        {25, {8160, 1680, 9375, 1935}}, {33, {9120, 3360, 9375, 6615}},
        {41, {9120, 120, 9375, 2775}},
    };
    Game game;
    for (const Row &row : rows) {
        SCOPED_TRACE("shp" + std::to_string(row.number));
        const Rect r = rectOf(game.maze.shape(wall(row.number)));
        EXPECT_EQ(r.left, row.rect.left);
        EXPECT_EQ(r.top, row.rect.top);
        EXPECT_EQ(r.right, row.rect.right);
        EXPECT_EQ(r.bottom, row.rect.bottom);
    }
    EXPECT_EQ(game.maze.shape(wall(15)).borderColor(), Colour{0x80000007});
    EXPECT_EQ(game.maze.shape(wall(14)).borderColor(), Colour{0x80000008});
}

TEST(Layout, PiecesStartWhereTheGameExpectsThem)
{
    struct Row
    {
        Element element;
        ShapeKind shape;
        Rect rect;
        Colour fill;
        Colour border;
    };
    const Row rows[] = {
        {Element::shpyou,
         ShapeKind::Circle,
         {5760, 240, 6135, 615},
         Colour{0x0000FF00},
         Colour{0x80000008}},
        {Element::shpgoal,
         ShapeKind::Circle,
         {6600, 240, 6975, 615},
         Colour{0x00FF00FF},
         Colour{0x00FF00FF}},
        {Element::shpball1,
         ShapeKind::Circle,
         {2040, 240, 2415, 615},
         Colour{0x00000000},
         Colour{0x000000FF}},
        {Element::shpball2,
         ShapeKind::Circle,
         {9480, 240, 9855, 615},
         Colour{0x00000000},
         Colour{0x000000FF}},
        {Element::shpstop1,
         ShapeKind::Oval,
         {4080, 1920, 4575, 2415},
         Colour{0x80000018},
         Colour{0x80000008}},
        {Element::shpstop2,
         ShapeKind::Oval,
         {6720, 1920, 7215, 2415},
         Colour{0x80000018},
         Colour{0x80000008}},
        {Element::shpborder,
         ShapeKind::Rectangle,
         {1920, 120, 9975, 8055},
         Colour{0x80000000},
         Colour{0x00000000}},
    };
    Game game;
    for (const Row &row : rows) {
        SCOPED_TRACE(name(row.element));
        const ShapeElement &s = game.maze.shape(row.element);
        const Rect r = rectOf(s);
        EXPECT_EQ(r.left, row.rect.left);
        EXPECT_EQ(r.top, row.rect.top);
        EXPECT_EQ(r.right, row.rect.right);
        EXPECT_EQ(r.bottom, row.rect.bottom);
        EXPECT_EQ(s.shape(), row.shape);
        EXPECT_EQ(s.fillColor(), row.fill);
        EXPECT_EQ(s.borderColor(), row.border);
    }
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderWidth(), 5);
}

TEST(Layout, StartingPiecesOverlapNoWall)
{
    Game game;
    for (const Element piece :
         {Element::shpyou, Element::shpgoal, Element::shpball1, Element::shpball2}) {
        const Rect p = rectOf(game.maze.shape(piece));
        for (const Element w : allWalls())
            EXPECT_FALSE(overlap(p, rectOf(game.maze.shape(w)))) << name(piece) << " " << name(w);
    }
}

TEST(Layout, WindowOpensInTheSetupPhaseWithNothingRecorded)
{
    Game game;
    const Maze &m = game.maze;
    EXPECT_EQ(m.form().backColor(), Colour{0x00000080});
    for (const Element e :
         {Element::cmdstart, Element::txtcheat, Element::fraborder, Element::optred,
          Element::optgreen, Element::optblue, Element::optyellow}) {
        EXPECT_TRUE(m.control(e).visible()) << name(e);
        EXPECT_TRUE(m.control(e).enabled()) << name(e);
    }
    for (const Element e :
         {Element::optred, Element::optgreen, Element::optblue, Element::optyellow})
        EXPECT_FALSE(m.option(e).value()) << name(e);
    EXPECT_EQ(m.cheatBox().text(), "");
    EXPECT_EQ(m.label().caption(), "");
    EXPECT_TRUE(m.timer(Element::Timer1).enabled());
    EXPECT_TRUE(m.timer(Element::Timer2).enabled());
    EXPECT_EQ(m.timer(Element::Timer1).interval(), 1);
    EXPECT_EQ(m.variables(), FormVariables{});
    EXPECT_FALSE(m.ended());
    EXPECT_TRUE(game.platform.notices().empty());
}

TEST(Layout, ClientAreaHoldsTheBoardAndEveryControl)
{
    Game game;
    EXPECT_LE(boardRight, layout::clientWidth);
    EXPECT_LE(boardBottom, layout::clientHeight);
    for (const Element e : {Element::cmdstart, Element::txtcheat, Element::fraborder}) {
        const auto &g = game.maze.control(e).geometry();
        EXPECT_LE(g.left + g.width, layout::clientWidth) << name(e);
        EXPECT_LE(g.top + g.height, layout::clientHeight) << name(e);
    }
    const auto &cheat = game.maze.cheatBox().geometry();
    EXPECT_EQ(cheat.top + cheat.height, 8535);
}

TEST(Layout, DrawingOrderHoldsEachShapeOnceBoardFirstPlayerLast)
{
    const auto &order = layout::drawingOrder;
    ASSERT_EQ(order.front(), Element::shpborder);
    ASSERT_EQ(order.back(), Element::shpyou);

    std::set<Element> seen(order.begin(), order.end());
    EXPECT_EQ(seen.size(), order.size()) << "an element is drawn twice";
    for (std::size_t i = 0; i < elementCount; ++i) {
        const auto e = static_cast<Element>(i);
        if (isShape(e)) {
            EXPECT_TRUE(seen.contains(e)) << name(e) << " is never drawn";
        }
    }
    EXPECT_TRUE(seen.contains(Element::lblabout));

    const auto position = [&](Element e) {
        return std::find(order.begin(), order.end(), e) - order.begin();
    };
    // The balls cover every wall and marker; the player covers the goal and the balls.
    for (const Element w : allWalls()) {
        EXPECT_LT(position(w), position(Element::shpball2)) << name(w);
        EXPECT_LT(position(w), position(Element::shpball1)) << name(w);
    }
    EXPECT_LT(position(Element::shpstop1), position(Element::shpball1));
    EXPECT_LT(position(Element::shpstop2), position(Element::shpball2));
    EXPECT_LT(position(Element::shpgoal), position(Element::shpyou));
}

} // namespace
