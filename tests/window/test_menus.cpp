#include "windowtest.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <functional>
#include <string>

namespace quorvale::ui::test {
namespace {

class Menus : public WindowTest
{};

// The bar shows the game's menus with exactly their captions and nothing else.
TEST_F(Menus, BarHasTheGamesMenusExactly)
{
    MainWindow &window = openWindow();
    const std::function<void(const QList<QAction *> &, std::span<const MenuEntry>)> check =
        [&](const QList<QAction *> &actions, std::span<const MenuEntry> entries) {
            ASSERT_EQ(static_cast<std::size_t>(actions.size()), entries.size());
            for (std::size_t i = 0; i < entries.size(); ++i) {
                const QAction *action = actions[static_cast<qsizetype>(i)];
                const MenuEntry &entry = entries[i];
                const std::string caption(entry.caption);
                EXPECT_EQ(action->text().toStdString(), caption);
                EXPECT_FALSE(action->isSeparator()) << caption;
                EXPECT_FALSE(action->isCheckable()) << caption;
                EXPECT_TRUE(action->shortcut().isEmpty()) << caption;
                EXPECT_TRUE(action->isEnabled() && action->isVisible()) << caption;
                EXPECT_EQ(action->menu() != nullptr, !entry.action.has_value()) << caption;
                if (action->menu())
                    check(action->menu()->actions(), entry.items);
            }
        };
    check(window.menuBar()->actions(), menuBar);
}

struct LeafCase
{
    const char *name;
    std::function<bool(const Maze &)> reached; // none: checked after the others
};

TEST_F(Menus, EachLeafReachesItsProcedure)
{
    const auto you = [](const Maze &m) -> const ShapeElement & {
        return m.shape(Element::shpyou);
    };
    const auto board = [](const Maze &m) -> const ShapeElement & {
        return m.shape(Element::shpborder);
    };
    const LeafCase cases[] = {
        {"mnueditshapesquare",
         [&](const Maze &m) {
             return you(m).shape() == ShapeKind::Square;
         }},
        {"mnueditshapers",
         [&](const Maze &m) {
             return you(m).shape() == ShapeKind::RoundedSquare;
         }},
        {"mnueditshapecircle", {}},
        {"mnueditballred",
         [&](const Maze &m) {
             return you(m).fillColor() == colours::red;
         }},
        {"mnueditballblue",
         [&](const Maze &m) {
             return you(m).fillColor() == colours::blue;
         }},
        {"mnueditballgreen", {}},
        {"mnueditbackyellow",
         [&](const Maze &m) {
             return board(m).fillColor() == colours::yellow;
         }},
        {"mnueditbackorange",
         [&](const Maze &m) {
             return board(m).fillColor() == colours::orange;
         }},
        {"mnuhelpabout",
         [](const Maze &m) {
             return m.label().caption() == aboutText;
         }},
        {"mnufilestart",
         [](const Maze &m) {
             return m.control(Element::cmdstart).visible();
         }},
    };

    openWindow();
    for (const LeafCase &c : cases) {
        if (!c.reached)
            continue;
        if (std::string_view(c.name) == "mnufilestart")
            clickStart();
        ASSERT_FALSE(c.reached(maze())) << c.name << " already holds before the click";
        child<QAction>(c.name)->trigger();
        EXPECT_TRUE(c.reached(maze())) << c.name;
    }
    // The items that give back the start values, after the ones that changed them.
    child<QAction>("mnueditshapecircle")->trigger();
    EXPECT_EQ(maze().shape(Element::shpyou).shape(), ShapeKind::Circle);
    child<QAction>("mnueditballgreen")->trigger();
    EXPECT_EQ(maze().shape(Element::shpyou).fillColor(), colours::green);
}

TEST_F(Menus, MenusThatOpenListsRunNothing)
{
    openWindow();
    const auto before = maze().variables();
    for (const char *name :
         {"mnufile", "mnuedit", "mnuhelp", "mnueditshape", "mnueditball", "mnueditback"}) {
        child<QMenu>(name)->menuAction()->trigger();
    }
    EXPECT_EQ(maze().variables(), before);
    EXPECT_EQ(maze().shape(Element::shpyou).shape(), ShapeKind::Circle);
    EXPECT_TRUE(maze().control(Element::cmdstart).visible());
    EXPECT_FALSE(maze().ended());
}

} // namespace
} // namespace quorvale::ui::test
