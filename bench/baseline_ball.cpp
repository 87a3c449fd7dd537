// The running-cost baseline: a bare Qt window with a menu bar and one widget, repainting one
// ball-sized rectangle 64 times a second on the same 1/64 s schedule of a monotonic clock as the
// game's timers. Its client area is the game's, so the two hold equally large pictures.
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace {

using namespace std::chrono;

constexpr nanoseconds period{15'625'000};
constexpr QRect ball{136, 16, 25, 25}; // 375 twips square, where the first ball starts

class Ball : public QWidget
{
public:
    Ball()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(670, 579);
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_clock.start();
        m_due = period;
        arm();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        p.setClipRegion(event->region());
        p.fillRect(rect(), QColor(0x80, 0, 0));
        p.fillRect(ball, m_dark ? Qt::black : Qt::red);
    }

private:
    void arm()
    {
        const nanoseconds now{m_clock.nsecsElapsed()};
        m_timer.start(ceil<milliseconds>(m_due > now ? m_due - now : nanoseconds{0}));
    }
    void tick()
    {
        if (nanoseconds{m_clock.nsecsElapsed()} < m_due) {
            arm();
            return;
        }
        m_due += period;
        arm();
        m_dark = !m_dark;
        repaint(ball);
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    nanoseconds m_due{0};
    bool m_dark = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char *title : {"File", "Edit", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    window.setCentralWidget(new Ball);
    window.show();
    return QApplication::exec();
}
