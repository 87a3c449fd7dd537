#include "windowtest.h"

#include "ticktimer.h"

#include <QElapsedTimer>
#include <QThread>

#include <vector>

namespace quorvale::ui::test {
namespace {

// The rate the balls were designed for: 64 ticks a second, whatever Interval asks. A busy test
// machine drops ticks (seen: a third of them, under the sanitizers), so the count alone cannot
// tell a slow clock from a busy one; where the ticks fall can. Each falls in its own
// sixty-fourth of a second (a faster clock puts two in one), and a clock on time ticks in two
// neighbouring ones again and again, where one at half the speed never does.
TEST(TickTimer, TicksSixtyFourTimesASecond)
{
    constexpr qint64 periodNs = 15'625'000;
    TickTimer timer;
    std::vector<qint64> periods; // the sixty-fourth of a second each tick fell in
    QElapsedTimer clock;
    QObject::connect(&timer, &TickTimer::ticked,
                     [&] { periods.push_back(clock.nsecsElapsed() / periodNs); });
    clock.start();
    timer.start();
    QTest::qWait(1000);
    timer.stop();
    const double expected = static_cast<double>(clock.elapsed()) / 15.625;
    EXPECT_LE(static_cast<double>(periods.size()), expected + 1.5)
        << "never faster than the schedule";
    EXPECT_GE(static_cast<double>(periods.size()), expected * 0.4) << "most ticks lost";
    int neighbours = 0;
    for (std::size_t i = 1; i < periods.size(); ++i) {
        EXPECT_NE(periods[i], periods[i - 1]) << "two ticks within one period, at tick " << i;
        neighbours += periods[i] == periods[i - 1] + 1 ? 1 : 0;
    }
    EXPECT_GE(neighbours, 8) << "ticks a period apart";
}

TEST(TickTimer, LateTicksAreDroppedNotMadeUp)
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

TEST(TickTimer, StoppingInsideATickStopsAtOnce)
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

} // namespace
} // namespace quorvale::ui::test
