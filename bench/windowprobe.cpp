// The game's window on a real display, watched from inside the process without changing it:
//   windowprobe cadence SECONDS  - when each tick of Timer1 and Timer2 comes, balls patrolling
//   windowprobe latency COUNT    - from a key press reaching the window to the end of the repaint
//                                  that shows the step, over COUNT steps left and right
// Prints one "name value" line per figure for bench/run.
#include "boardwidget.h"
#include "mainwindow.h"
#include "ticktimer.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace quorvale;
using namespace quorvale::ui;
using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1));
    return values[rank];
}

void print(const std::string &name, double value)
{
    std::printf("%s %.6g\n", name.c_str(), value);
}

// Times each key press from its arrival at the window to the end of the event in which the
// board's repaint of the player's new place was done and flushed: the key press itself when the
// repaint is immediate, else the update request that carried it out.
class ProbeApplication : public QApplication
{
public:
    using QApplication::QApplication;

    void watch(MainWindow *window) { m_window = window; }
    std::vector<double> latenciesMs;

    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!m_window)
            return QApplication::notify(receiver, event);
        const QEvent::Type type = event->type();
        const bool keyArrives =
            type == QEvent::KeyPress && receiver == m_window->windowHandle() && !m_pending;
        if (keyArrives) {
            m_pending = true;
            m_stepPainted = false;
            m_keyAt = Clock::now();
        }
        if (m_pending && type == QEvent::Paint && receiver == m_window->board()) {
            const QRect player = m_window->board()->paintedRect(Element::shpyou);
            if (static_cast<QPaintEvent *>(event)->region().contains(player))
                m_stepPainted = true;
        }
        const bool result = QApplication::notify(receiver, event);
        if (m_pending && m_stepPainted && (keyArrives || type == QEvent::UpdateRequest)) {
            const std::chrono::duration<double, std::milli> took = Clock::now() - m_keyAt;
            latenciesMs.push_back(took.count());
            m_pending = false;
        }
        return result;
    }

private:
    MainWindow *m_window = nullptr;
    bool m_pending = false;
    bool m_stepPainted = false;
    Clock::time_point m_keyAt;
};

int cadence(ProbeApplication &app, MainWindow &window, double seconds)
{
    // Both game timers run on the window's one tick clock; a timer has ticked when its ball
    // has moved, which every tick of it does.
    const auto clocks = window.findChildren<TickTimer *>(Qt::FindDirectChildrenOnly);
    if (clocks.size() != 1) {
        std::fprintf(stderr, "windowprobe: expected one tick clock, found %lld\n",
                     static_cast<long long>(clocks.size()));
        return 1;
    }
    constexpr Element balls[2] = {Element::shpball1, Element::shpball2};
    std::vector<Clock::time_point> at[2];
    float lastTop[2] = {window.maze().shape(balls[0]).top(), window.maze().shape(balls[1]).top()};
    bool recording = false;
    for (auto &times : at)
        times.reserve(static_cast<std::size_t>(seconds * 100) + 100);
    // Connected after the window's own slot, so it runs once the tick has been delivered.
    QObject::connect(clocks.front(), &TickTimer::ticked, &app, [&] {
        const auto now = Clock::now();
        for (int i = 0; i < 2; ++i) {
            const float top = window.maze().shape(balls[i]).top();
            if (top != lastTop[i] && recording)
                at[i].push_back(now);
            lastTop[i] = top;
        }
    });
    // A second to settle, then the measured stretch.
    QTimer::singleShot(1000, &app, [&] { recording = true; });
    QTimer::singleShot(1000 + static_cast<int>(seconds * 1000), &app, [&] {
        recording = false;
        QCoreApplication::exit(0); // not quit(): that closes the window, which ends the game
    });
    QApplication::exec();

    constexpr double periodMs = 15.625;
    for (int i = 0; i < 2; ++i) {
        const std::string name = "cadence.timer" + std::to_string(i + 1);
        std::vector<double> intervals;
        for (std::size_t k = 1; k < at[i].size(); ++k)
            intervals.push_back(
                std::chrono::duration<double, std::milli>(at[i][k] - at[i][k - 1]).count());
        const double rate =
            intervals.empty()
                ? 0.0
                : static_cast<double>(intervals.size()) * 1000.0 /
                      std::chrono::duration<double, std::milli>(at[i].back() - at[i].front())
                          .count();
        const auto bursts = std::count_if(intervals.begin(), intervals.end(),
                                          [](double ms) { return ms < periodMs / 2; });
        print(name + ".ticks", static_cast<double>(at[i].size()));
        print(name + ".rate", rate);
        print(name + ".p50_ms", percentile(intervals, 50));
        print(name + ".p99_ms", percentile(intervals, 99));
        print(name + ".max_ms",
              intervals.empty() ? 0.0 : *std::max_element(intervals.begin(), intervals.end()));
        print(name + ".min_ms",
              intervals.empty() ? 0.0 : *std::min_element(intervals.begin(), intervals.end()));
        print(name + ".bursts", static_cast<double>(bursts));
    }
    return 0;
}

int latency(ProbeApplication &app, MainWindow &window, int count)
{
    // Play starts with a click on the start button, as a player would; the board then holds the
    // focus and every key goes to the game.
    QWidget *start = window.findChild<QWidget *>(QStringLiteral("cmdstart"));
    QTest::mouseClick(start, Qt::LeftButton);
    if (start->isVisible()) {
        std::fprintf(stderr, "windowprobe: the start button did not start play\n");
        return 1;
    }
    app.latenciesMs.reserve(static_cast<std::size_t>(count));
    app.watch(&window);
    int sent = 0;
    QTimer keys;
    // An interval that does not divide into the ticks' 15.625 ms, so presses fall at every phase.
    keys.setInterval(23);
    QObject::connect(&keys, &QTimer::timeout, &app, [&] {
        if (sent == count || window.maze().ended()) {
            keys.stop();
            QCoreApplication::exit(0); // not quit(): that closes the window, which ends the game
            return;
        }
        QTest::keyClick(window.windowHandle(), sent % 2 == 0 ? Qt::Key_Left : Qt::Key_Right);
        ++sent;
    });
    keys.start();
    QApplication::exec();
    if (window.maze().ended() || static_cast<int>(app.latenciesMs.size()) != count) {
        std::fprintf(stderr, "windowprobe: %zu of %d steps measured, ended %d, player at %g\n",
                     app.latenciesMs.size(), count, window.maze().ended(),
                     window.maze().shape(Element::shpyou).left());
        return 1;
    }
    print("latency.samples", static_cast<double>(app.latenciesMs.size()));
    print("latency.p50_ms", percentile(app.latenciesMs, 50));
    print("latency.p99_ms", percentile(app.latenciesMs, 99));
    print("latency.max_ms", *std::max_element(app.latenciesMs.begin(), app.latenciesMs.end()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    ProbeApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3 ||
        (args[1] != QLatin1String("cadence") && args[1] != QLatin1String("latency"))) {
        std::fprintf(stderr, "usage: windowprobe cadence SECONDS | latency COUNT\n");
        return 2;
    }
    MainWindow window;
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "windowprobe: the window was never exposed\n");
        return 1;
    }
    if (args[1] == QLatin1String("cadence"))
        return cadence(app, window, args[2].toDouble());
    return latency(app, window, args[2].toInt());
}
