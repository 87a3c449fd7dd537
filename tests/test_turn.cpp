#include "fakeplatform.h"

using namespace quorvale;
using namespace quorvale::testing;

namespace {

constexpr Point start{5760, 240};

// What the first key press of a game records: the piece and the goal where the layout puts them.
constexpr FormVariables capturedAtStart{0, 0, 5760, 6135, 240, 615, 6600, 6975, 240, 615};

FormVariables capturedAt(Point p)
{
    return {0,
            0,
            static_cast<std::int16_t>(p.left),
            static_cast<std::int16_t>(p.left + 375),
            static_cast<std::int16_t>(p.top),
            static_cast<std::int16_t>(p.top + 375),
            6600,
            6975,
            240,
            615};
}

TEST(Turn, StepOffTheTopIsJudgedOnlyByTheNextKeyEvenSpace)
{
    for (const bool playStarted : {false, true}) {
        SCOPED_TRACE(playStarted ? "during play" : "before play");
        Game game;
        if (playStarted) {
            ASSERT_TRUE(game.maze.click(Clickable::cmdstart));
        }

        EXPECT_TRUE(game.maze.keyDown(vbKeyUp));
        EXPECT_EQ(game.piecePosition(), (Point{5760, 40}));
        EXPECT_TRUE(game.platform.boxes().empty());
        EXPECT_EQ(game.maze.variables(), capturedAtStart);

        EXPECT_TRUE(game.maze.keyDown(keySpace));
        EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
        EXPECT_EQ(game.maze.variables(), capturedAt({5760, 40}));
        EXPECT_EQ(game.piecePosition(), start);
        EXPECT_FALSE(game.maze.ended());
    }
}

TEST(Turn, EveryKeyCapturesBeforeOnlyArrowsMoveAndShiftMakesNoDifference)
{
    struct Row
    {
        std::int16_t key;
        std::int16_t shift;
        Point after;
    };
    const Row rows[] = {
        {vbKeyUp, 0, {5760, 40}},
        {vbKeyDown, 0, {5760, 440}},
        {vbKeyLeft, 0, {5560, 240}},
        {vbKeyRight, 0, {5960, 240}},
        {vbKeyUp, 1, {5760, 40}}, // Shift
        {vbKeyDown, 1, {5760, 440}},
        {vbKeyLeft, 1, {5560, 240}},
        {vbKeyRight, 1, {5960, 240}},
        {vbKeyUp, 2, {5760, 40}}, // Ctrl
        {vbKeyRight, 7, {5960, 240}},
        {keySpace, 0, start},
        {0, 0, start},
        {13, 0, start},
        {36, 0, start}, // Home, just below the arrows
        {41, 0, start}, // just above them
        {65, 1, start},
        {104, 0, start}, // keypad 8
        {38 + 256, 0, start},
        {-32768, 0, start},
        {32767, 0, start},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << "key " << row.key << " shift " << row.shift);
        Game game;
        EXPECT_TRUE(game.maze.keyDown(row.key, row.shift));
        EXPECT_EQ(game.piecePosition(), row.after);
        EXPECT_EQ(game.maze.variables(), capturedAtStart);
        EXPECT_TRUE(game.platform.boxes().empty());
    }
}

TEST(Turn, NextKeyCapturesThePositionTheLastOneMovedTo)
{
    Game game;
    game.maze.keyDown(vbKeyRight);
    game.maze.keyDown(vbKeyRight);
    EXPECT_EQ(game.maze.variables(), capturedAt({5960, 240}));
    game.maze.keyDown(vbKeyLeft);
    EXPECT_EQ(game.maze.variables(), capturedAt({6160, 240}));
    EXPECT_EQ(game.piecePosition(), (Point{5960, 240}));
    EXPECT_TRUE(game.platform.boxes().empty());
}

