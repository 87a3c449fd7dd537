#include "game.h"

using namespace quorvale;
using namespace quorvale::testing;

namespace {

TEST(Turn, EveryKeyRecordsThePieceButOnlyArrowsMoveItWhateverTheShiftState)
{
    const std::tuple<std::int16_t, std::int16_t, Point> rows[] = {
        {vbKeyUp, 0, {5760, 40}},
        {vbKeyDown, 0, {5760, 440}},
        {vbKeyLeft, 0, {5560, 240}},
        {vbKeyRight, 0, {5960, 240}},
        {vbKeyRight, 7, {5960, 240}},
        {keySpace, 0, start},
        {36, 0, start},
        {41, 0, start},
        {38 + 256, 0, start},
    };
    for (const auto &[key, shift, after] : rows) {
        SCOPED_TRACE(::testing::Message() << "key " << key << " shift " << shift);
        Game game;
        EXPECT_TRUE(game.maze.keyDown(key, shift));
        EXPECT_EQ(game.piece(), after);
        EXPECT_EQ(game.maze.variables().youleft, 5760);
        EXPECT_EQ(game.maze.variables().youbottom, 615);
        EXPECT_TRUE(game.platform.boxes.empty());
    }
}

TEST(Turn, GoalTestLooksAtTheRecordedTopLeftCornerOnly)
{
    struct Row
    {
        const char *what;
        Point judged;
        std::vector<MessageBoxShown> boxes;
    };
    const Row rows[] = {
        {"left edge inside the goal, right edge beyond it", {6960, 240}, {youWinBox, youWinBox}},
        // A wall hit does not end the turn: the goal is still tested afterwards.
        {"corner in the goal and in shp4",
         {6760, 440},
         {gameOverBox, gameOverBox, youWinBox, youWinBox}},
        {"one step right of the goal", {7160, 240}, {}},
        {"one step below the goal", {6760, 640}, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        ASSERT_TRUE(game.walkTo(row.judged));
        game.maze.keyDown(keySpace);
        EXPECT_EQ(game.platform.boxes, row.boxes);
    }
}

TEST(Turn, BoardEdgeLosesOneStepBeyondTheOutermostPositionsAtTheNextKey)
{
    const std::tuple<const char *, Point, std::int16_t> rows[] = {
        {"left", {1960, 240}, vbKeyLeft},
        {"right", {9560, 240}, vbKeyRight},
        {"top", {5760, 240}, vbKeyUp},
        {"bottom", {2160, 7640}, vbKeyDown},
    };
    for (const auto &[edge, outermost, outward] : rows) {
        SCOPED_TRACE(edge);
        Game game;
        ASSERT_TRUE(game.walkTo(outermost));
        game.maze.keyDown(keySpace);
        game.maze.keyDown(outward);
        EXPECT_TRUE(game.platform.boxes.empty()) << "judged a step too early";
        game.maze.keyDown(keySpace);
        EXPECT_EQ(game.platform.boxes, (std::vector{gameOverBox, gameOverBox}));
    }
}

TEST(Turn, ArrowMovesThePieceBeforeTheRecordedPositionIsJudged)
{
    Game game;
    game.maze.keyDown(vbKeyUp);
    std::vector<Point> seenInBoxes;
    game.platform.whileBoxIsOpen([&] { seenInBoxes.push_back(game.piece()); });
    game.maze.keyDown(vbKeyLeft);
    EXPECT_EQ(seenInBoxes, (std::vector<Point>{{5560, 40}, {5560, 40}}));
    EXPECT_EQ(game.piece(), start) << "the reset overwrites the step";
}

} // namespace
