// The clock's schedule on a fake clock: where each tick falls, and what a late one costs.
#include "tickschedule.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace quorvale {
namespace {

using namespace std::chrono_literals;
using script::TickSchedule;
using std::chrono::nanoseconds;

constexpr nanoseconds period = script::tickPeriod;

// Woken as a millisecond timer wakes, at the first whole millisecond at or after the time asked.
nanoseconds wakeUp(nanoseconds at)
{
    return std::chrono::ceil<std::chrono::milliseconds>(at);
}

TEST(TickSchedule, TicksSixtyFourTimesASecondAtFixedPoints)
{
    TickSchedule schedule;
    schedule.start();
    std::vector<nanoseconds> taken;
    for (nanoseconds now = wakeUp(schedule.next(0ns)); now <= 1s;) {
        if (schedule.take(now)) {
            taken.push_back(now);
            now = wakeUp(schedule.next(now));
        } else {
            now = wakeUp(schedule.due());
        }
    }
    ASSERT_EQ(taken.size(), 64U);
    for (std::size_t k = 0; k < taken.size(); ++k) {
        const nanoseconds point = static_cast<long>(k + 1) * period;
        EXPECT_GE(taken[k], point) << "tick " << k;
        EXPECT_LT(taken[k], point + 1ms) << "tick " << k;
    }
}

TEST(TickSchedule, WakingEarlyTakesNoTick)
{
    TickSchedule schedule;
    schedule.start();
    EXPECT_FALSE(schedule.take(period - 1ns));
    EXPECT_EQ(schedule.due(), period);
    EXPECT_TRUE(schedule.take(period));
}

// A tick taken late is taken once; the next one falls on the schedule's next point that is at
// least half a period away, and none of those missed is made up for.
TEST(TickSchedule, LateTicksAreDroppedNotMadeUp)
{
    struct Row
    {
        nanoseconds takenAt;
        nanoseconds nextDue;
    };
    for (const Row row : {Row{period, 2 * period}, Row{period + 3ms, 2 * period},
                          Row{100'500'000ns, 7 * period}, Row{108ms, 8 * period}}) {
        TickSchedule schedule;
        schedule.start();
        ASSERT_TRUE(schedule.take(row.takenAt));
        EXPECT_EQ(schedule.next(row.takenAt), row.nextDue) << row.takenAt.count() << " ns";
        EXPECT_FALSE(schedule.take(row.nextDue - 1ns));
    }
}

} // namespace
} // namespace quorvale
