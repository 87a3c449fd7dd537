#include "windowtest.h"

#include "answerer.h"

#include <QAction>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>

#include <functional>

namespace quorvale::ui::test {
namespace {

using Answer = BoxAnswerer::Answer;

class Lifecycle : public WindowTest
{
protected:
    // Two Up presses: the first steps half off the board, the second is judged there and loses.
    void loseByTheTopEdge()
    {
        press(Qt::Key_Up);
        press(Qt::Key_Up);
    }

    void expectEnded()
    {
        EXPECT_TRUE(maze().ended());
        EXPECT_FALSE(m_window->isVisible());
        const float ballTop = maze().shape(Element::shpball1).top();
        EXPECT_FALSE(m_window->fireTimer(Element::Timer1)) << "a tick after the end";
        EXPECT_EQ(maze().shape(Element::shpball1).top(), ballTop);
    }
};

QString withoutAccessKey(QString text)
{
    return text.remove(QLatin1Char('&'));
}

TEST_F(Lifecycle, LossAsksTwiceAndOnlyTheSecondAnswerCounts)
{
    openWindow();
    clickStart();
    child<QAction>("mnueditbackorange")->trigger();
    BoxAnswerer answerer({Answer::No, Answer::Yes});
    loseByTheTopEdge();

    ASSERT_EQ(answerer.seen().size(), 2U);
    for (const SeenBox &box : answerer.seen()) {
        EXPECT_EQ(box.title, QStringLiteral("GAME OVER"));
        EXPECT_EQ(box.text, QStringLiteral("Please Try Again"));
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(withoutAccessKey(box.defaultButton), QStringLiteral("Yes"));
    }
    EXPECT_FALSE(maze().ended());
    EXPECT_TRUE(child<QWidget>("cmdstart")->isVisible());
    EXPECT_TRUE(child<QWidget>("txtcheat")->isVisible());
    EXPECT_TRUE(child<QWidget>("optred")->isVisible());
    EXPECT_EQ(maze().shape(Element::shpyou).top(), 240.0F);
    EXPECT_EQ(maze().shape(Element::shpborder).fillColor(), colours::scrollBars);
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("cmdstart"))
        << "Enter or Space starts the next game";
}

TEST_F(Lifecycle, WinCongratulatesTwice)
{
    openWindow();
    auto *cheat = child<QLineEdit>("txtcheat");
    QTest::keyClicks(cheat, QStringLiteral("skipjump")); // nine steps right of the goal
    clickStart();
    BoxAnswerer answerer({Answer::Yes, Answer::Yes});
    for (int i = 0; i < 10; ++i)
        press(Qt::Key_Left);

    ASSERT_EQ(answerer.seen().size(), 2U);
    for (const SeenBox &box : answerer.seen()) {
        EXPECT_EQ(box.title, QStringLiteral(" Congratulations"));
        EXPECT_EQ(box.text, QStringLiteral("You Win Play Again"));
        EXPECT_EQ(box.icon, QMessageBox::Information);
        EXPECT_EQ(withoutAccessKey(box.defaultButton), QStringLiteral("Yes"));
    }
    EXPECT_EQ(maze().shape(Element::shpyou).left(), 5760.0F);
}

TEST_F(Lifecycle, WhileABoxIsOpenNoTickAndNoKeyGetsThrough)
{
    MainWindow &window = openWindow();
    clickStart();
    const float ballTop = maze().shape(Element::shpball1).top();
    int inspected = 0;
    BoxAnswerer answerer({Answer::Yes, Answer::Yes}, [&](QMessageBox &) {
        ++inspected;
        EXPECT_TRUE(window.isMessageBoxOpen());
        EXPECT_FALSE(window.fireTimer(Element::Timer1));
        EXPECT_FALSE(window.fireTimer(Element::Timer2));
        EXPECT_EQ(maze().shape(Element::shpball1).top(), ballTop);
        const float pieceLeft = maze().shape(Element::shpyou).left();
        press(Qt::Key_Left);
        EXPECT_EQ(maze().shape(Element::shpyou).left(), pieceLeft) << "the window took a key";
    });
    loseByTheTopEdge();
    EXPECT_EQ(inspected, 2);
    EXPECT_FALSE(window.isMessageBoxOpen());
    EXPECT_TRUE(window.fireTimer(Element::Timer1)) << "ticks run again once the boxes are gone";
    EXPECT_NE(maze().shape(Element::shpball1).top(), ballTop);
}

TEST_F(Lifecycle, EscapeAndTheBoxCloseButtonDoNotAnswer)
{
    openWindow();
    clickStart();
    BoxAnswerer answerer({Answer::Yes, Answer::Yes}, [](QMessageBox &box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        if (QWidget *focused = QApplication::focusWidget())
            QTest::keyClick(focused, Qt::Key_Escape);
        box.close();
        EXPECT_TRUE(box.isVisible()) << "the box was dismissed without an answer";
    });
    loseByTheTopEdge();
    EXPECT_EQ(answerer.seen().size(), 2U);
    EXPECT_FALSE(maze().ended());
}

TEST_F(Lifecycle, NoEndsTheProgram)
{
    openWindow();
    clickStart();
    BoxAnswerer answerer({Answer::Yes, Answer::No});
    EXPECT_EQ(exitStatusOf([this] { loseByTheTopEdge(); }), 0);
    EXPECT_EQ(answerer.seen().size(), 2U);
    expectEnded();
}

TEST_F(Lifecycle, QuitEndsTheProgram)
{
    openWindow();
    EXPECT_EQ(exitStatusOf([this] { child<QAction>("mnufilequit")->trigger(); }), 0);
    expectEnded();
}

TEST_F(Lifecycle, ClosingTheWindowEndsTheProgram)
{
    openWindow();
    EXPECT_EQ(exitStatusOf([this] { m_window->close(); }), 0);
    expectEnded();
}

TEST_F(Lifecycle, ClosingTheWindowWhileABoxIsOpenEndsTheProgramThere)
{
    openWindow();
    clickStart();
    BoxAnswerer answerer({Answer::CloseWindow});
    EXPECT_EQ(exitStatusOf([this] { loseByTheTopEdge(); }), 0);
    EXPECT_EQ(answerer.seen().size(), 1U) << "nothing runs after the end, not even the second box";
    expectEnded();
}

TEST_F(Lifecycle, OptionButtonsShowTheModelsChoice)
{
    openWindow();
    auto *blue = child<QRadioButton>("optblue");
    auto *yellow = child<QRadioButton>("optyellow");

    QTest::mouseClick(yellow, Qt::LeftButton);
    EXPECT_TRUE(yellow->isChecked());
    EXPECT_EQ(maze().shape(Element::shpborder).borderColor(), colours::yellow);

    // Starting play clears the yellow option without recolouring the border.
    clickStart();
    child<QAction>("mnufilestart")->trigger();
    EXPECT_FALSE(yellow->isChecked());
    EXPECT_EQ(maze().shape(Element::shpborder).borderColor(), colours::yellow);

    QTest::mouseClick(blue, Qt::LeftButton);
    EXPECT_TRUE(blue->isChecked());
    EXPECT_FALSE(yellow->isChecked());

    // After a loss the border is black while Blue still shows as chosen; choosing it again
    // runs its click again.
    clickStart();
    BoxAnswerer answerer({Answer::Yes, Answer::Yes});
    loseByTheTopEdge();
    EXPECT_EQ(maze().shape(Element::shpborder).borderColor(), colours::black);
    EXPECT_TRUE(blue->isChecked());
    QTest::mouseClick(blue, Qt::LeftButton);
    EXPECT_TRUE(blue->isChecked());
    EXPECT_EQ(maze().shape(Element::shpborder).borderColor(), colours::blue);
}

} // namespace
} // namespace quorvale::ui::test
