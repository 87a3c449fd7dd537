#include "keymap.h"
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

// Each range of the key map at both ends and one step past, and keys only its table knows: a
// recording made in the window holds these codes, and the driver replays them.
TEST(KeyMap, EachQtKeyBecomesTheVirtualKeyCodeTheRulesKnow)
{
    struct Row
    {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::int16_t code;
        const char *fault;
    };
    const Row rows[] = {
        {Qt::Key_A, Qt::NoModifier, 65, "letters shifted"},
        {Qt::Key_Z, Qt::NoModifier, 90, "the last letter lost"},
        {Qt::Key_9, Qt::NoModifier, 57, "the last digit lost"},
        {Qt::Key_0, Qt::KeypadModifier, 96, "the keypad's digits shifted"},
        {Qt::Key_9, Qt::KeypadModifier, 105, "the keypad's last digit lost"},
        {Qt::Key_F1, Qt::NoModifier, 112, "the function keys shifted"},
        {Qt::Key_F24, Qt::NoModifier, 135, "the last function key lost"},
        {Qt::Key_F25, Qt::NoModifier, 0, "a function key past F24 given a code"},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9, "Shift+Tab is not Tab"},
        {Qt::Key_Comma, Qt::KeypadModifier, 110, "the keypad's comma is the main comma"},
        {Qt::Key_Period, Qt::KeypadModifier, 110, "the keypad's point is the main point"},
        {Qt::Key_Comma, Qt::NoModifier, 188, "the main comma is the keypad's"},
        {Qt::Key_Left, Qt::KeypadModifier, 37, "the keypad's arrows lost"},
        {Qt::Key_ParenRight, Qt::ShiftModifier, 48, "shifted punctuation not on its key"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(virtualKeyCode(row.key, row.modifiers), row.code) << row.fault;

    const std::pair<Qt::KeyboardModifiers, std::int16_t> states[] = {
        {Qt::NoModifier, 0},
        {Qt::ShiftModifier, 1},
        {Qt::ControlModifier, 2},
        {Qt::AltModifier, 4},
        {Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7},
        {Qt::KeypadModifier | Qt::MetaModifier, 0},
    };
    for (const auto &[modifiers, state] : states)
        EXPECT_EQ(shiftState(modifiers), state) << modifiers.toInt();
}

} // namespace
} // namespace quorvale::ui::test
