#include "game.h"

using namespace quorvale;
using namespace quorvale::testing;

namespace {

TEST(Balls, Ball1StopsOnTheRecordedPositionBall2OnTheLiveOneMarkerEdgesIncluded)
{
    struct Row
    {
        const char *what;
        Element timer;
        Point piece;
        std::int16_t keyThere; // 0: no key pressed since arriving
        bool stops;
    };
    const Row rows[] = {
        {"ball 1, recorded on its marker, bottom edges level",
         Element::Timer1,
         {4160, 2040},
         keySpace,
         true},
        {"ball 1, recorded on its marker then stepped off",
         Element::Timer1,
         {4160, 2040},
         vbKeyUp,
         true},
        // Stepping sideways keeps the top level: only the left and right edges tell the
        // recorded position from the live one.
        {"ball 1, recorded on its marker then stepped left off it",
         Element::Timer1,
         {4160, 2040},
         vbKeyLeft,
         true},
        {"ball 1, on its marker but not yet recorded", Element::Timer1, {4160, 2040}, 0, false},
        {"ball 1, right edge past the marker", Element::Timer1, {4360, 2040}, keySpace, false},
        {"ball 1, left edge before the marker", Element::Timer1, {3960, 2040}, keySpace, false},
        {"ball 1, top above the marker", Element::Timer1, {4160, 1840}, keySpace, false},
        {"ball 2, on its marker, bottom edges level", Element::Timer2, {6760, 2040}, 0, true},
        {"ball 2, recorded on its marker then stepped off",
         Element::Timer2,
         {6760, 2040},
         vbKeyUp,
         false},
        {"ball 2, recorded on its marker then stepped right off it",
         Element::Timer2,
         {6760, 2040},
         vbKeyRight,
         false},
        {"ball 2, right edge past the marker", Element::Timer2, {6960, 2040}, 0, false},
        {"ball 2, top above the marker", Element::Timer2, {6760, 1840}, 0, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        ASSERT_TRUE(game.walkTo(row.piece));
        if (row.keyThere != 0)
            game.maze.keyDown(row.keyThere);
        ASSERT_TRUE(game.platform.boxes.empty());
        const Element other = row.timer == Element::Timer1 ? Element::Timer2 : Element::Timer1;
        EXPECT_TRUE(game.maze.tick(row.timer));
        EXPECT_EQ(game.maze.timer(row.timer).enabled(), !row.stops);
        EXPECT_EQ(game.maze.tick(row.timer), !row.stops) << "a stopped ball takes no tick";
        EXPECT_TRUE(game.maze.timer(other).enabled());
    }
}

TEST(Balls, Ball1HitsThePieceTopLeftCornerBall2ItsTopRightCorner)
{
    struct Row
    {
        const char *what;
        Element timer;
        Point piece;
        bool hit;
        bool skipjump = false;
    };
    const Row rows[] = {
        {"ball 1 column holds the left edge", Element::Timer1, {2160, 240}, true},
        {"left edge exactly on ball 1's left edge", Element::Timer1, {2040, 240}, true, true},
        {"ball 1 column holds only the right part", Element::Timer1, {1960, 2440}, false},
        {"ball 2 column holds the right edge", Element::Timer2, {9360, 2440}, true},
        {"ball 2 column holds only the left part", Element::Timer2, {9560, 2440}, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        if (row.skipjump)
            game.maze.editText("skipjump");
        ASSERT_TRUE(game.walkTo(row.piece));
        // A whole patrol passes the piece's row on the way down and back up.
        for (int i = 0; i < 80 && game.platform.boxes.empty(); ++i)
            game.maze.tick(row.timer);
        EXPECT_EQ(game.platform.boxes, std::vector(row.hit ? 2 : 0, gameOverBox));
    }
}

TEST(Balls, RisingBallHitsWhenItsTopReachesThePieceTopEdgeIncluded)
{
    const std::tuple<Element, Element, int, Point> rows[] = {
        {Element::Timer1, Element::shpball1, 40, {2160, 2440}},
        {Element::Timer2, Element::shpball2, 35, {9360, 2440}},
    };
    for (const auto &[timer, ball, ticksToTheBottom, piece] : rows) {
        SCOPED_TRACE(name(ball));
        Game game;
        for (int i = 0; i < ticksToTheBottom; ++i)
            game.maze.tick(timer);
        ASSERT_TRUE(game.walkTo(piece));
        float ballTopAtHit = 0;
        game.platform.whileBoxIsOpen([&] { ballTopAtHit = game.maze.shape(ball).top(); });
        for (int i = 0; i < 40 && game.platform.boxes.empty(); ++i)
            game.maze.tick(timer);
        EXPECT_EQ(ballTopAtHit, static_cast<float>(piece.top));
    }
}

TEST(Balls, KeyPressesNeverTestTheBalls)
{
    Game game;
    ASSERT_TRUE(game.walkTo({2160, 240})); // over ball 1, which still stands at its start
    game.maze.keyDown(keySpace);
    EXPECT_TRUE(game.platform.boxes.empty());
    game.maze.tick(Element::Timer1);
    EXPECT_EQ(game.platform.boxes, (std::vector{gameOverBox, gameOverBox}));
}

} // namespace
