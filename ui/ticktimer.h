#pragma once

#include "tickschedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace quorvale::ui {

// The clock the balls move by, on its schedule (script/tickschedule.h), woken by a millisecond
// timer.
class TickTimer : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::nanoseconds period = script::tickPeriod;

    explicit TickTimer(QObject *parent = nullptr);

    // Starting a running timer keeps its schedule; stopping takes effect at once, also from
    // inside a tick.
    void start();
    void stop();
    bool isActive() const { return m_active; }

signals:
    void ticked();

private:
    void fire();
    void wakeAt(std::chrono::nanoseconds due, std::chrono::nanoseconds now);

    QTimer m_timer;
    QElapsedTimer m_clock;
    script::TickSchedule m_schedule{period};
    bool m_active = false;
};

} // namespace quorvale::ui
