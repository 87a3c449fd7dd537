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
    m_schedule.start();
    const std::chrono::nanoseconds now{m_clock.nsecsElapsed()};
    wakeAt(m_schedule.next(now), now);
}

void TickTimer::stop()
{
    m_active = false;
    m_timer.stop();
}

// A millisecond timer cannot hit a fraction of one exactly: it wakes at the next whole one.
void TickTimer::wakeAt(std::chrono::nanoseconds due, std::chrono::nanoseconds now)
{
    m_timer.start(std::chrono::ceil<std::chrono::milliseconds>(due - now));
}

void TickTimer::fire()
{
    if (!m_active)
        return;
    const std::chrono::nanoseconds now{m_clock.nsecsElapsed()};
    if (!m_schedule.take(now)) {
        wakeAt(m_schedule.due(), now);
        return;
    }
    // The next tick is scheduled before this one is delivered: its procedure may stop the timer,
    // and may open a message box that holds this call for a long time.
    wakeAt(m_schedule.next(now), now);
    emit ticked();
}

} // namespace quorvale::ui
