#include "fakeplatform.h"

#include <algorithm>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

constexpr Point start{5760, 240};
constexpr std::int16_t True = -1;
constexpr std::int16_t False = 0;

struct Ball
{
    Element shape;
    Element timer;
};
constexpr Ball ball1{Element::shpball1, Element::Timer1};
constexpr Ball ball2{Element::shpball2, Element::Timer2};

float topOf(const Game &game, Ball ball)
{
    return game.maze.shape(ball.shape).top();
}

std::int16_t downOf(const Game &game, Ball ball)
{
    const FormVariables v = game.maze.variables();
    return ball.shape == Element::shpball1 ? v.ball1down : v.ball2down;
}

bool running(const Game &game, Ball ball)
{
    return game.maze.timer(ball.timer).enabled();
}

struct TickRecord
{
    int tick;
    float top;
    std::int16_t down;
};

std::vector<TickRecord> runTicks(Game &game, Ball ball, int count)
{
    std::vector<TickRecord> seen;
    for (int i = 1; i <= count; ++i) {
        EXPECT_TRUE(game.maze.tick(ball.timer));
        seen.push_back({i, topOf(game, ball), downOf(game, ball)});
    }
    return seen;
}

// Ticks at which the ball turned down at the top of its run.
std::vector<int> topTurns(const std::vector<TickRecord> &seen)
{
    std::vector<int> turns;
    std::int16_t before = False;
    for (const TickRecord &r : seen) {
        if (before == False && r.down == True)
            turns.push_back(r.tick);
        before = r.down;
    }
    return turns;
}

void expectTicks(const std::vector<TickRecord> &seen, const std::vector<TickRecord> &expected)
{
    for (const TickRecord &e : expected) {
        SCOPED_TRACE(::testing::Message() << "tick " << e.tick);
        ASSERT_LE(static_cast<std::size_t>(e.tick), seen.size());
        EXPECT_EQ(seen[static_cast<std::size_t>(e.tick - 1)].top, e.top);
        EXPECT_EQ(seen[static_cast<std::size_t>(e.tick - 1)].down, e.down);
    }
}

std::pair<float, float> rangeOf(const std::vector<TickRecord> &seen)
{
    const auto [lo, hi] = std::minmax_element(
        seen.begin(), seen.end(), [](const auto &a, const auto &b) { return a.top < b.top; });
    return {lo->top, hi->top};
}

TEST(Balls, Ball1TurnsAfterPassingTheBoardTopAndTheTopOfShp1)
{
    Game game;
    const auto seen = runTicks(game, ball1, 160);
    expectTicks(seen, {
                          {1, 140, False},
                          {2, 40, True},
                          {3, 140, True},
                          {39, 3740, True},
                          {40, 3840, False},
                          {41, 3740, False},
                          {77, 140, False},
                          {78, 40, True},
                          {79, 140, True},
                      });
    EXPECT_EQ(topTurns(seen), (std::vector{2, 78, 154}));
    EXPECT_EQ(rangeOf(seen), (std::pair{40.0F, 3840.0F}));
    EXPECT_EQ(topOf(game, ball2), 240) << "the other ball stays put";
    EXPECT_EQ(game.maze.variables().ball2down, False);
    EXPECT_TRUE(game.platform.boxes().empty());
}

TEST(Balls, Ball2TurnsAtTickOneAndAtTick35AgainstShp2)
{
    Game game;
    const auto seen = runTicks(game, ball2, 140);
    expectTicks(seen, {
                          {1, 40, True},
                          {2, 240, True},
                          {34, 6640, True},
                          {35, 6840, False},
                          {36, 6640, False},
                          {69, 40, True},
                      });
    EXPECT_EQ(topTurns(seen), (std::vector{1, 69, 137}));
    EXPECT_EQ(rangeOf(seen), (std::pair{40.0F, 6840.0F}));
    EXPECT_EQ(topOf(game, ball1), 240);
    EXPECT_TRUE(game.platform.boxes().empty());
}

TEST(Balls, Ball2StopsWhileThePieceLiesWhollyOnItsMarkerEdgesIncluded)
{
    struct Row
    {
        Point piece;
        bool stops;
    };
    const Row rows[] = {
        {{6760, 2040}, true},  // bottom edge on the marker's bottom edge
        {{6960, 2040}, false}, // right edge 7335, past the marker's 7215
        {{6760, 1840}, false}, // top above the marker
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.piece);
        Game game;
        ASSERT_TRUE(game.walkTo(row.piece)); // standing there is enough, no key needed
        EXPECT_TRUE(game.maze.tick(Element::Timer2));
        EXPECT_EQ(topOf(game, ball2), 40) << "the stopping tick still moves the ball";
        EXPECT_EQ(running(game, ball2), !row.stops);
        EXPECT_EQ(game.maze.tick(Element::Timer2), !row.stops);
        EXPECT_EQ(topOf(game, ball2), row.stops ? 40 : 240);
        EXPECT_TRUE(running(game, ball1));
    }
}

