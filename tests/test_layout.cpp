#include "created.h"
#include "game.h"

#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <sstream>

using namespace quorvale;
using namespace quorvale::testing;

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

// What the rules say of every place the piece reaches on one lattice of the board, found by
// playing and nothing else: each place is walked to by arrow keys from where a game puts the
// piece, then judged by a key that does not move it. '.' passes, 'x' loses, 'G' wins, '*' both,
// '-' is never reached. The lattice starts where the piece starts, or where the jump code puts it.
std::string judgedPlaces(bool skipjump)
{
    const Point origin = skipjump ? jumpTarget : start;
    std::map<Point, std::vector<std::int16_t>> routes{{origin, {}}};
    std::map<Point, char> verdicts;
    std::queue<Point> open({origin});
    while (!open.empty()) {
        const Point p = open.front();
        open.pop();
        Game game;
        if (skipjump)
            game.maze.editText("skipjump");
        for (const std::int16_t key : routes[p])
            game.maze.keyDown(key);
        game.maze.keyDown(keySpace);
        const auto shown = [&](const MessageBoxShown &box) {
            return std::count(game.platform.boxes.begin(), game.platform.boxes.end(), box) > 0;
        };
        const bool lost = shown(gameOverBox);
        const bool won = shown(youWinBox);
        verdicts[p] = lost && won ? '*' : lost ? 'x' : won ? 'G' : '.';
        if (lost || won)
            continue;
        for (std::size_t i = 0; i < arrowSteps.size(); ++i) {
            const Point next{p.left + arrowSteps[i].left, p.top + arrowSteps[i].top};
            std::vector<std::int16_t> route = routes[p];
            route.push_back(static_cast<std::int16_t>(vbKeyLeft + static_cast<int>(i)));
            if (routes.try_emplace(next, std::move(route)).second)
                open.push(next);
        }
    }
    int left = origin.left;
    int top = origin.top;
    int right = origin.left;
    int bottom = origin.top;
    for (const auto &[p, verdict] : verdicts) {
        left = std::min(left, p.left);
        top = std::min(top, p.top);
        right = std::max(right, p.left);
        bottom = std::max(bottom, p.top);
    }
    std::ostringstream map;
    map << (skipjump ? "jump" : "start") << " lattice: lefts " << left << " to " << right
        << ", tops " << top << " to " << bottom << ", " << pieceStep << " twips apart\n";
    for (int y = top; y <= bottom; y += pieceStep) {
        for (int x = left; x <= right; x += pieceStep) {
            const auto found = verdicts.find({x, y});
            map << (found == verdicts.end() ? '-' : found->second);
        }
        map << '\n';
    }
    return map.str();
}

// The walls are checked against a map of the board kept beside the tests, not against the
// table the game reads: a typo in a wall's place or size moves the edge of some place the piece
// can stand on, and the map then differs. A layout changed on purpose means a new map; the
// message holds it.
TEST(Layout, EveryReachablePlaceIsJudgedAsTheCommittedMapSays)
{
    std::ifstream file(QUORVALE_BOARD_MAP);
    ASSERT_TRUE(file) << QUORVALE_BOARD_MAP;
    std::ostringstream committed;
    committed << file.rdbuf();
    const std::string played = judgedPlaces(false) + judgedPlaces(true);
    EXPECT_EQ(played, committed.str()) << "the rules' map:\n" << played;
}

} // namespace
