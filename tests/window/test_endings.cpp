#include "windowtest.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include <optional>

namespace quorvale::ui::test {
namespace {

// Grabs the window the moment a message box is shown, before the box's own event loop has had a
// chance to paint anything that was only scheduled.
class ScreenWhenABoxOpens : public QObject
{
public:
    explicit ScreenWhenABoxOpens(QWidget &window) : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !shown && qobject_cast<QMessageBox *>(watched))
            shown = m_window.screen()->grabWindow(m_window.winId()).toImage();
        return false;
    }
    bool greenAt(QPoint p) const { return (shown->pixel(p) | 0xFF000000) == 0xFF00FF00; }
    std::optional<QImage> shown;

private:
    QWidget &m_window;
};

struct EndingCase
{
    const char *cheat;         // typed before play
    std::vector<Qt::Key> keys; // the last one opens the boxes
    QPoint steppedTo;          // board pixels where the piece shows as the box opens, if any,
    QPoint steppedFrom;        // and where it no longer shows
    QString box;
};

// Up steps half off the board, Down steps back and the Up is judged. Skip-jump puts the piece
// nine steps from the goal; the tenth step judges it there.
const EndingCase endings[] = {
    {"", std::vector{Qt::Key_Up, Qt::Key_Down}, QPoint(396, 36), QPoint(396, 6),
     "GAME OVER | Please Try Again | Warning | Yes"},
    {"skipjump", std::vector(10, Qt::Key_Left), QPoint(), QPoint(),
     " Congratulations | You Win Play Again | Information | Yes"},
};

class Ending : public WindowTest
{
protected:
    // A fresh window in play, with an orange board, the piece one key from the ending.
    MainWindow &prepare(const EndingCase &e)
    {
        MainWindow &window = openWindow();
        QTest::keyClicks(child<QLineEdit>("txtcheat"), QString::fromLatin1(e.cheat));
        clickStart();
        child<QAction>("mnueditbackorange")->trigger();
        return window;
    }
    // Presses the keys that end the game; the first box is answered No, the second Yes.
    QStringList end(const EndingCase &e, BoxAnswerer::Inspect inspect = {})
    {
        BoxAnswerer answerer({QMessageBox::No, QMessageBox::Yes}, std::move(inspect));
        for (const Qt::Key key : e.keys)
            press(key);
        return answerer.seen();
    }
};

TEST_F(Ending, WinOrLossAsksTwiceAndYesToTheSecondResetsTheBoard)
{
    for (const EndingCase &e : endings) {
        SCOPED_TRACE(e.box.toStdString());
        prepare(e);
        EXPECT_EQ(end(e), QStringList({e.box, e.box}));
        EXPECT_FALSE(maze().ended());
        for (const char *name : {"cmdstart", "txtcheat", "optred"})
            EXPECT_TRUE(child(name)->isVisible()) << name;
        EXPECT_EQ(pieceLeft(), 5760.0F);
        EXPECT_EQ(maze().shape(Element::shpyou).top(), 240.0F);
        EXPECT_EQ(maze().shape(Element::shpborder).fillColor(), colours::scrollBars);
    }
}

// A title bar holds the window icon and three buttons beside the title: about 90 pixels at
// openbox's default theme, more than the win box's text and buttons leave it. The title is drawn
// bold in the title font (on Wayland, Qt's own 14-pixel one).
TEST_F(Ending, BoxIsWideEnoughForItsWholeTitle)
{
    for (const EndingCase &e : endings) {
        SCOPED_TRACE(e.box.toStdString());
        prepare(e);
        end(e, [](QMessageBox &box) {
            QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
            font.setBold(true);
            if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
                font.setPixelSize(14);
            const int title = QFontMetrics(font).horizontalAdvance(box.windowTitle());
            EXPECT_GE(box.width(), title + 90) << "title " << title << " px";
        });
    }
}

TEST_F(Ending, NeitherTicksNorKeysReachTheGameWhileABoxIsOpen)
{
    for (const EndingCase &e : endings) {
        SCOPED_TRACE(e.box.toStdString());
        MainWindow &window = prepare(e);
        const float ball = ballTop(Element::shpball1);
        end(e, [&](QMessageBox &) {
            EXPECT_TRUE(window.isMessageBoxOpen());
            EXPECT_FALSE(window.fireTimer(Element::Timer1));
            EXPECT_FALSE(window.fireTimer(Element::Timer2));
            EXPECT_EQ(ballTop(Element::shpball1), ball) << "a ball moved under the box";
            const float left = pieceLeft();
            for (int i = 0; i < 5; ++i) {
                press(Qt::Key_Left);
                repeatLeft();
                QTest::keyPress(window.windowHandle(), Qt::Key_Left); // held down
            }
            emit window.board()->keyDown(vbKeyLeft, 0); // on its way before the box had the focus
            EXPECT_EQ(pieceLeft(), left) << "the window took a key";
        });
    }
}

