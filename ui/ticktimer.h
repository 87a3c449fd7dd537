#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace quorvale::ui {

// The clock the balls move by. The game's timers ask for a 1 ms interval, but the balls' pace was
// tuned at 64 steps a second, so ticks come 64 times a second whatever interval is asked for,
// each one due at a fixed point of a monotonic clock. A tick that comes late is not made up for:
// the schedule skips ahead, so a busy moment never makes a ball jump two steps at once.
class TickTimer : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::nanoseconds period{15'625'000}; // 1/64 s

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
    void arm();

    QTimer m_timer;
    QElapsedTimer m_clock;
    std::chrono::nanoseconds m_due{0};
    bool m_active = false;
};

} // namespace quorvale::ui
