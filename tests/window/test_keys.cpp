#include "windowtest.h"

namespace quorvale::ui::test {
namespace {

using Keys = WindowTest;

TEST_F(Keys, SpaceReturnOrEnterOnTheStartButtonStartsPlay)
{
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        openWindow();
        ASSERT_EQ(QApplication::focusWidget(), child("cmdstart"));
        press(key);
        EXPECT_FALSE(maze().control(Element::cmdstart).visible()) << key;
    }
}

TEST_F(Keys, StartingPlayHidesEverySetupControlAndGivesTheBoardTheFocus)
{
    openWindow();
    clickStart();
    for (const char *name :
         {"cmdstart", "txtcheat", "fraborder", "optred", "optgreen", "optblue", "optyellow"}) {
        EXPECT_FALSE(child(name)->isVisible()) << name;
    }
    EXPECT_EQ(QApplication::focusWidget(), m_window->board());
}

struct PlayKey
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    float left; // where the piece stands afterwards
    float top;
    std::int16_t judged; // youleft: where the piece stood when the press was judged
};

// Every key of the keyboard is a key press of the game during play, arrows from either block
// move the piece, and a key that moves nothing still runs the turn.
TEST_F(Keys, DuringPlayEveryKeyReachesTheGameAsItsVirtualKeyCode)
{
    openWindow();
    clickStart();
    const PlayKey keys[] = {
        {Qt::Key_Left, Qt::NoModifier, 5560, 240, 5760},
        {Qt::Key_Right, Qt::KeypadModifier, 5760, 240, 5560}, // the keypad's arrows too
        {Qt::Key_Tab, Qt::NoModifier, 5760, 240, 5760},       // Tab ran the key-press turn
        {Qt::Key_Backtab, Qt::ShiftModifier, 5760, 240, 5760},
        {Qt::Key_Down, Qt::NoModifier, 5760, 440, 5760}, // into wall shp4, judged only next time
    };
    for (const PlayKey &k : keys) {
        press(k.key, k.modifiers);
        EXPECT_EQ(QApplication::focusWidget(), m_window->board()) << k.key << " moved the focus";
        EXPECT_EQ(pieceLeft(), k.left) << k.key;
        EXPECT_EQ(maze().shape(Element::shpyou).top(), k.top) << k.key;
        EXPECT_EQ(maze().variables().youleft, k.judged) << k.key;
    }
}

} // namespace
} // namespace quorvale::ui::test
