// Before play the start button keeps the keyboard, so Enter or Space always starts the game: the
// arrows do nothing on it, a click on an option leaves it focused, and every reset returns to it.
#include "windowtest.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>

namespace quorvale::ui::test {
namespace {

using SetupFocus = WindowTest;

std::string focused()
{
    const QWidget *w = QApplication::focusWidget();
    return w ? w->objectName().toStdString() : "(none)";
}

TEST_F(SetupFocus, ArrowsOnTheStartButtonNeitherMoveTheFocusNorReachTheGame)
{
    openWindow();
    const FormVariables before = maze().variables();
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
        press(key);
        EXPECT_EQ(focused(), "cmdstart") << key;
        EXPECT_EQ(maze().variables(), before) << key << " reached the game";
        EXPECT_EQ(pieceLeft(), 5760.0F) << key;
    }
    EXPECT_TRUE(child<QLineEdit>("txtcheat")->text().isEmpty());
    for (const char *name : {"optred", "optgreen", "optblue", "optyellow"})
        EXPECT_FALSE(child<QRadioButton>(name)->isChecked()) << name;
    press(Qt::Key_Space);
    EXPECT_FALSE(maze().control(Element::cmdstart).visible()) << "Space did not start";
}

struct OptionClick
{
    const char *option;
    Colour border;
    Qt::Key start;
};

TEST_F(SetupFocus, ClickedOptionIsChosenAndEnterOrSpaceStillStarts)
{
    const OptionClick clicks[] = {
        {"optred", colours::red, Qt::Key_Return},
        {"optgreen", colours::green, Qt::Key_Space},
        {"optblue", colours::blue, Qt::Key_Enter},
        {"optyellow", colours::yellow, Qt::Key_Space},
    };
    for (const OptionClick &c : clicks) {
        SCOPED_TRACE(c.option);
        openWindow();
        QTest::mouseClick(child(c.option), Qt::LeftButton);
        EXPECT_TRUE(child<QRadioButton>(c.option)->isChecked());
        EXPECT_EQ(maze().shape(Element::shpborder).borderColor(), c.border) << "no click raised";
        EXPECT_EQ(focused(), "cmdstart");
        press(c.start);
        EXPECT_FALSE(maze().control(Element::cmdstart).visible()) << "the key did not start";
    }
}

// What a click on an option no longer does, the keyboard still does: Tab enters the option group
// at its place in the tab order, the arrows move within it and Space chooses. And the cheat box
// still takes the focus from a click, or no code could be typed.
TEST_F(SetupFocus, TabAndClicksStillReachTheOptionsAndTheCheatBox)
{
    openWindow();
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        press(Qt::Key_Tab);
        visited.push_back(focused());
    }
    const std::vector<std::string> tabOrder = {"txtcheat", "optgreen", "cmdstart", "txtcheat"};
    EXPECT_EQ(visited, tabOrder);
    press(Qt::Key_Tab);
    press(Qt::Key_Down);
    EXPECT_EQ(focused(), "optblue");
    press(Qt::Key_Space);
    EXPECT_EQ(maze().shape(Element::shpborder).borderColor(), colours::blue);

    openWindow();
    auto *cheat = child<QLineEdit>("txtcheat");
    QTest::mouseClick(cheat, Qt::LeftButton);
    EXPECT_EQ(focused(), "txtcheat");
    for (const char ch : {'g', 'u', 's', 't', 'o'})
        press(Qt::Key(Qt::Key_A + (ch - 'a')));
    EXPECT_EQ(maze().shape(Element::shpyou).fillColor(), colours::yellow) << "the code was typed";
}

struct GroupEntry
{
    const char *chosen; // nullptr: no colour chosen yet
    bool backwards;     // Shift+Tab from the start button, else Tab from the cheat box
    const char *lands;
};

// The colour group is one stop of the tab order, entered at the chosen colour from either side,
// or at the first option in the tab order while none is chosen.
TEST_F(SetupFocus, TabIntoTheColourGroupLandsOnTheChosenOption)
{
    const GroupEntry cases[] = {
        {nullptr, false, "optgreen"},     {nullptr, true, "optgreen"},
        {"optblue", false, "optblue"},    {"optred", false, "optred"},
        {"optyellow", true, "optyellow"}, {"optgreen", true, "optgreen"},
    };
    for (const GroupEntry &c : cases) {
        SCOPED_TRACE(std::string(c.chosen ? c.chosen : "none chosen") +
                     (c.backwards ? ", Shift+Tab" : ", Tab"));
        openWindow();
        if (c.chosen)
            QTest::mouseClick(child(c.chosen), Qt::LeftButton);
        ASSERT_EQ(focused(), "cmdstart");
        const Qt::Key key = c.backwards ? Qt::Key_Backtab : Qt::Key_Tab;
        const Qt::KeyboardModifiers modifiers = c.backwards ? Qt::ShiftModifier : Qt::NoModifier;
        if (!c.backwards)
            press(key);
        press(key, modifiers);
        EXPECT_EQ(focused(), c.lands);
        press(key, modifiers);
        EXPECT_EQ(focused(), c.backwards ? "txtcheat" : "cmdstart") << "the group is one stop";
    }
}

enum class Before { ClickIntoCheatBox, TabToAnOption, Play };

struct StartOver
{
    const char *name;
    Before before;
};

// The window's opening and play again after a box already do; "Start Over" must too, also in
// setup, where it shows nothing new.
TEST_F(SetupFocus, StartOverLeavesTheFocusOnTheStartButton)
{
    const StartOver cases[] = {
        {"in setup, focus in the cheat box", Before::ClickIntoCheatBox},
        {"in setup, focus on an option", Before::TabToAnOption},
        {"in play", Before::Play},
    };
    for (const StartOver &c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        EXPECT_EQ(focused(), "cmdstart") << "as the window opens";
        switch (c.before) {
        case Before::ClickIntoCheatBox:
            QTest::mouseClick(child("txtcheat"), Qt::LeftButton);
            break;
        case Before::TabToAnOption:
            press(Qt::Key_Tab);
            press(Qt::Key_Tab);
            break;
        case Before::Play:
            clickStart();
            break;
        }
        EXPECT_NE(focused(), "cmdstart");
        child<QAction>("mnufilestart")->trigger();
        EXPECT_EQ(focused(), "cmdstart");
        press(Qt::Key_Return);
        EXPECT_FALSE(maze().control(Element::cmdstart).visible()) << "Enter did not start";
    }
}

} // namespace
} // namespace quorvale::ui::test
