// The program ending in the middle of a tick: the ball's GAME OVER box is open when the player
// closes the window or answers No. The tick stops right there, no second box opens, no reset
// runs, and nothing reaches the game afterwards.

#include "maze.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvale {
namespace {

// Answers each box with the next of its answers, after closing the window from inside the first
// box if asked to; counts what the game does, above all after its end.
struct EndingPlatform final : Platform
{
    MsgBoxResult messageBox(std::string_view, int, std::string_view) override
    {
        ++boxes;
        if (closeInFirstBox && boxes == 1)
            maze->close();
        return boxes <= answers.size() ? answers[boxes - 1] : MsgBoxResult::Yes;
    }
    void endProgram() override { ++ends; }
    void runtimeError(int, std::string_view) override { ++errors; }
    void propertyChanged(Element, Property) override { noticesAfterEnd += ends > 0 ? 1 : 0; }

    bool closeInFirstBox = false;
    std::vector<MsgBoxResult> answers; // one for each box the case expects
    Maze *maze = nullptr;
    std::size_t boxes = 0;
    int ends = 0, errors = 0, noticesAfterEnd = 0;
};

struct EndingCase
{
    const char *name;
    bool closeInFirstBox = false;
    std::vector<MsgBoxResult> answers;
};

TEST(EndInsideATick, StopsTheTickThereAndDeliversNothingAfter)
{
    using enum MsgBoxResult;
    const EndingCase cases[] = {
        {"window closed while the box is open", true, {Yes}},
        {"box gone with the window", false, {Closed}},
        {"No to both boxes", false, {No, No}},
        {"Yes then No", false, {Yes, No}},
    };
    for (const EndingCase &c : cases) {
        SCOPED_TRACE(c.name);
        EndingPlatform platform;
        platform.closeInFirstBox = c.closeInFirstBox;
        platform.answers = c.answers;
        Maze maze(platform);
        platform.maze = &maze;

        // The jump code, then three steps right: the piece's top-right corner stands in ball 2's
        // column, so the ball's next tick touches it.
        ASSERT_TRUE(maze.editText("skipjump"));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(maze.keyDown(vbKeyRight));
        ASSERT_EQ(platform.boxes, 0U);
        const ShapeElement &piece = maze.shape(Element::shpyou);
        ASSERT_EQ(piece.left(), 9240.0F);

        EXPECT_TRUE(maze.tick(Element::Timer2));
        EXPECT_TRUE(maze.ended());
        EXPECT_EQ(platform.ends, 1);
        EXPECT_EQ(platform.errors, 0);
        EXPECT_EQ(platform.boxes, c.answers.size());
        // No reset ran: the piece is where the ball caught it and the cheat box is still hidden.
        EXPECT_EQ(piece.left(), 9240.0F);
        EXPECT_EQ(piece.top(), 240.0F);
        EXPECT_EQ(maze.shape(Element::shpball2).top(), 40.0F);

        EXPECT_FALSE(maze.tick(Element::Timer1));
        EXPECT_FALSE(maze.tick(Element::Timer2));
        EXPECT_FALSE(maze.keyDown(vbKeyLeft));
        EXPECT_FALSE(maze.click(Clickable::mnufilestart));
        EXPECT_FALSE(maze.click(Clickable::mnufilequit));
        EXPECT_FALSE(maze.editText("gusto"));
        maze.close();
        EXPECT_EQ(platform.ends, 1);
        EXPECT_EQ(platform.boxes, c.answers.size());
        EXPECT_EQ(platform.noticesAfterEnd, 0);
        EXPECT_EQ(piece.left(), 9240.0F);
    }
}

} // namespace
} // namespace quorvale
