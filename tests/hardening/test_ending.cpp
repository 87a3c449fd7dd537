// The program ending in the middle of a tick: the ball's GAME OVER box is open when the player
// closes the window or answers No. The tick stops right there, no second box opens, no reset
// runs, and nothing reaches the game afterwards.

#include "maze.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace quorvale {
namespace {

enum class Ending { CloseWindowThenYes, BoxClosedWithWindow, NoToBoth, YesThenNo };

struct EndingCase
{
    const char *name;
    Ending ending;
    int boxesShown;
};

void PrintTo(const EndingCase &c, std::ostream *os)
{
    *os << c.name;
}

class EndingPlatform final : public Platform
{
public:
    explicit EndingPlatform(Ending ending) : m_ending(ending) {}
    void attach(Maze &maze) { m_maze = &maze; }

    MsgBoxResult messageBox(std::string_view, int, std::string_view) override
    {
        ++m_boxes;
        if (!m_armed)
            return MsgBoxResult::Yes;
        switch (m_ending) {
        case Ending::CloseWindowThenYes:
            m_maze->close();
            return MsgBoxResult::Yes;
        case Ending::BoxClosedWithWindow:
            return MsgBoxResult::Closed;
        case Ending::NoToBoth:
            return MsgBoxResult::No;
        case Ending::YesThenNo:
            return m_boxes % 2 == 1 ? MsgBoxResult::Yes : MsgBoxResult::No;
        }
        return MsgBoxResult::Yes;
    }
    void endProgram() override { ++m_ends; }
    void runtimeError(int, std::string_view) override { ++m_errors; }
    void propertyChanged(Element, Property) override { m_noticesAfterEnd += m_ends > 0 ? 1 : 0; }

    // From now on the boxes end the program as the case says.
    void arm()
    {
        m_armed = true;
        m_boxes = 0;
    }
    int boxes() const { return m_boxes; }
    int ends() const { return m_ends; }
    int errors() const { return m_errors; }
    int noticesAfterEnd() const { return m_noticesAfterEnd; }

private:
    Ending m_ending;
    Maze *m_maze = nullptr; // not owned
    bool m_armed = false;
    int m_boxes = 0;
    int m_ends = 0;
    int m_errors = 0;
    int m_noticesAfterEnd = 0;
};

class EndInsideATick : public ::testing::TestWithParam<EndingCase>
{};

TEST_P(EndInsideATick, StopsTheTickThereAndDeliversNothingAfter)
{
    EndingPlatform platform(GetParam().ending);
    Maze maze(platform);
    platform.attach(maze);

    // The jump code, then three steps right: the piece's top-right corner stands in ball 2's
    // column, so the ball's next tick touches it.
    ASSERT_TRUE(maze.editText("skipjump"));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(maze.keyDown(vbKeyRight));
    ASSERT_EQ(platform.boxes(), 0);
    const ShapeElement &piece = maze.shape(Element::shpyou);
    ASSERT_EQ(piece.left(), 9240.0F);

    platform.arm();
    EXPECT_TRUE(maze.tick(Element::Timer2));

    EXPECT_TRUE(maze.ended());
    EXPECT_EQ(platform.ends(), 1);
    EXPECT_EQ(platform.errors(), 0);
    EXPECT_EQ(platform.boxes(), GetParam().boxesShown);
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
    EXPECT_EQ(platform.ends(), 1);
    EXPECT_EQ(platform.boxes(), GetParam().boxesShown);
    EXPECT_EQ(platform.noticesAfterEnd(), 0);
    EXPECT_EQ(piece.left(), 9240.0F);
}

INSTANTIATE_TEST_SUITE_P(
    Hardening, EndInsideATick,
    ::testing::Values(EndingCase{"WindowClosedWhileTheBoxIsOpen", Ending::CloseWindowThenYes, 1},
                      EndingCase{"BoxGoneWithTheWindow", Ending::BoxClosedWithWindow, 1},
                      EndingCase{"NoToBothBoxes", Ending::NoToBoth, 2},
                      EndingCase{"YesThenNo", Ending::YesThenNo, 2}),
    [](const ::testing::TestParamInfo<EndingCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvale
