#include "racing.h"

#include "boardwidget.h"
#include "mainwindow.h"

#include <QPainter>
#include <QStatusBar>

#include <utility>

namespace quorvale::ui {

// The race's line: its text changes with nearly every tick, and a QLabel would have the status
// bar laid out again each time. This one only repaints, at a height fixed by its font.
class RaceLine final : public QWidget
{
public:
    explicit RaceLine(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("race"));
        setMinimumHeight(fontMetrics().height());
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QString text() const { return m_text; }
    void setText(const QString &text)
    {
        if (text == m_text)
            return;
        m_text = text;
        setAccessibleName(text);
        update();
    }

protected:
    void paintEvent(QPaintEvent * /*event*/) override
    {
        QPainter p(this);
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }

private:
    QString m_text;
};

Racing::Racing(MainWindow &window, std::unique_ptr<script::Ghost> ghost)
    : m_window(window), m_race(std::move(ghost)),
      m_timing(window.maze(), m_race, [this] { show(); })
{
    // Below the client area, which keeps its size and layout; the window grows by this line.
    QStatusBar *bar = m_window.statusBar();
    bar->setSizeGripEnabled(false);
    m_line = new RaceLine(bar);
    bar->addWidget(m_line, 1);
    m_window.addTimeKeeper(m_timing);
    m_window.board()->setGhost(&m_race.ghost());
    show();
}

QString Racing::line() const
{
    return m_line->text();
}

Racing::~Racing()
{
    m_window.board()->setGhost(nullptr);
    m_window.removeTimeKeeper(m_timing);
}

void Racing::show()
{
    m_window.board()->refreshGhost();
    m_line->setText(QString::fromStdString(m_race.status()));
}

} // namespace quorvale::ui
