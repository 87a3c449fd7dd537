#include "windowtest.h"

#include "answerer.h"
#include "ticktimer.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>

#include <vector>

namespace quorvale::ui::test {
namespace {

using namespace std::chrono_literals;

class Timers : public WindowTest
{
protected:
    float ballTop(Element ball) const { return maze().shape(ball).top(); }
};

// The rate the balls were designed for: 64 ticks a second, whatever Interval asks.
TEST_F(Timers, TickTimerTicksSixtyFourTimesASecond)
{
    TickTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &TickTimer::ticked, [&ticks] { ++ticks; });
    QElapsedTimer clock;
    clock.start();
    timer.start();
    QTest::qWait(1000);
    timer.stop();
    const double expected = static_cast<double>(clock.elapsed()) / 15.625;
    EXPECT_LE(ticks, expected + 1.5) << "never faster than the schedule";
    EXPECT_GE(ticks, expected * 0.7) << "a loaded machine may drop a few, not most";
}

TEST_F(Timers, LateTicksAreDroppedNotMadeUp)
{
    TickTimer timer;
    std::vector<qint64> at;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&timer, &TickTimer::ticked, [&] {
        at.push_back(clock.nsecsElapsed());
        if (at.size() == 2)
            QThread::msleep(100); // the program was busy for six periods
    });
    timer.start();
    QTest::qWait(400);
    timer.stop();
    ASSERT_GE(at.size(), 4U);
    for (std::size_t i = 1; i < at.size(); ++i)
        EXPECT_GE(at[i] - at[i - 1], 7'000'000) << "ticks " << i - 1 << " and " << i;
}

TEST_F(Timers, StoppingInsideATickStopsAtOnce)
{
    TickTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &TickTimer::ticked, [&] {
        ++ticks;
        timer.stop();
    });
    timer.start();
    QTest::qWait(200);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(Timers, BallsPatrolOnTheClockFromTheStart)
{
    openWindow(TickSource::Clock);
    const float top1 = ballTop(Element::shpball1);
    const float top2 = ballTop(Element::shpball2);
    QTest::qWait(150);
    EXPECT_NE(ballTop(Element::shpball1), top1);
    EXPECT_NE(ballTop(Element::shpball2), top2);
}

TEST_F(Timers, CheatStopsBothTimersAndStartOverRestartsThem)
{
    openWindow(TickSource::Clock);
    QTest::keyClicks(child<QLineEdit>("txtcheat"), QStringLiteral("iceclock"));
    const float top1 = ballTop(Element::shpball1);
    const float top2 = ballTop(Element::shpball2);
    QTest::qWait(150);
    EXPECT_EQ(ballTop(Element::shpball1), top1);
    EXPECT_EQ(ballTop(Element::shpball2), top2);

    child<QAction>("mnufilestart")->trigger();
    QTest::qWait(150);
    EXPECT_NE(ballTop(Element::shpball1), top1);
    EXPECT_NE(ballTop(Element::shpball2), top2);
}

// The balls wait while a box is open, on the real clock too.
TEST_F(Timers, BallsWaitWhileABoxIsOpen)
{
    openWindow(TickSource::Clock);
    float whenOpened = 0;
    float whenAnswered = 0;
    BoxAnswerer answerer({BoxAnswerer::Answer::Yes, BoxAnswerer::Answer::Yes}, [&](QMessageBox &) {
        if (answerer.seen().size() > 1)
            return;
        whenOpened = ballTop(Element::shpball2);
        QTest::qWait(150);
        whenAnswered = ballTop(Element::shpball2);
    });
    clickStart();
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    EXPECT_EQ(answerer.seen().size(), 2U);
    EXPECT_EQ(whenAnswered, whenOpened);
}

} // namespace
} // namespace quorvale::ui::test
