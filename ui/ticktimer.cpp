#include "ticktimer.h"

namespace quorvale::ui {

TickTimer::TickTimer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickTimer::fire);
}

void TickTimer::start()
{
    if (m_active)
        return;
    m_active = true;
    m_clock.start();
    m_due = period; // the first tick comes one period after the start
    arm();
}

void TickTimer::stop()
{
    m_active = false;
    m_timer.stop();
}

void TickTimer::arm()
{
    const std::chrono::nanoseconds now{m_clock.nsecsElapsed()};
    if (m_due <= now) {
        // Late: the ticks missed are dropped, not made up for.
        m_due += ((now - m_due) / period + 1) * period;
    }
    if (m_due - now < period / 2) {
        // Too close behind a late tick to count as the next one.
        m_due += period;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_due - now);
    m_timer.start(wait);
}

void TickTimer::fire()
{
    if (!m_active)
        return;
    const std::chrono::nanoseconds now{m_clock.nsecsElapsed()};
    if (now < m_due) {
        // Woken a little early: a millisecond timer cannot hit a fraction of one exactly.
        m_timer.start(std::chrono::ceil<std::chrono::milliseconds>(m_due - now));
        return;
    }
    m_due += period;
    // The next tick is scheduled before this one is delivered: its procedure may stop the timer,
    // and may open a message box that holds this call for a long time.
    arm();
    emit ticked();
}

} // namespace quorvale::ui
