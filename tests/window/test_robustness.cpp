// What a player can throw at the window that a game must survive: a ball resting on the piece
// while a box stays open, keys held through a box, absurd pastes into the cheat box, and an error
// the program cannot carry on from.
#include "windowtest.h"

#include "answerer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <ostream>

namespace quorvale::ui::test {
namespace {

using Answer = BoxAnswerer::Answer;

int visibleMessageBoxes()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(w) && w->isVisible())
            ++count;
    }
    return count;
}

class Robustness : public WindowTest
{
protected:
    // Skip-jump, then three steps right: the piece's top-right corner stands in ball 2's column,
    // in the top row the ball passes on every trip. It stays unjudged until the next key press.
    void standInBallTwosPath()
    {
        QTest::keyClicks(child<QLineEdit>("txtcheat"), QStringLiteral("skipjump"));
        clickStart();
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Right);
        ASSERT_EQ(maze().shape(Element::shpyou).left(), 9240.0F);
    }

    void pasteIntoCheatBox(const QString &text)
    {
        auto *cheat = child<QLineEdit>("txtcheat");
        cheat->setFocus();
        QApplication::clipboard()->setText(text);
        cheat->selectAll();
        cheat->paste();
    }
};

TEST_F(Robustness, BallOnThePieceNeverStacksASecondBox)
{
    MainWindow &window = openWindow(TickSource::Clock);
    standInBallTwosPath();
    float ballTop = 0.0F;
    int boxesWhileOpen = 0;
    BoxAnswerer answerer({Answer::Yes, Answer::Yes}, [&](QMessageBox &) {
        if (answerer.seen().size() > 1)
            return;
        ballTop = maze().shape(Element::shpball2).top();
        QTest::qWait(2500); // the box left open; the clock keeps running
        boxesWhileOpen = visibleMessageBoxes();
        EXPECT_EQ(maze().shape(Element::shpball2).top(), ballTop) << "a ball moved under a box";
    });
    QElapsedTimer waited;
    waited.start();
    while (answerer.seen().size() < 2 && waited.elapsed() < 8000)
        QTest::qWait(20);

    ASSERT_EQ(answerer.seen().size(), 2U) << "ball 2 never reached the piece";
    EXPECT_EQ(boxesWhileOpen, 1);
    EXPECT_FALSE(window.isMessageBoxOpen());
    EXPECT_EQ(maze().shape(Element::shpyou).left(), 5760.0F) << "Yes puts the piece back";
}

TEST_F(Robustness, KeysHeldThroughABoxDoNotReachTheGame)
{
    openWindow();
    clickStart();
    BoxAnswerer answerer({Answer::Yes, Answer::Yes}, [&](QMessageBox &) {
        const float left = maze().shape(Element::shpyou).left();
        for (int i = 0; i < 5; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(m_window->board(), &repeat);
            QTest::keyPress(m_window->windowHandle(), Qt::Key_Left);
        }
        EXPECT_EQ(maze().shape(Element::shpyou).left(), left);
    });
    press(Qt::Key_Up);
    press(Qt::Key_Up); // judged above the board: lost
    ASSERT_EQ(answerer.seen().size(), 2U);

    clickStart();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(m_window->board(), &repeat);
    EXPECT_EQ(maze().shape(Element::shpyou).left(), 5560.0F) << "repeats count again afterwards";
}

TEST_F(Robustness, QuitWhileTheBallsRunStopsEveryTick)
{
    openWindow(TickSource::Clock);
    QTest::qWait(100);
    EXPECT_EQ(exitStatusOf([this] { child<QAction>("mnufilequit")->trigger(); }), 0);
    const float ball1 = maze().shape(Element::shpball1).top();
    const float ball2 = maze().shape(Element::shpball2).top();
    QTest::qWait(200);
    EXPECT_EQ(maze().shape(Element::shpball1).top(), ball1);
    EXPECT_EQ(maze().shape(Element::shpball2).top(), ball2);
}

struct Paste
{
    const char *name;
    QString text;
};

void PrintTo(const Paste &paste, std::ostream *os)
{
    *os << paste.name;
}

class CheatBoxPastes : public Robustness, public testing::WithParamInterface<Paste>
{};

TEST_P(CheatBoxPastes, OddTextChangesNothingAndTakesNoTime)
{
    openWindow();
    QElapsedTimer clock;
    clock.start();
    pasteIntoCheatBox(GetParam().text);
    EXPECT_LT(clock.elapsed(), 500) << "the player would notice";

    auto *cheat = child<QLineEdit>("txtcheat");
    EXPECT_EQ(QString::fromStdString(maze().cheatBox().text()), cheat->text());
    EXPECT_FALSE(cheat->text().isEmpty());
    EXPECT_EQ(maze().shape(Element::shpyou).fillColor(), colours::green);
    EXPECT_EQ(maze().shape(Element::shpyou).left(), 5760.0F);
    EXPECT_EQ(maze().shape(Element::shpborder).fillColor(), colours::scrollBars);
    EXPECT_TRUE(maze().timer(Element::Timer1).enabled());
    EXPECT_TRUE(maze().timer(Element::Timer2).enabled());

    // The box still takes a code afterwards.
    cheat->selectAll();
    QTest::keyClicks(cheat, QStringLiteral("gusto"));
    EXPECT_EQ(maze().shape(Element::shpyou).fillColor(), colours::yellow);
}

INSTANTIATE_TEST_SUITE_P(
    Window, CheatBoxPastes,
    testing::Values(Paste{"OneMebibyte", QString(1 << 20, QLatin1Char('g'))},
                    Paste{"ControlCharacters", QStringLiteral("gus\tto\x01\x7f\r\n")},
                    Paste{"LoneSurrogates", QString(QChar(0xD800)) + QStringLiteral("gusto") +
                                                QString(QChar(0xDC00))},
                    Paste{"RightToLeft", QStringLiteral("\u202Eotsug \u05E9\u05DC\u05D5\u05DD")}),
    [](const testing::TestParamInfo<Paste> &info) { return std::string(info.param.name); });

TEST_F(Robustness, RunTimeErrorIsReportedThenEndsWithFailure)
{
    MainWindow &window = openWindow(TickSource::Clock);
    QString shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->defaultButton() ? box->defaultButton()->click() : box->accept();
        }
    });
    poll.start(5);
    testing::internal::CaptureStderr();
    const int status = exitStatusOf([&] { window.platform().runtimeError(6, "Overflow"); });
    const std::string stderrText = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, 1);
    EXPECT_NE(stderrText.find("run-time error 6: Overflow"), std::string::npos) << stderrText;
    EXPECT_TRUE(shown.contains(QStringLiteral("Overflow"))) << shown.toStdString();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.fireTimer(Element::Timer1)) << "nothing runs after the error";
}

} // namespace
} // namespace quorvale::ui::test
