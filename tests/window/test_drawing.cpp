#include "windowtest.h"

#include "answerer.h"

#include "geometry.h"
#include "startpicture.h"
#include "systemcolours.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QScreen>

#include <cstdlib>
#include <optional>

namespace quorvale::ui::test {
namespace {

struct Sample
{
    const char *what;
    QPoint at; // logical pixels of the client area
    QRgb expected;
};

constexpr QRgb ground = 0xFF800000;
constexpr QRgb boardGrey = 0xFFC8C8C8;
constexpr QRgb black = 0xFF000000;

class Drawing : public WindowTest
{
protected:
    QImage board() { return m_window->board()->grab().toImage(); }
    static QRgb at(const QImage &image, QPoint p) { return image.pixel(p) | 0xFF000000; }
};

TEST_F(Drawing, ClientAreaIsTheLayoutsSizeBelowTheMenuBar)
{
    MainWindow &window = openWindow();
    EXPECT_EQ(window.board()->size(), QSize(670, 579));
    EXPECT_EQ(window.board()->mapTo(&window, QPoint(0, 0)).y(), window.menuBar()->height());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Maze"));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window must not resize";
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/io.github.quorvale.Quorvale-48.png")));
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(48, 48)));
}

TEST_F(Drawing, EveryElementShowsWhereTheLayoutPutsIt)
{
    openWindow();
    const QImage image = board();
    const Sample samples[] = {
        {"window ground, top left", {5, 5}, ground},
        {"window ground, bottom right", {665, 575}, ground},
        {"label ground", {50, 100}, ground},
        {"board inside", {140, 400}, boardGrey},
        {"board border, 5 px wide", {132, 300}, black},
        {"board just outside its left edge", {127, 300}, ground},
        {"wall shp10", {328, 355}, black},
        {"left of wall shp10", {319, 355}, boardGrey},
        {"first column of wall shp10", {320, 355}, black},
        {"last column of wall shp10", {336, 355}, black},
        {"right of wall shp10", {337, 355}, boardGrey},
        {"goal", {452, 28}, 0xFFFF00FF},
        {"piece", {396, 28}, 0xFF00FF00},
        {"ball 1", {148, 28}, black},
        {"ball 2", {644, 28}, black},
        {"stop marker 1", {288, 144}, 0xFFFFFFE1},
        {"stop marker 2", {464, 144}, 0xFFFFFFE1},
        {"cheat box", {580, 556}, 0xFFC00000},
        {"start button over wall shp10", {320, 200}, 0xFFFFFFFF},
    };
    for (const Sample &s : samples)
        EXPECT_EQ(at(image, s.at), s.expected) << s.what;
}

TEST_F(Drawing, FigureKindsFollowThePiecesShape)
{
    openWindow();
    const QPoint nearCorner(386, 18); // inside a square of the piece, outside its circle
    const QPoint topMiddle(396, 18);  // inside every figure of the piece
    const QRgb green = 0xFF00FF00;
    EXPECT_NE(at(board(), nearCorner), green) << "circle";

    child<QAction>("mnueditshapesquare")->trigger();
    EXPECT_EQ(at(board(), nearCorner), green) << "square";

    child<QAction>("mnueditshapers")->trigger();
    EXPECT_NE(at(board(), nearCorner), green) << "rounded square";
    EXPECT_EQ(at(board(), topMiddle), green) << "rounded square";

    child<QAction>("mnueditshapecircle")->trigger();
    EXPECT_NE(at(board(), nearCorner), green) << "circle again";
}

TEST_F(Drawing, StartPictureShowsTheWordWhereTheButtonsFaceShowsIt)
{
    const QImage picture = drawStartPicture();
    ASSERT_EQ(picture.size(), QSize(229, 229));
    // The face, 169 by 73, shows the middle of the picture; all of the word must lie there.
    const QRect face(30, 78, 169, 73);
    int grey = 0;
    int gold = 0;
    int outside = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c == Qt::white)
                continue;
            if (!face.contains(x, y))
                ++outside;
            if (std::abs(c.red() - c.blue()) < 12 && c.red() < 200)
                ++grey;
            if (c.red() > 150 && c.red() > c.green() && c.green() > c.blue() + 60)
                ++gold;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(grey, 1000) << "grey letters";
    EXPECT_GT(gold, 200) << "gold outline";
}

