#pragma once

#include <chrono>

// When the clock the balls move by ticks, apart from any real clock, so that it can be tested on
// a fake one. The game's timers ask for a 1 ms interval, but the balls' pace was tuned at 64
// steps a second, so ticks come 64 times a second whatever interval is asked for, each one due at
// a fixed point counted from the clock's start. A tick that comes late is not made up for: the
// schedule skips ahead, so a busy moment never makes a ball jump two steps at once.
namespace quorvale::script {

inline constexpr std::chrono::nanoseconds tickPeriod{15'625'000}; // 1/64 s

class TickSchedule
{
public:
    using Time = std::chrono::nanoseconds; // since the clock's start

    explicit constexpr TickSchedule(Time period = tickPeriod) : m_period(period) {}

    // The first tick falls due one period after the start.
    constexpr void start() { m_due = m_period; }

    // Woken at `now`: whether the tick is due. If it is, it is taken and the one after it is
    // due one period later; a wake-up that comes early takes nothing.
    constexpr bool take(Time now)
    {
        if (now < m_due)
            return false;
        m_due += m_period;
        return true;
    }

    // When to wake for the next tick, after one was taken at `now`: the first point of the
    // schedule after now, and never less than half a period away, so that a tick taken late
    // does not bring a burst of ticks behind it.
    constexpr Time next(Time now)
    {
        if (m_due <= now)
            m_due += ((now - m_due) / m_period + 1) * m_period;
        if (m_due - now < m_period / 2)
            m_due += m_period;
        return m_due;
    }

    constexpr Time due() const { return m_due; }
    constexpr Time period() const { return m_period; }

private:
    Time m_period;
    Time m_due{0};
};

} // namespace quorvale::script
