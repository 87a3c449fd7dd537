// The window's finish, at every scale the tests run at (QT_SCALE_FACTOR 1, 1.5 and 2): edges on
// whole device pixels, nothing of one control bleeding past its outline.
#include "windowtest.h"

#include <QScreen>

namespace quorvale::ui::test {
namespace {

using Finish = WindowTest;

constexpr QRgb black = 0xFF000000;
constexpr QRgb white = 0xFFFFFFFF;

// The window in device pixels, composed as for the screen: each widget clipped to its own
// rectangle, which Qt rounds to whole device pixels. (The offscreen platform's screen grab would
// cut the image to the window's logical size.)
QImage onScreen(QWidget &window)
{
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Where a widget lies in the window's device pixels: its rectangle scaled, each edge rounded.
QRect deviceRect(const QWidget &widget, const QWidget &window)
{
    const qreal dpr = window.devicePixelRatioF();
    const QRectF exact(QPointF(widget.mapTo(&window, QPoint(0, 0))) * dpr,
                       QSizeF(widget.size()) * dpr);
    return QRect(QPoint(qRound(exact.left()), qRound(exact.top())),
                 QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
}

// The start picture's ground is white; the bevel's dark edges must lie on the button's last
// row and column, with none of that white beyond them.
TEST_F(Finish, StartButtonBevelLiesOnItsOutermostPixels)
{
    MainWindow &window = openWindow();
    const QImage image = onScreen(window);
    const QRect button = deviceRect(*child("cmdstart"), window);
    ASSERT_TRUE(image.rect().contains(button.adjusted(0, 0, 2, 2)));
    int bottomDark = 0;
    int whiteBelow = 0;
    for (int x = button.left() + 2; x < button.right() - 1; ++x) {
        bottomDark += image.pixel(x, button.bottom()) == black;
        whiteBelow += image.pixel(x, button.bottom() + 1) == white;
    }
    int rightDark = 0;
    int whiteRight = 0;
    for (int y = button.top() + 2; y < button.bottom() - 1; ++y) {
        rightDark += image.pixel(button.right(), y) == black;
        whiteRight += image.pixel(button.right() + 1, y) == white;
    }
    EXPECT_EQ(bottomDark, button.width() - 4) << "the bottom row is not all bevel";
    EXPECT_EQ(rightDark, button.height() - 4) << "the right column is not all bevel";
    EXPECT_EQ(whiteBelow, 0) << "the picture's ground shows below the button";
    EXPECT_EQ(whiteRight, 0) << "the picture's ground shows right of the button";
}

} // namespace
} // namespace quorvale::ui::test