TEST(Turn, GoalTestLooksAtTheRecordedTopLeftCornerOnly)
{
    struct Row
    {
        const char *what;
        bool skipjump; // start from the cheat's position, off the usual 200-twip grid
        Point judged;
        std::vector<MessageBoxShown> boxes;
    };
    const Row rows[] = {
        // (6760, 240) can only be entered from positions that are judged first, so the
        // reachable winning corners are these, two of them also inside shp4.
        {"corner inside goal near its right edge", false, {6960, 240}, {youWinBox, youWinBox}},
        {"corner in goal and in shp4: the wall first, then still the win",
         false,
         {6760, 440},
         {gameOverBox, gameOverBox, youWinBox, youWinBox}},
        {"corner near the goal's bottom right, also in shp4",
         false,
         {6960, 440},
         {gameOverBox, gameOverBox, youWinBox, youWinBox}},
        {"one step right of the goal", false, {7160, 240}, {}},
        {"one step below the goal", false, {6760, 640}, {}},
        {"below the goal's bottom right", false, {6960, 640}, {}},
        {"cheat grid, inside the goal", true, {6840, 240}, {youWinBox, youWinBox}},
        {"cheat grid, 65 right of the goal", true, {7040, 240}, {}},
        {"cheat grid, 25 below the goal", true, {6840, 640}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        if (row.skipjump)
            game.maze.editText("skipjump");
        ASSERT_TRUE(game.walkTo(row.judged));
        EXPECT_TRUE(game.platform.boxes().empty()) << "judged a step too early";
        game.maze.keyDown(keySpace);
        EXPECT_EQ(game.maze.variables(), capturedAt(row.judged));
        EXPECT_EQ(game.platform.boxes(), row.boxes);
        EXPECT_FALSE(game.maze.ended());
    }
}

TEST(Turn, ArrowThatJudgesAWinMovesThePieceBeforeTheBoxComesUp)
{
    Game game;
    ASSERT_TRUE(game.walkTo({6960, 240}));
    std::vector<Point> seenInBoxes;
    game.platform.whileBoxIsOpen(
        [&](const MessageBoxShown &) { seenInBoxes.push_back(game.piecePosition()); });
    game.maze.keyDown(vbKeyDown);
    EXPECT_EQ(game.platform.boxes(), (std::vector{youWinBox, youWinBox}));
    EXPECT_EQ(seenInBoxes, (std::vector<Point>{{6960, 440}, {6960, 440}}));
    EXPECT_EQ(game.piecePosition(), start) << "the reset overwrites the step";
}

TEST(Turn, ResetDuringTheTurnOverwritesItsStep)
{
    Game game;
    game.maze.keyDown(vbKeyUp);
    std::vector<Point> seenInBoxes;
    game.platform.whileBoxIsOpen(
        [&](const MessageBoxShown &) { seenInBoxes.push_back(game.piecePosition()); });
    game.maze.keyDown(vbKeyLeft);
    EXPECT_EQ(seenInBoxes, (std::vector<Point>{{5560, 40}, {5560, 40}}));
    EXPECT_EQ(game.piecePosition(), start);
}

TEST(Turn, BoardEdgeLosesOneStepBeyondTheOutermostPositions)
{
    struct Row
    {
        const char *edge;
        Point outermost;
        std::int16_t outward;
        Point beyond;
    };
    const Row rows[] = {
        {"left", {1960, 240}, vbKeyLeft, {1760, 240}},
        {"right", {9560, 240}, vbKeyRight, {9760, 240}},
        {"top", {5760, 240}, vbKeyUp, {5760, 40}},
        {"bottom", {2160, 7640}, vbKeyDown, {2160, 7840}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.edge);
        Game game;
        ASSERT_TRUE(game.walkTo(row.outermost));
        game.maze.keyDown(keySpace);
        EXPECT_TRUE(game.platform.boxes().empty()) << "outermost position is still on the board";
        game.maze.keyDown(row.outward);
        EXPECT_EQ(game.piecePosition(), row.beyond);
        EXPECT_TRUE(game.platform.boxes().empty()) << "judged a step too early";
        game.maze.keyDown(keySpace);
        EXPECT_EQ(game.maze.variables(), capturedAt(row.beyond));
        EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
        EXPECT_EQ(game.piecePosition(), start);
    }
}

TEST(Turn, RecordedBoundsOutliveAResetUntilTheNextKey)
{
    Game game;
    game.maze.keyDown(vbKeyUp);
    game.maze.keyDown(vbKeyLeft); // judges (5760, 40): lost, reset
    ASSERT_EQ(game.losses(), 1);
    EXPECT_EQ(game.maze.variables(), capturedAt({5760, 40}));

    game.maze.click(Clickable::mnufilestart);
    game.maze.click(Clickable::cmdstart);
    EXPECT_EQ(game.maze.variables(), capturedAt({5760, 40}));

    game.maze.keyDown(keySpace);
    EXPECT_EQ(game.maze.variables(), capturedAtStart);
    EXPECT_EQ(game.losses(), 1);
}

} // namespace
