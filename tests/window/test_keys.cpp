#include "windowtest.h"

#include "keymap.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace quorvale::ui::test {
namespace {

struct KeyCase
{
    int key;
    Qt::KeyboardModifiers modifiers;
    std::int16_t code;
};

TEST(KeyMap, QtKeysBecomeWindowsVirtualKeyCodes)
{
    const KeyCase cases[] = {
        {Qt::Key_Left, Qt::NoModifier, 37},      {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Right, Qt::NoModifier, 39},     {Qt::Key_Down, Qt::NoModifier, 40},
        {Qt::Key_Left, Qt::KeypadModifier, 37},  {Qt::Key_A, Qt::NoModifier, 65},
        {Qt::Key_Z, Qt::ShiftModifier, 90},      {Qt::Key_0, Qt::NoModifier, 48},
        {Qt::Key_9, Qt::NoModifier, 57},         {Qt::Key_5, Qt::KeypadModifier, 101},
        {Qt::Key_Exclam, Qt::ShiftModifier, 49}, {Qt::Key_F1, Qt::NoModifier, 112},
        {Qt::Key_F12, Qt::NoModifier, 123},      {Qt::Key_Space, Qt::NoModifier, 32},
        {Qt::Key_Return, Qt::NoModifier, 13},    {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, Qt::NoModifier, 27},    {Qt::Key_Tab, Qt::NoModifier, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9}, {Qt::Key_Backspace, Qt::NoModifier, 8},
        {Qt::Key_Delete, Qt::NoModifier, 46},    {Qt::Key_Home, Qt::NoModifier, 36},
        {Qt::Key_PageDown, Qt::NoModifier, 34},  {Qt::Key_Shift, Qt::ShiftModifier, 16},
        {Qt::Key_Comma, Qt::NoModifier, 188},    {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_VolumeUp, Qt::NoModifier, 0},   {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const KeyCase &c : cases)
        EXPECT_EQ(virtualKeyCode(c.key, c.modifiers), c.code) << std::hex << c.key;
}

TEST(KeyMap, ShiftStateHasShiftCtrlAndAltBits)
{
    EXPECT_EQ(shiftState(Qt::NoModifier), 0);
    EXPECT_EQ(shiftState(Qt::ShiftModifier), 1);
    EXPECT_EQ(shiftState(Qt::ControlModifier), 2);
    EXPECT_EQ(shiftState(Qt::AltModifier), 4);
    EXPECT_EQ(shiftState(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier), 5);
}

class Keys : public WindowTest
{
protected:
    float pieceLeft() const { return maze().shape(Element::shpyou).left(); }
    float pieceTop() const { return maze().shape(Element::shpyou).top(); }
};

TEST_F(Keys, StartButtonHoldsTheFocusWhenTheWindowOpens)
{
    openWindow();
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("cmdstart"));
    // Before play the keys belong to the focused control, not to the game.
    press(Qt::Key_Left);
    EXPECT_EQ(pieceLeft(), 5760.0F);
    EXPECT_EQ(maze().variables().youleft, 0) << "no key press reached the game";
}

TEST_F(Keys, StartClickHidesTheSetupAndArrowsReachTheGame)
{
    MainWindow &window = openWindow();
    clickStart();
    for (const char *name :
         {"cmdstart", "txtcheat", "fraborder", "optred", "optgreen", "optblue", "optyellow"}) {
        EXPECT_FALSE(child<QWidget>(name)->isVisible()) << name;
    }
    EXPECT_EQ(QApplication::focusWidget(), window.board());

    press(Qt::Key_Left);
    EXPECT_EQ(pieceLeft(), 5560.0F);
    press(Qt::Key_Right);
    EXPECT_EQ(pieceLeft(), 5760.0F);
    press(Qt::Key_Down); // into wall shp4, which only the next key press would judge
    EXPECT_EQ(pieceTop(), 440.0F);
}

TEST_F(Keys, TabDuringPlayReachesTheGameAndKeepsTheFocus)
{
    MainWindow &window = openWindow();
    clickStart();
    press(Qt::Key_Left);
    ASSERT_EQ(maze().variables().youleft, 5760);
    press(Qt::Key_Tab);
    EXPECT_EQ(maze().variables().youleft, 5560) << "Tab ran the key-press turn";
    EXPECT_EQ(QApplication::focusWidget(), window.board());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.board());
    press(Qt::Key_Left);
    EXPECT_EQ(pieceLeft(), 5360.0F);
}

TEST_F(Keys, EveryAutoRepeatIsOneKeyPress)
{
    MainWindow &window = openWindow();
    clickStart();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), i > 0);
        QApplication::sendEvent(window.board(), &repeat);
    }
    EXPECT_EQ(pieceLeft(), 5160.0F);
}

TEST_F(Keys, SpaceOrEnterOnTheStartButtonStartsPlay)
{
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        openWindow();
        press(key);
        EXPECT_FALSE(maze().control(Element::cmdstart).visible()) << key;
    }
}

TEST_F(Keys, TypingInTheCheatBoxRunsItsCode)
{
    openWindow();
    auto *cheat = child<QLineEdit>("txtcheat");
    cheat->setFocus();
    QTest::keyClicks(cheat, QStringLiteral("skipjump"));
    EXPECT_EQ(pieceLeft(), 8640.0F);
    EXPECT_EQ(cheat->text(), QStringLiteral(" "));
    EXPECT_EQ(maze().cheatBox().text(), " ");
    // The box now holds a space, so the same code typed again does not match.
    QTest::keyClicks(cheat, QStringLiteral("iceclock"));
    EXPECT_TRUE(maze().timer(Element::Timer1).enabled());
    EXPECT_EQ(maze().cheatBox().text(), cheat->text().toStdString());
}

} // namespace
} // namespace quorvale::ui::test