TEST_F(Ending, EscapeAndTheCloseButtonLeaveTheBoxUnanswered)
{
    for (const EndingCase &e : endings) {
        SCOPED_TRACE(e.box.toStdString());
        prepare(e);
        end(e, [&](QMessageBox &box) {
            QTest::keyClick(&box, Qt::Key_Escape);
            if (QWidget *focused = QApplication::focusWidget())
                QTest::keyClick(focused, Qt::Key_Escape);
            box.close();
            EXPECT_TRUE(box.isVisible()) << "the box was dismissed without an answer";
        });
        EXPECT_FALSE(maze().ended());
    }
}

TEST_F(Ending, TheStepThatLostIsOnScreenBeforeTheBoxOpens)
{
    const EndingCase &loss = endings[0];
    MainWindow &window = prepare(loss);
    ScreenWhenABoxOpens screen(window);
    end(loss);
    ASSERT_TRUE(screen.shown.has_value());
    // A Wayland compositor shows no client the screen, so only the offscreen run can look.
    if (screen.shown->isNull())
        GTEST_SKIP() << "no screen to grab";
    const QPoint board = window.board()->mapTo(&window, QPoint(0, 0));
    EXPECT_TRUE(screen.greenAt(board + loss.steppedTo)) << "the piece where it went";
    EXPECT_FALSE(screen.greenAt(board + loss.steppedFrom)) << "the piece where it was";
}

TEST_F(Ending, FocusReturnsToTheStartButtonAfterTheBoxes)
{
    for (const EndingCase &e : endings) {
        SCOPED_TRACE(e.box.toStdString());
        MainWindow &window = prepare(e);
        end(e);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(QApplication::focusWidget(), child("cmdstart")) << "so Enter starts play again";
    }
}

TEST_F(Ending, TicksAndAutoRepeatsReachTheGameAgainOnceTheBoxesAreGone)
{
    for (const EndingCase &e : endings) {
        SCOPED_TRACE(e.box.toStdString());
        MainWindow &window = prepare(e);
        end(e);
        const float ball = ballTop(Element::shpball1);
        EXPECT_TRUE(window.fireTimer(Element::Timer1));
        EXPECT_NE(ballTop(Element::shpball1), ball);
        clickStart();
        for (int i = 0; i < 3; ++i)
            repeatLeft();
        EXPECT_EQ(pieceLeft(), 5160.0F) << "every auto-repeat is a key press again";
    }
}

enum class Via { Quit, Loss, Close };

struct Exit
{
    const char *name;
    Via via;
    std::vector<QMessageBox::StandardButton> answers; // each box shown before the end
};

// Nothing runs after the end: not a second box, not a tick, on the clock or by hand.
TEST_F(Ending, QuitNoOrClosingEndsTheEventLoopAndNothingRunsAfter)
{
    const Exit exits[] = {
        {"Quit with the balls running", Via::Quit, {}},
        {"No", Via::Loss, {QMessageBox::Yes, QMessageBox::No}},
        {"closing the window", Via::Close, {}},
        {"closing the window while a box is open", Via::Loss, {QMessageBox::Close}},
    };
    for (const Exit &e : exits) {
        SCOPED_TRACE(e.name);
        const bool clock = e.via == Via::Quit;
        openWindow(clock ? TickSource::Clock : TickSource::Manual);
        if (e.via == Via::Loss)
            clickStart();
        QTest::qWait(clock ? 100 : 0);
        BoxAnswerer answerer(e.answers);
        EXPECT_EQ(exitStatusOf([&] {
                      if (e.via == Via::Quit)
                          child<QAction>("mnufilequit")->trigger();
                      if (e.via == Via::Close)
                          m_window->close();
                      if (e.via == Via::Loss) {
                          press(Qt::Key_Up); // half off the board,
                          press(Qt::Key_Up); // where this press judges it: lost
                      }
                  }),
                  0);
        EXPECT_EQ(static_cast<std::size_t>(answerer.seen().size()), e.answers.size());
        EXPECT_TRUE(maze().ended());
        EXPECT_FALSE(m_window->isVisible());
        const float ball1 = ballTop(Element::shpball1);
        const float ball2 = ballTop(Element::shpball2);
        EXPECT_FALSE(m_window->fireTimer(Element::Timer1)) << "a tick after the end";
        QTest::qWait(clock ? 200 : 0);
        EXPECT_EQ(ballTop(Element::shpball1), ball1);
        EXPECT_EQ(ballTop(Element::shpball2), ball2);
    }
}

} // namespace
} // namespace quorvale::ui::test
