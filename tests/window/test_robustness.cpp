// What a player can throw at the window that a game must survive: a ball resting on the piece
// while a box stays open, absurd pastes into the cheat box, and an error the program cannot carry
// on from.
#include "sanitizers.h"
#include "windowtest.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <utility>

namespace quorvale::ui::test {
namespace {

using Robustness = WindowTest;

TEST_F(Robustness, BallOnThePieceNeverStacksASecondBox)
{
    MainWindow &window = openWindow(TickSource::Clock);
    // Skip-jump, then three steps right: the piece's top-right corner stands in ball 2's column,
    // in the top row the ball passes on every trip. It stays unjudged until the next key press.
    QTest::keyClicks(child<QLineEdit>("txtcheat"), QStringLiteral("skipjump"));
    clickStart();
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Right);
    ASSERT_EQ(pieceLeft(), 9240.0F);

    long boxesWhileOpen = 0;
    BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes}, [&](QMessageBox &) {
        if (answerer.seen().size() > 1)
            return;
        const float ball = ballTop(Element::shpball2);
        QTest::qWait(2500); // the box left open; the clock keeps running
        const QWidgetList tops = QApplication::topLevelWidgets();
        boxesWhileOpen = std::count_if(tops.begin(), tops.end(), [](const QWidget *w) {
            return qobject_cast<const QMessageBox *>(w) && w->isVisible();
        });
        EXPECT_EQ(ballTop(Element::shpball2), ball) << "a ball moved under a box";
    });
    QElapsedTimer waited;
    waited.start();
    while (answerer.seen().size() < 2 && waited.elapsed() < 8000)
        QTest::qWait(20);

    ASSERT_EQ(answerer.seen().size(), 2) << "ball 2 never reached the piece";
    EXPECT_EQ(boxesWhileOpen, 1);
    EXPECT_FALSE(window.isMessageBoxOpen());
    EXPECT_EQ(pieceLeft(), 5760.0F) << "Yes puts the piece back";
}

// What the window cannot send is tried on the rules alone: bytes that are not UTF-8, and NUL.
TEST_F(Robustness, OddPastesInTheCheatBoxChangeNothing)
{
    const std::pair<const char *, QString> pastes[] = {
        {"one mebibyte", QString(1 << 20, QLatin1Char('g'))},
        {"control characters", QStringLiteral("gus\tto\x01\x7f\r\n")},
        {"right to left", QStringLiteral("\u202Eotsug \u05E9\u05DC\u05D5\u05DD")},
    };
    for (const auto &[name, text] : pastes) {
        SCOPED_TRACE(name);
        openWindow();
        auto *cheat = child<QLineEdit>("txtcheat");
        cheat->setFocus();
        QApplication::clipboard()->setText(text);
        cheat->selectAll();
        // A compositor with no seat, as in the Wayland run, has no clipboard; paste() is insert()
        // of the clipboard's text.
        if (QApplication::clipboard()->text() == text)
            cheat->paste();
        else
            cheat->insert(text);
        EXPECT_EQ(QString::fromStdString(maze().cheatBox().text()), cheat->text());
        EXPECT_FALSE(cheat->text().isEmpty());
        EXPECT_EQ(maze().shape(Element::shpyou).fillColor(), colours::green);
        EXPECT_EQ(pieceLeft(), 5760.0F);
        EXPECT_EQ(maze().shape(Element::shpborder).fillColor(), colours::scrollBars);
        EXPECT_TRUE(maze().timer(Element::Timer1).enabled());
        EXPECT_TRUE(maze().timer(Element::Timer2).enabled());
        // The box still takes a code afterwards.
        cheat->selectAll();
        QTest::keyClicks(cheat, QStringLiteral("gusto"));
        EXPECT_EQ(maze().shape(Element::shpyou).fillColor(), colours::yellow);
    }
}

TEST_F(Robustness, RunTimeErrorIsReportedThenEndsWithFailure)
{
    MainWindow &window = openWindow(TickSource::Clock);
    BoxAnswerer answerer({QMessageBox::Ok});
    ::testing::internal::CaptureStderr();
    const int status = exitStatusOf([&] { window.platform().runtimeError(6, "Overflow"); });
    const std::string stderrText = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, 1);
    EXPECT_NE(stderrText.find("run-time error 6: Overflow"), std::string::npos) << stderrText;
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_TRUE(answerer.seen()[0].contains(QStringLiteral("Overflow"))) << "in a box too";
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.fireTimer(Element::Timer1)) << "nothing runs after the error";
}

} // namespace
} // namespace quorvale::ui::test
