// The program ending in the middle of a tick: the ball's GAME OVER box is open when the player
// closes the window or answers No. The tick stops right there, no second box opens, no reset
// runs, and nothing reaches the game afterwards.

#include "fakeplatform.h"
#include "maze.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvale {
namespace {

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
        testing::FakePlatform platform;
        Maze maze(platform);
        platform.answerWith([&](const testing::MessageBoxShown &) {
            const auto box = static_cast<std::size_t>(platform.boxCount);
            if (c.closeInFirstBox && box == 1)
                maze.close();
            return box <= c.answers.size() ? c.answers[box - 1] : MsgBoxResult::Yes;
        });

        // The jump code, then three steps right: the piece's top-right corner stands in ball 2's
        // column, so the ball's next tick touches it.
        ASSERT_TRUE(maze.editText("skipjump"));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(maze.keyDown(vbKeyRight));
        ASSERT_EQ(platform.boxCount, 0);
        const ShapeElement &piece = maze.shape(Element::shpyou);
        ASSERT_EQ(piece.left(), 9240.0F);

        EXPECT_TRUE(maze.tick(Element::Timer2));
        EXPECT_TRUE(maze.ended());
        EXPECT_EQ(platform.endCalls, 1);
        EXPECT_EQ(platform.errorCount, 0);
        EXPECT_EQ(static_cast<std::size_t>(platform.boxCount), c.answers.size());
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
        EXPECT_EQ(platform.endCalls, 1);
        EXPECT_EQ(static_cast<std::size_t>(platform.boxCount), c.answers.size());
        EXPECT_EQ(platform.noticesAfterEnd, 0);
        EXPECT_EQ(piece.left(), 9240.0F);
    }
}

} // namespace
} // namespace quorvale