TEST_F(Drawing, SquareKindsUseTheSmallerSideCentred)
{
    const QRectF element(10, 20, 40, 20);
    EXPECT_EQ(figureRect(element, ShapeKind::Square), QRectF(20, 20, 20, 20));
    EXPECT_EQ(figureRect(element, ShapeKind::Circle), QRectF(20, 20, 20, 20));
    EXPECT_EQ(figureRect(element, ShapeKind::RoundedSquare), QRectF(20, 20, 20, 20));
    EXPECT_EQ(figureRect(element, ShapeKind::Oval), element);
    EXPECT_EQ(figureRect(element, ShapeKind::RoundedRectangle), element);
}

TEST_F(Drawing, SystemColoursComeFromTheClassicScheme)
{
    EXPECT_EQ(toQColor(colours::scrollBars), QColor(0xC8, 0xC8, 0xC8));
    EXPECT_EQ(toQColor(colours::menuText), QColor(Qt::black));
    EXPECT_EQ(toQColor(colours::windowText), QColor(Qt::black));
    EXPECT_EQ(toQColor(colours::buttonText), QColor(Qt::black));
    EXPECT_EQ(toQColor(colours::tooltipBackground), QColor(0xFF, 0xFF, 0xE1));
    EXPECT_EQ(toQColor(colours::orange), QColor(0xFF, 0x80, 0x00)) << "stored as 0x00BBGGRR";
}

TEST_F(Drawing, AboutTextIsDrawnInTheLabelAndClippedToIt)
{
    openWindow();
    child<QAction>("mnuhelpabout")->trigger();
    const QImage image = board();
    const QRect label = toPixels(layout::lblabout);
    int inked = 0;
    for (int y = label.top(); y <= label.bottom(); ++y) {
        for (int x = label.left(); x <= label.right(); ++x)
            inked += at(image, {x, y}) != ground ? 1 : 0;
    }
    EXPECT_GT(inked, 200) << "the text shows";
    // Nothing of the label spills out below it, over the frame's caption.
    for (int x = label.left(); x <= label.right(); ++x)
        EXPECT_EQ(at(image, {x, label.bottom() + 1}), ground) << x;
}

TEST_F(Drawing, BorderColourOptionRecoloursTheBoardsBorder)
{
    openWindow();
    QTest::mouseClick(child<QWidget>("optblue"), Qt::LeftButton);
    EXPECT_EQ(at(board(), {132, 300}), 0xFF0000FF);
}

// Looks at the window's pixels the moment a message box is shown, before the box's own event
// loop has had a chance to paint anything that was only scheduled.
class ShownOnScreenWhenABoxOpens : public QObject
{
public:
    explicit ShownOnScreenWhenABoxOpens(QWidget &window) : m_window(window)
    {
        application().installEventFilter(this);
    }
    ~ShownOnScreenWhenABoxOpens() override { application().removeEventFilter(this); }

    const std::optional<QImage> &shown() const { return m_shown; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_shown && qobject_cast<QMessageBox *>(watched))
            m_shown = m_window.screen()->grabWindow(m_window.winId()).toImage();
        return false;
    }

private:
    QWidget &m_window;
    std::optional<QImage> m_shown;
};

TEST_F(Drawing, StepIsOnScreenBeforeTheMessageBox)
{
    MainWindow &window = openWindow();
    clickStart();
    press(Qt::Key_Up); // half off the board; the next key press loses
    // The Down key moves the piece back down, then judges where it stood and opens the boxes.
    ShownOnScreenWhenABoxOpens screen(window);
    BoxAnswerer answerer({BoxAnswerer::Answer::Yes, BoxAnswerer::Answer::Yes});
    press(Qt::Key_Down);
    ASSERT_TRUE(screen.shown().has_value());
    const QImage &shown = *screen.shown();
    const QPoint offset = window.board()->mapTo(&window, QPoint(0, 0));
    EXPECT_EQ(shown.pixel(offset + QPoint(396, 36)) | 0xFF000000, 0xFF00FF00)
        << "the piece where it stepped to";
    EXPECT_NE(shown.pixel(offset + QPoint(396, 6)) | 0xFF000000, 0xFF00FF00)
        << "no piece left where it stepped from";
}

} // namespace
} // namespace quorvale::ui::test