TEST(Balls, Ball1StopsWhileTheRecordedPieceLiesWhollyOnItsMarker)
{
    struct Row
    {
        Point recorded;
        bool stops;
    };
    const Row rows[] = {
        {{4160, 2040}, true},  // bottom edge on the marker's bottom edge
        {{4160, 1840}, false}, // top above the marker
        {{4360, 2040}, false}, // right edge 4735, past the marker's 4575
        {{3960, 2040}, false}, // left edge before the marker's 4080
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.recorded);
        Game game;
        ASSERT_TRUE(game.walkTo(row.recorded));
        game.maze.keyDown(keySpace);
        ASSERT_TRUE(game.platform.boxes().empty());
        EXPECT_TRUE(game.maze.tick(Element::Timer1));
        EXPECT_EQ(running(game, ball1), !row.stops);
        EXPECT_TRUE(running(game, ball2));
    }
}

TEST(Balls, Ball1StopsOnTheRecordedPositionBall2OnTheLiveOne)
{
    Game game;
    ASSERT_TRUE(game.walkTo({4160, 2040})); // on shpstop1, not yet recorded
    EXPECT_TRUE(game.maze.tick(Element::Timer1));
    EXPECT_TRUE(running(game, ball1)) << "ball 1 saw the live position";

    game.maze.keyDown(vbKeyUp); // records the marker, then steps off it
    EXPECT_EQ(game.piecePosition(), (Point{4160, 1840}));
    EXPECT_TRUE(game.maze.tick(Element::Timer1));
    EXPECT_FALSE(running(game, ball1));
    const float frozenAt = topOf(game, ball1);
    EXPECT_FALSE(game.maze.tick(Element::Timer1));
    EXPECT_EQ(topOf(game, ball1), frozenAt);

    Game other;
    ASSERT_TRUE(other.walkTo({6760, 2040}));
    other.maze.keyDown(vbKeyUp); // records the marker for ball 2, which does not look
    EXPECT_TRUE(other.maze.tick(Element::Timer2));
    EXPECT_TRUE(running(other, ball2)) << "ball 2 saw the recorded position";
}

