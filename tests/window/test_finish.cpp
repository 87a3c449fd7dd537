// The window's finish, at every scale the tests run at (QT_SCALE_FACTOR 1, 1.5 and 2): edges on
// whole device pixels, nothing of one control bleeding past its outline.
#include "windowtest.h"

#include <QLineEdit>

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

constexpr QRgb darkRed = 0xFF800000; // the frame's BackColor

// Antialiased black caption text on the dark red: no green or blue, less red than the ground.
bool isText(QRgb c)
{
    return qRed(c) < 0x60 && qGreen(c) < 0x30 && qBlue(c) < 0x30;
}
bool isOutline(QRgb c)
{
    return qGreen(c) > 0x60 && qBlue(c) > 0x60; // grey or white, well off the dark red
}

// The frame's inside is its BackColor throughout, not a shade the style picks; its caption stands
// on the outline's top edge, which breaks off behind it; the outline shows on the dark red.
TEST_F(Finish, BorderFrameIsItsBackColorInsideWithTheCaptionOnItsOutline)
{
    MainWindow &window = openWindow();
    const QImage image = onScreen(window);
    const qreal dpr = window.devicePixelRatioF();
    const QRect frame = deviceRect(*child("fraborder"), window);
    const QRect firstOption = deviceRect(*child("optred"), window);

    // The outline's top edge, looked for just in from the left edge, before the caption.
    const int column = frame.left() + qRound(3 * dpr);
    int outlineTop = -1;
    for (int y = frame.top(); y < firstOption.top() && outlineTop < 0; ++y) {
        if (image.pixel(column, y) != darkRed)
            outlineTop = y;
    }
    ASSERT_GE(outlineTop, 0) << "no outline above the options";
    EXPECT_TRUE(isOutline(image.pixel(column, outlineTop)))
        << std::hex << image.pixel(column, outlineTop);
    EXPECT_TRUE(isOutline(image.pixel(frame.right() - qRound(dpr), firstOption.top())))
        << "no right edge";
    EXPECT_TRUE(isOutline(image.pixel(frame.center().x(), frame.bottom() - qRound(dpr))))
        << "no bottom edge";

    // The caption's extent.
    QRect caption;
    for (int y = frame.top(); y < firstOption.top(); ++y) {
        for (int x = frame.left(); x <= frame.right(); ++x) {
            if (isText(image.pixel(x, y)))
                caption |= QRect(x, y, 1, 1);
        }
    }
    ASSERT_FALSE(caption.isEmpty()) << "no caption";
    EXPECT_LT(caption.top(), outlineTop) << "the caption stands above the outline";
    EXPECT_GT(caption.bottom(), outlineTop) << "the caption hangs below the outline";
    int outlineBehindCaption = 0;
    for (int x = caption.left() - 1; x <= caption.right() + 1; ++x) {
        for (int y = outlineTop; y < outlineTop + qRound(2 * dpr); ++y)
            outlineBehindCaption += isOutline(image.pixel(x, y));
    }
    EXPECT_EQ(outlineBehindCaption, 0) << "the outline runs through the caption";

    // Inside the outline, away from the caption's smoothed edges and the option buttons' own
    // rectangles: the ground alone.
    const QRect text = caption.adjusted(-2, -2, 2, 2);
    QRegion options;
    for (const char *name : {"optred", "optgreen", "optblue", "optyellow"})
        options += deviceRect(*child(name), window);
    const QRect inside(QPoint(frame.left() + qRound(3 * dpr), outlineTop + qRound(3 * dpr)),
                       QPoint(frame.right() - qRound(3 * dpr), frame.bottom() - qRound(3 * dpr)));
    int notGround = 0;
    QRgb seen = darkRed;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (text.contains(x, y) || options.contains(QPoint(x, y)))
                continue;
            if (const QRgb c = image.pixel(x, y); c != darkRed) {
                ++notGround;
                seen = c;
            }
        }
    }
    EXPECT_EQ(notGround, 0) << std::hex << "for example 0x" << seen;
}

struct BoxIcon
{
    const char *name;
    const char *cheat;         // typed before play
    std::vector<Qt::Key> keys; // the last one opens the boxes
};

// The boxes' icons are drawn for the screen's pixel density, as the rest of the window is, not
// small bitmaps scaled up.
TEST_F(Finish, MessageBoxIconsAreDrawnAtTheScreensPixelDensity)
{
    const BoxIcon endings[] = {
        {"loss", "", {Qt::Key_Up, Qt::Key_Up}},
        {"win", "skipjump", std::vector(10, Qt::Key_Left)},
    };
    for (const BoxIcon &e : endings) {
        SCOPED_TRACE(e.name);
        MainWindow &window = openWindow();
        QTest::keyClicks(child<QLineEdit>("txtcheat"), QString::fromLatin1(e.cheat));
        clickStart();
        std::vector<QPixmap> icons;
        BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes},
                             [&](QMessageBox &box) { icons.push_back(box.iconPixmap()); });
        for (const Qt::Key key : e.keys)
            press(key);
        ASSERT_EQ(icons.size(), 2U);
        const qreal dpr = window.devicePixelRatioF();
        for (const QPixmap &icon : icons) {
            EXPECT_EQ(icon.deviceIndependentSize(), QSizeF(32, 32));
            EXPECT_EQ(icon.devicePixelRatio(), dpr);
            EXPECT_EQ(icon.size(), QSize(qRound(32 * dpr), qRound(32 * dpr)))
                << "a bitmap of " << icon.width() << " pixels scaled up";
        }
    }
}

} // namespace
} // namespace quorvale::ui::test
