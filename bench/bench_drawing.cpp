// Drawing the window offscreen: a full repaint of the client area, and the repaint a ball's tick
// causes. Run once plainly and once with QT_SCALE_FACTOR=2; the label of each figure gives the
// device pixel ratio it was measured at.
#include "boardwidget.h"
#include "mainwindow.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quorvale;
using namespace quorvale::ui;

// Records the region of every paint event the board receives.
class PaintSpy : public QObject
{
public:
    using QObject::QObject;
    QRegion painted;
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent *>(event)->region();
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The window as it opens, setup controls shown; its timers tick only when told.
std::unique_ptr<MainWindow> openWindow()
{
    auto window = std::make_unique<MainWindow>(TickSource::Manual);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    QApplication::processEvents();
    return window;
}

QString scaleLabel(const QWidget &widget)
{
    return QStringLiteral("dpr %1").arg(widget.devicePixelRatioF());
}

// The whole client area at once: window ground, board, 41 walls, markers, balls, label, goal,
// player and the setup controls above them.
void fullRepaint(benchmark::State &state)
{
    const auto window = openWindow();
    if (!window) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    BoardWidget *board = window->board();
    for (auto _ : state)
        board->repaint();
    state.SetLabel(scaleLabel(*board).toStdString());
}
BENCHMARK(fullRepaint)->Unit(benchmark::kMicrosecond);

// One tick of a ball's timer through the window: the rules move the ball and the window repaints
// what changed. Fails if the repaint covers more than the ball's old and new rectangles.
void ballTickRepaint(benchmark::State &state, Element timer, Element ball)
{
    const auto window = openWindow();
    if (!window) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    BoardWidget *board = window->board();
    PaintSpy spy;
    board->installEventFilter(&spy);
    QRegion expected;
    int ticks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QRect before = board->paintedRect(ball);
        spy.painted = QRegion();
        state.ResumeTiming();

        window->fireTimer(timer);

        state.PauseTiming();
        const QRegion allowed = QRegion(before) + board->paintedRect(ball);
        if (spy.painted != allowed) {
            state.SkipWithError("the tick repainted more or less than the ball's two rectangles");
            break;
        }
        ++ticks;
        state.ResumeTiming();
    }
    board->removeEventFilter(&spy);
    state.counters["paints/tick"] =
        benchmark::Counter(ticks ? static_cast<double>(spy.paints) / ticks : 0.0);
    state.SetLabel(scaleLabel(*board).toStdString());
}
BENCHMARK_CAPTURE(ballTickRepaint, ball1, Element::Timer1, Element::shpball1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ballTickRepaint, ball2, Element::Timer2, Element::shpball2)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