TEST(Balls, ContactUsesTheTopLeftCornerForBall1AndTheTopRightForBall2)
{
    struct Row
    {
        const char *what;
        Ball ball;
        bool skipjump;
        Point piece;
        bool hit;
    };
    const Row rows[] = {
        {"ball 1 column holds the left edge", ball1, false, {2160, 240}, true},
        {"left edge exactly on ball 1's left edge", ball1, true, {2040, 240}, true},
        {"ball 1 column holds only the right part of the piece", ball1, false, {1960, 240}, false},
        {"ball 1 column holds only the right part, lower down", ball1, false, {1960, 2440}, false},
        {"ball 2 column holds the right edge", ball2, false, {9360, 2440}, true},
        {"ball 2 column holds only the left part of the piece", ball2, false, {9560, 2440}, false},
        {"ball 2 column holds only the left part, at the top", ball2, false, {9560, 240}, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        if (row.skipjump)
            game.maze.editText("skipjump");
        ASSERT_TRUE(game.walkTo(row.piece));
        // A whole patrol of the ball passes the piece's row on the way down and back up.
        for (int i = 0; i < 80 && game.platform.boxes().empty(); ++i)
            game.maze.tick(row.ball.timer);
        if (row.hit) {
            EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
            EXPECT_EQ(game.piecePosition(), start);
        } else {
            EXPECT_TRUE(game.platform.boxes().empty());
        }
    }
}

TEST(Balls, BallRisingOntoThePieceHitsWhenItsTopReachesThePieceTop)
{
    struct Row
    {
        const char *what;
        Ball ball;
        int ticksToTheBottom;
        Point piece;
    };
    const Row rows[] = {
        {"ball 1", ball1, 40, {2160, 2440}},
        {"ball 2", ball2, 35, {9360, 2440}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        runTicks(game, row.ball, row.ticksToTheBottom);
        ASSERT_EQ(downOf(game, row.ball), False);
        ASSERT_TRUE(game.walkTo(row.piece));
        float ballTopAtHit = 0;
        game.platform.whileBoxIsOpen(
            [&](const MessageBoxShown &) { ballTopAtHit = topOf(game, row.ball); });
        for (int i = 0; i < 40 && game.platform.boxes().empty(); ++i)
            game.maze.tick(row.ball.timer);
        EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
        EXPECT_EQ(ballTopAtHit, static_cast<float>(row.piece.top));
    }
}

TEST(Balls, BallFallingOntoThePieceHitsAsSoonAsItsBottomReachesThePieceTop)
{
    Game game;
    ASSERT_TRUE(game.walkTo({9360, 2440}));
    int ticks = 0;
    while (game.platform.boxes().empty() && ticks < 40) {
        game.maze.tick(Element::Timer2);
        ++ticks;
    }
    EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
    EXPECT_EQ(ticks, 12);
    EXPECT_EQ(topOf(game, ball2), 2240); // bottom 2615, piece top 2440
}

TEST(Balls, StoppedBallsAreHarmlessAndKeyPressesNeverTestThem)
{
    Game game;
    game.maze.editText("iceclock");
    ASSERT_TRUE(game.walkTo({2160, 240})); // over ball 1, which still stands at its start
    game.maze.keyDown(keySpace);
    EXPECT_FALSE(game.maze.tick(Element::Timer1));
    EXPECT_FALSE(game.maze.tick(Element::Timer2));
    EXPECT_TRUE(game.platform.boxes().empty());
    EXPECT_EQ(topOf(game, ball1), 240);
    EXPECT_EQ(topOf(game, ball2), 240);

    game.maze.click(Clickable::mnufilestart);
    ASSERT_TRUE(game.walkTo({2160, 240}));
    EXPECT_TRUE(game.maze.tick(Element::Timer1));
    EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
}

TEST(Balls, DisabledTimerDeliversNothing)
{
    Game game;
    game.maze.editText("iceclock");
    game.platform.forgetNotices();
    const FormVariables before = game.maze.variables();
    EXPECT_FALSE(game.maze.tick(Element::Timer1));
    EXPECT_FALSE(game.maze.tick(Element::Timer2));
    EXPECT_TRUE(game.platform.notices().empty());
    EXPECT_EQ(game.maze.variables(), before);
}

TEST(Balls, ResetsRestartStoppedBallsWhereTheyStoodInTheDirectionTheyHad)
{
    struct Row
    {
        const char *how;
        std::function<void(Game &)> reset;
    };
    const Row rows[] = {
        {"Start Over",
         [](Game &g) {
             g.maze.click(Clickable::mnufilestart);
         }},
        {"a loss answered Yes",
         [](Game &g) {
             g.maze.keyDown(vbKeyUp);
             g.maze.keyDown(keySpace);
             ASSERT_EQ(g.losses(), 1);
         }},
        {"a win answered Yes",
         [](Game &g) {
             g.maze.editText(""); // the box holds " " after a code; clear it for the next one
             g.maze.editText("skipjump");
             for (int i = 0; i < 9; ++i)
                 g.maze.keyDown(vbKeyLeft);
             g.maze.keyDown(keySpace);
             ASSERT_EQ(g.wins(), 1);
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.how);
        Game game;
        runTicks(game, ball1, 45); // on its way up from 3840
        runTicks(game, ball2, 3);  // on its way down from 40
        game.maze.editText("iceclock");
        ASSERT_FALSE(running(game, ball1));
        ASSERT_FALSE(running(game, ball2));
        const FormVariables flags = game.maze.variables();

        row.reset(game);
        EXPECT_TRUE(running(game, ball1));
        EXPECT_TRUE(running(game, ball2));
        EXPECT_EQ(topOf(game, ball1), 3340);
        EXPECT_EQ(topOf(game, ball2), 440);
        EXPECT_EQ(game.maze.variables().ball1down, flags.ball1down);
        EXPECT_EQ(game.maze.variables().ball2down, flags.ball2down);

        game.maze.tick(Element::Timer1);
        game.maze.tick(Element::Timer2);
        EXPECT_EQ(topOf(game, ball1), 3240);
        EXPECT_EQ(topOf(game, ball2), 640);
    }
}

TEST(Balls, OneStoppedBallLeavesTheOtherRunningAndStartOverRestartsIt)
{
    Game game;
    ASSERT_TRUE(game.walkTo({6760, 2040}));
    runTicks(game, ball2, 1);
    ASSERT_FALSE(running(game, ball2));
    EXPECT_TRUE(game.maze.tick(Element::Timer1));

    game.maze.click(Clickable::mnufilestart);
    EXPECT_TRUE(running(game, ball2));
    EXPECT_EQ(topOf(game, ball2), 40);
    EXPECT_EQ(game.maze.variables().ball2down, True);
    game.maze.tick(Element::Timer2);
    EXPECT_EQ(topOf(game, ball2), 240);
}

} // namespace
