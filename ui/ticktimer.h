#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace quorvale::ui {

// A periodic timer at the classic desktop timer resolution: whatever interval is asked for below
// it, ticks come 64 times a second, each one due at a fixed point of a monotonic clock. A tick
// that comes late is not made up for: the schedule skips ahead, so there are never two ticks
// back to back.
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
