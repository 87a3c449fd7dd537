#include "windowtest.h"

#include <QAction>
#include <QMenu>

namespace quorvale::ui::test {
namespace {

using Menus = WindowTest;

const ShapeElement &piece(const Maze &m)
{
    return m.shape(Element::shpyou);
}

const ShapeElement &board(const Maze &m)
{
    return m.shape(Element::shpborder);
}

TEST_F(Menus, EachLeafReachesItsProcedureAndNothingElseDoes)
{
    // What each leaf's procedure sets; in an order where each changes what the one before set.
    using Reached = bool (*)(const Maze &);
    const std::pair<const char *, Reached> leaves[] = {
        // clang-format off
        {"mnueditshapesquare", [](auto &m) { return piece(m).shape() == ShapeKind::Square; }},
        {"mnueditshapers", [](auto &m) { return piece(m).shape() == ShapeKind::RoundedSquare; }},
        {"mnueditshapecircle", [](auto &m) { return piece(m).shape() == ShapeKind::Circle; }},
        {"mnueditballred", [](auto &m) { return piece(m).fillColor() == colours::red; }},
        {"mnueditballblue", [](auto &m) { return piece(m).fillColor() == colours::blue; }},
        {"mnueditballgreen", [](auto &m) { return piece(m).fillColor() == colours::green; }},
        {"mnueditbackyellow", [](auto &m) { return board(m).fillColor() == colours::yellow; }},
        {"mnueditbackorange", [](auto &m) { return board(m).fillColor() == colours::orange; }},
        {"mnuhelpabout", [](auto &m) { return m.label().caption() == aboutText; }},
        {"mnufilestart", [](auto &m) { return m.control(Element::cmdstart).visible(); }},
        // clang-format on
    };
    openWindow();
    const FormVariables before = maze().variables();
    for (const char *name :
         {"mnufile", "mnuedit", "mnuhelp", "mnueditshape", "mnueditball", "mnueditback"}) {
        child<QMenu>(name)->menuAction()->trigger();
    }
    EXPECT_EQ(maze().variables(), before);
    EXPECT_EQ(piece(maze()).shape(), ShapeKind::Circle);
    EXPECT_TRUE(maze().control(Element::cmdstart).visible());
    EXPECT_FALSE(maze().ended());

    clickStart();
    for (const auto &[name, reached] : leaves) {
        ASSERT_FALSE(reached(maze())) << name << " already holds before the click";
        child<QAction>(name)->trigger();
        EXPECT_TRUE(reached(maze())) << name;
    }
}

} // namespace
} // namespace quorvale::ui::test
