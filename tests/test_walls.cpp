#include "game.h"

using namespace quorvale;
using namespace quorvale::testing;

namespace {

// Walks to `p`, then lets a key that does not move judge it.
void judgeAt(Game &game, Point p, bool skipjump = false)
{
    if (skipjump)
        game.maze.editText("skipjump"); // left edges 80 twips off the usual grid
    ASSERT_TRUE(game.walkTo(p));
    game.maze.keyDown(keySpace);
}

TEST(Walls, EveryWallCatchesTheCornerTheRulesTestAndCostsOneGame)
{
    // For each wall a position whose tested corner (bottom-left; bottom-right for shp3) lies in
    // that wall and in no other.
    const std::pair<int, Point> rows[] = {
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
    for (const auto &[number, piece] : rows) {
        SCOPED_TRACE(::testing::Message() << "shp" << number);
        Game game;
        judgeAt(game, piece);
        EXPECT_EQ(game.platform.boxes, (std::vector{gameOverBox, gameOverBox}));
        EXPECT_EQ(game.piece(), start);
    }
}

TEST(Walls, EdgesCountAndOnlyTheTestedCornerCounts)
{
    struct Row
    {
        const char *what;
        Point piece;
        int losses;
        bool skipjump = false;
    };
    const Row rows[] = {
        {"left edge of shp13", {2760, 4240}, 1},
        {"bottom edge of shp10", {4960, 5040}, 1},
        {"bottom edge of shp8", {4160, 1440}, 1},
        {"left edge of shp25", {8160, 1440}, 1},
        {"left edge of shp5", {6240, 240}, 1, true},
        {"right edge of shp3 under the bottom-right corner", {3240, 240}, 1, true},
        {"shp3 under the bottom-left corner only", {3560, 240}, 0},
        {"shp3 between the two corners", {3360, 240}, 0},
        {"piece across shp5, corner left of it", {6160, 240}, 0},
        {"one step left of shp39", {6160, 1640}, 0},
        {"one step below shp10", {4960, 5240}, 0},
        // Both hits of one key press count; the second is tested after the first reset.
        {"shp10 and shp4", {4960, 440}, 2},
        {"shp33 and shp20 on their shared bottom edge", {9160, 6240}, 2},
        {"left edges of shp28 and shp19", {5640, 6440}, 2, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        judgeAt(game, row.piece, row.skipjump);
        EXPECT_EQ(game.platform.boxes, std::vector(2 * row.losses, gameOverBox));
        EXPECT_EQ(game.piece(), row.losses > 0 ? start : row.piece);
    }
}

} // namespace
