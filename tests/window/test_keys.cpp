#include "windowtest.h"

namespace quorvale::ui::test {
namespace {

using Keys = WindowTest;

struct PlayKey
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    float left; // where the piece stands afterwards
    float top;
    std::int16_t judged; // youleft: where the piece stood when the press was judged
};

// Before play the start button holds the focus and takes the keys, so Space or Enter starts;
// during play, with the setup hidden, the board keeps the focus and every key reaches the game.
TEST_F(Keys, FocusedControlTakesTheKeysAndDuringPlayTheGameTakesThemAll)
{
    openWindow();
    press(Qt::Key_Left);
    EXPECT_EQ(pieceLeft(), 5760.0F);
    EXPECT_EQ(maze().variables().youleft, 0) << "no key press reached the game";
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        openWindow();
        EXPECT_EQ(QApplication::focusWidget(), child("cmdstart"));
        press(key);
        EXPECT_FALSE(maze().control(Element::cmdstart).visible()) << key;
    }
    openWindow();
    clickStart();
    for (const char *name :
         {"cmdstart", "txtcheat", "fraborder", "optred", "optgreen", "optblue", "optyellow"}) {
        EXPECT_FALSE(child(name)->isVisible()) << name;
    }
    const PlayKey keys[] = {
        {Qt::Key_Left, Qt::NoModifier, 5560, 240, 5760},
        {Qt::Key_Right, Qt::KeypadModifier, 5760, 240, 5560}, // the keypad's arrows too
        {Qt::Key_Tab, Qt::NoModifier, 5760, 240, 5760},       // Tab ran the key-press turn
        {Qt::Key_Backtab, Qt::ShiftModifier, 5760, 240, 5760},
        {Qt::Key_Down, Qt::NoModifier, 5760, 440, 5760}, // into wall shp4, judged only next time
    };
    for (const PlayKey &k : keys) {
        EXPECT_EQ(QApplication::focusWidget(), m_window->board()) << k.key;
        press(k.key, k.modifiers);
        EXPECT_EQ(pieceLeft(), k.left) << k.key;
        EXPECT_EQ(maze().shape(Element::shpyou).top(), k.top) << k.key;
        EXPECT_EQ(maze().variables().youleft, k.judged) << k.key;
    }
}

} // namespace
} // namespace quorvale::ui::test
