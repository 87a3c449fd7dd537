// What a screen reader finds in the window, over Qt's accessibility (AT-SPI on Linux).
#include "windowtest.h"

#include <QAccessible>

namespace quorvale::ui::test {
namespace {

using Accessibility = WindowTest;

std::string accessibleName(QObject *object)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name).toStdString() : "(no interface)";
}

// The start button shows only a picture and the board draws everything itself, so neither has a
// caption to be read out unless given a name. The cheat box keeps its secret.
TEST_F(Accessibility, StartButtonAndBoardHaveNamesAndTheCheatBoxNone)
{
    openWindow();
    EXPECT_EQ(accessibleName(child("cmdstart")), "Start");
    EXPECT_EQ(accessibleName(m_window->board()), "Maze");
    EXPECT_EQ(accessibleName(child("txtcheat")), "");
    EXPECT_EQ(accessibleName(child("optyellow")), "Yellow");
    EXPECT_EQ(accessibleName(child("fraborder")), "Border Colour");
}

} // namespace
} // namespace quorvale::ui::test
