#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace quorvale::ui {

// Start-up measurement hook, off unless QUORVALE_FIRST_FRAME is set in the environment. Once the
// first frame has been painted and handed to the window system, it prints the monotonic clock
// (CLOCK_MONOTONIC, in nanoseconds) on stdout and leaves the event loop with status 0. bench/run
// starts the game and an empty Qt window with it in turn and compares the two times; the empty
// window uses this same header, so both end at the same moment of Qt's painting.
class FirstFrameProbe : public QObject
{
public:
    using QObject::QObject;

    // Installs the probe, owned by `parent`, if the environment asks for it.
    static void installIfAsked(QObject *parent)
    {
        if (qEnvironmentVariableIsSet("QUORVALE_FIRST_FRAME"))
            QCoreApplication::instance()->installEventFilter(new FirstFrameProbe(parent));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Every widget of a frame is painted and the frame flushed in one pass of the event
            // loop; a zero timer runs once that pass is over.
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("first-frame %lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace quorvale::ui
