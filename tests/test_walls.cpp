#include "fakeplatform.h"

#include <string>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

constexpr Point start{5760, 240};

// Walks the piece to `p` (the last step unjudged) and lets the next key judge it.
::testing::AssertionResult judgeAt(Game &game, Point p)
{
    if (auto walked = game.walkTo(p); !walked)
        return walked;
    if (!game.platform.boxes().empty())
        return ::testing::AssertionFailure() << "judged before the next key";
    game.maze.keyDown(keySpace);
    const FormVariables v = game.maze.variables();
    if (v.youleft != p.left || v.youtop != p.top || v.youright != p.left + 375 ||
        v.youbottom != p.top + 375)
        return ::testing::AssertionFailure() << "recorded another position than " << p;
    return ::testing::AssertionSuccess();
}

TEST(Walls, EveryWallOnItsOwnCostsExactlyOneGame)
{
    // For each wall a position whose tested corner lies in that wall and in no other.
    struct Row
    {
        int wall;
        Point piece;
    };
    const Row rows[] = {
        {1, {3560, 3840}},  {2, {8560, 6840}},  {3, {3160, 240}},   {4, {5760, 440}},
        {5, {6360, 240}},   {6, {3960, 440}},   {7, {2760, 640}},   {8, {4760, 1240}},
        {9, {3760, 1640}},  {10, {4960, 640}},  {11, {4760, 2440}}, {12, {2760, 2040}},
        {13, {2960, 4240}}, {14, {3960, 3440}}, {15, {3560, 5240}}, {16, {2560, 6040}},
        {17, {4960, 6840}}, {18, {5560, 6040}}, {19, {5960, 6440}}, {20, {7760, 6040}},
        {21, {6960, 4640}}, {22, {5760, 4440}}, {23, {7760, 3040}}, {24, {5960, 2240}},
        {25, {8160, 1440}}, {26, {3960, 4840}}, {27, {3560, 6240}}, {28, {5760, 5440}},
        {29, {5760, 7240}}, {30, {6760, 6640}}, {31, {7560, 7240}}, {32, {7560, 5440}},
        {33, {9160, 3440}}, {34, {8360, 4040}}, {35, {6760, 4840}}, {36, {6560, 3240}},
        {37, {5760, 2440}}, {38, {5560, 640}},  {39, {6360, 1440}}, {40, {7360, 640}},
        {41, {9160, 240}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("shp" + std::to_string(row.wall));
        Game game;
        ASSERT_TRUE(judgeAt(game, row.piece));
        EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
        EXPECT_EQ(game.piecePosition(), start);
        EXPECT_FALSE(game.maze.ended());
    }
}

TEST(Walls, CornerOnAnEdgeIsAHitAndOnlyTheTestedCornerCounts)
{
    struct Row
    {
        const char *what;
        Point piece;
        int losses;
        bool skipjump = false; // from the cheat's position: left edges 80 twips off the grid
    };
    const Row rows[] = {
        // Vertical walls, bottom-left corner on an edge.
        {"left edge of shp13", {2760, 4240}, 1},
        {"left edge of shp31", {7560, 7440}, 1},
        {"left edge of shp39", {6360, 1640}, 1},
        {"bottom edge of shp10", {4960, 5040}, 1},
        {"bottom edge of shp13", {2960, 4440}, 1},
        {"bottom edge of shp33, which is also the bottom edge of shp20", {9160, 6240}, 2},
        // Horizontal walls.
        {"bottom edge of shp8", {4160, 1440}, 1},
        {"bottom edge of shp11", {3160, 2640}, 1},
        {"bottom edge of shp16", {2160, 6240}, 1},
        {"bottom edge of shp20", {7760, 6240}, 1},
        {"bottom edge of shp23", {7760, 3240}, 1},
        {"left edge of shp25", {8160, 1440}, 1},
        // Left edges met only from the cheat's position.
        {"left edge of shp5", {6240, 240}, 1, true},
        {"left edge of shp15", {2640, 5240}, 1, true},
        {"left edge of shp28", {5640, 5440}, 1, true},
        {"left edges of shp28 and shp19", {5640, 6440}, 2, true},
        // shp3 catches the bottom-right corner instead.
        {"shp3 under the bottom-right corner", {3160, 240}, 1},
        {"right edge of shp3 under the bottom-right corner", {3240, 240}, 1, true},
        {"shp3 under the left edge but not the bottom-right corner", {3560, 240}, 0},
        {"shp3 between the two corners", {3360, 240}, 0},
        // A wall under the right-hand part of the piece only.
        {"piece across shp5, corner left of it", {6160, 240}, 0},
        {"piece across the left end of shp6", {2360, 440}, 0},
        // Just outside an edge.
        {"one step left of shp39", {6160, 1640}, 0},
        {"one step below shp10", {4960, 5240}, 0},
        {"one step below shp8", {4160, 1640}, 0},
        {"one step left of shp25", {7960, 1440}, 0},
        // In a vertical and a horizontal wall at once: both checks call.
        {"shp10 and shp4", {4960, 440}, 2},
        {"shp5 and shp4", {6360, 440}, 2},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        if (row.skipjump)
            game.maze.editText("skipjump");
        ASSERT_TRUE(judgeAt(game, row.piece));
        EXPECT_EQ(game.platform.boxCount(gameOverBox), 2 * row.losses);
        EXPECT_EQ(game.platform.boxes().size(), static_cast<std::size_t>(2 * row.losses));
        EXPECT_EQ(game.piecePosition(), row.losses > 0 ? start : row.piece);
    }
}

TEST(Walls, PieceLyingAcrossShp5IsCaughtOnlyOnceItsCornerIsInside)
{
    Game game;
    const std::int16_t keys[] = {vbKeyRight, vbKeyRight, vbKeyRight};
    const Point after[] = {{5960, 240}, {6160, 240}, {6360, 240}};
    const int recordedLeft[] = {5760, 5960, 6160};
    for (std::size_t i = 0; i < 3; ++i) {
        game.maze.keyDown(keys[i]);
        EXPECT_EQ(game.piecePosition(), after[i]);
        EXPECT_EQ(game.maze.variables().youleft, recordedLeft[i]);
        EXPECT_EQ(game.maze.variables().youbottom, 615);
        EXPECT_TRUE(game.platform.boxes().empty()) << "after Right " << i + 1;
    }
    // A key that steps back out is too late: it judges where the piece stood.
    game.maze.keyDown(vbKeyLeft);
    EXPECT_EQ(game.maze.variables().youleft, 6360);
    EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
    EXPECT_EQ(game.piecePosition(), start);
}

TEST(Walls, StepDownIntoShp4IsCaughtAtTheFollowingKey)
{
    Game game;
    game.maze.keyDown(vbKeyDown);
    EXPECT_EQ(game.maze.variables().youbottom, 615);
    EXPECT_EQ(game.piecePosition(), (Point{5760, 440}));
    EXPECT_TRUE(game.platform.boxes().empty());

    game.maze.keyDown(keySpace);
    EXPECT_EQ(game.maze.variables().youleft, 5760);
    EXPECT_EQ(game.maze.variables().youbottom, 815);
    EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
    EXPECT_EQ(game.piecePosition(), start);
}

TEST(Walls, TwoHitsInOneKeyAskTwiceAndResetTwice)
{
    Game game;
    ASSERT_TRUE(game.walkTo({4960, 440}));
    std::vector<Point> seenInBoxes;
    game.platform.whileBoxIsOpen(
        [&](const MessageBoxShown &) { seenInBoxes.push_back(game.piecePosition()); });
    game.maze.click(Clickable::cmdstart);
    game.maze.keyDown(keySpace);
    EXPECT_EQ(game.platform.boxes(), std::vector(4, gameOverBox));
    // The second wall is still tested at the recorded corner, after the first reset.
    EXPECT_EQ(seenInBoxes, (std::vector<Point>{{4960, 440}, {4960, 440}, start, start}));
    EXPECT_TRUE(game.maze.control(Element::cmdstart).visible());
}

TEST(Walls, NoToTheFirstGameOverTestsNoFurtherWall)
{
    Game game;
    ASSERT_TRUE(game.walkTo({4960, 440}));
    game.platform.answer({Yes, No});
    EXPECT_TRUE(game.maze.keyDown(keySpace));
    EXPECT_EQ(game.platform.boxes(), (std::vector{gameOverBox, gameOverBox}));
    EXPECT_TRUE(game.maze.ended());
    EXPECT_EQ(game.platform.endCalls(), 1);
    EXPECT_EQ(game.piecePosition(), (Point{4960, 440})) << "no reset after No";
    EXPECT_FALSE(game.maze.keyDown(keySpace));
    EXPECT_EQ(game.platform.boxes().size(), 2U);
}

TEST(Walls, OnlyTheSecondAnswerCountsSoNoThenYesTestsOn)
{
    Game game;
    ASSERT_TRUE(game.walkTo({4960, 440}));
    game.platform.answer({No, Yes, Yes, Yes});
    game.maze.keyDown(keySpace);
    EXPECT_EQ(game.platform.boxes(), std::vector(4, gameOverBox));
    EXPECT_FALSE(game.maze.ended());
    EXPECT_EQ(game.piecePosition(), start);
}

} // namespace
