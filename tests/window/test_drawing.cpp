#include "windowtest.h"

#include <QAction>
#include <QImage>

namespace quorvale::ui::test {
namespace {

constexpr QRgb ground = 0xFF800000;
constexpr QRgb boardGrey = 0xFFC8C8C8;
constexpr QRgb black = 0xFF000000;
constexpr QRgb green = 0xFF00FF00;

using Drawing = WindowTest;

struct Sample
{
    const char *what;
    const char *after; // a menu item or control clicked before this sample and the next
    QPoint at;         // logical pixels of the client area
    QRgb expected;
    bool same = true; // false: anything but the expected colour (the edge is antialiased)
};

TEST_F(Drawing, EveryElementShowsWhereTheLayoutPutsIt)
{
    const QPoint pieceCorner(386, 18); // inside a square of the piece, outside its circle
    const Sample samples[] = {
        {"window ground, top left", nullptr, {5, 5}, ground},
        {"window ground, bottom right", nullptr, {665, 575}, ground},
        {"label ground", nullptr, {50, 100}, ground},
        {"board inside", nullptr, {140, 400}, boardGrey},
        {"board border, 5 px wide", nullptr, {132, 300}, black},
        {"board just outside its left edge", nullptr, {127, 300}, ground},
        {"wall shp10", nullptr, {328, 355}, black},
        {"left of wall shp10", nullptr, {319, 355}, boardGrey},
        {"first column of wall shp10", nullptr, {320, 355}, black},
        {"last column of wall shp10", nullptr, {336, 355}, black},
        {"right of wall shp10", nullptr, {337, 355}, boardGrey},
        {"goal", nullptr, {452, 28}, 0xFFFF00FF},
        {"piece", nullptr, {396, 28}, green},
        {"ball 1", nullptr, {148, 28}, black},
        {"ball 2", nullptr, {644, 28}, black},
        {"stop marker 1", nullptr, {288, 144}, 0xFFFFFFE1},
        {"stop marker 2", nullptr, {464, 144}, 0xFFFFFFE1},
        // Its outline's last column, where a typo in its width would leave the board showing.
        {"stop marker 2 reaches its full width", nullptr, {480, 144}, boardGrey, false},
        {"right of stop marker 2", nullptr, {482, 144}, boardGrey},
        {"cheat box", nullptr, {580, 556}, 0xFFC00000},
        {"start button over wall shp10", nullptr, {320, 200}, 0xFFFFFFFF},
        {"circle piece leaves its corner", nullptr, pieceCorner, boardGrey},
        {"square piece fills its corner", "mnueditshapesquare", pieceCorner, green},
        {"rounded square leaves its corner", "mnueditshapers", pieceCorner, green, false},
        {"rounded square fills its top middle", nullptr, {396, 18}, green},
        {"circle again leaves the corner", "mnueditshapecircle", pieceCorner, boardGrey},
        {"blue option recolours the border", "optblue", {132, 300}, 0xFF0000FF},
    };
    openWindow();
    const auto grab = [this] {
        return m_window->board()->grab().toImage();
    };
    QImage image = grab();
    for (const Sample &s : samples) {
        if (s.after) {
            if (auto *action = m_window->findChild<QAction *>(QString::fromLatin1(s.after)))
                action->trigger();
            else
                QTest::mouseClick(child(s.after), Qt::LeftButton);
            image = grab();
        }
        const QRgb seen = image.pixel(s.at) | 0xFF000000;
        EXPECT_EQ(seen == s.expected, s.same) << s.what << std::hex << ": seen 0x" << seen;
    }
}

} // namespace
} // namespace quorvale::ui::test
