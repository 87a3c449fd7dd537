// What a screen reader finds in the window, over Qt's accessibility (AT-SPI on Linux).
#include "windowtest.h"

#include <QAccessible>
#include <QAction>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace quorvale::ui::test {
namespace {

using Accessibility = WindowTest;

std::string accessibleName(QObject *object)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name).toStdString() : "(no interface)";
}

// The start button shows only a picture and the board draws everything itself, so neither has a
// caption to be read out unless given a name. The cheat box has a name that keeps its secret.
TEST_F(Accessibility, StartButtonBoardAndCheatBoxHaveNamesThatKeepTheSecret)
{
    openWindow();
    EXPECT_EQ(accessibleName(child("cmdstart")), "Start");
    EXPECT_EQ(accessibleName(m_window->board()), "Maze");
    EXPECT_EQ(accessibleName(child("txtcheat")), "Text");
    EXPECT_EQ(accessibleName(child("optyellow")), "Yellow");
    EXPECT_EQ(accessibleName(child("fraborder")), "Border Colour");
}

std::vector<std::pair<QObject *, QAccessible::Event>> &announced()
{
    static std::vector<std::pair<QObject *, QAccessible::Event>> events;
    return events;
}

// The board draws the label, so a screen reader would find nothing there: it needs an element of
// its own among the board's, whose text is the caption, and a word when the caption changes.
TEST_F(Accessibility, AboutTextIsReadFromTheLabelAndItsChangeAnnounced)
{
    openWindow();
    announced().clear();
    // As when a screen reader is listening (Qt tells of changes only then), with a handler in
    // place of the bridge to it.
    QPlatformAccessibility *platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr);
    platform->setActive(true);
    QAccessible::installUpdateHandler(
        [](QAccessibleEvent *event) { announced().emplace_back(event->object(), event->type()); });
    child<QAction>("mnuhelpabout")->trigger();
    QAccessible::installUpdateHandler(nullptr);
    platform->setActive(false);
    const std::string caption = maze().label().caption();
    ASSERT_FALSE(caption.empty()) << "About wrote no caption";

    QAccessibleInterface *board = QAccessible::queryAccessibleInterface(m_window->board());
    ASSERT_NE(board, nullptr);
    QAccessibleInterface *label = nullptr;
    for (int i = 0; i < board->childCount(); ++i) {
        QAccessibleInterface *c = board->child(i);
        if (c && c->role() == QAccessible::StaticText)
            label = c;
    }
    ASSERT_NE(label, nullptr) << "no static text among the board's elements";
    EXPECT_EQ(label->text(QAccessible::Name).toStdString(), caption);
    EXPECT_FALSE(label->state().invisible);
    const auto told = std::count_if(announced().begin(), announced().end(), [label](const auto &e) {
        return e.first == label->object() && e.second == QAccessible::NameChanged;
    });
    EXPECT_EQ(told, 1) << "the new caption should be announced once";
}

} // namespace
} // namespace quorvale::ui::test
