#include "replayer.h"

#include "dump.h"
#include "ticktimer.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>

#include <optional>
#include <ostream>
#include <utility>

namespace quorvale::ui {

Replayer::Replayer(MainWindow &window, std::vector<script::ScriptLine> script, QString name,
                   std::ostream &out, std::ostream &err, Pace pace)
    : m_window(window), m_script(std::move(script)), m_name(std::move(name)), m_out(out),
      m_err(err), m_pace(pace)
{
    if (m_pace == Pace::RealTime) {
        m_clock = new TickTimer(this);
        connect(m_clock, &TickTimer::ticked, this, &Replayer::clockTicked);
    } else {
        m_fastClock.setInterval(0);
        connect(&m_fastClock, &QTimer::timeout, this, &Replayer::clockTicked);
    }
}

Replayer::~Replayer()
{
    m_window.removeObserver(this);
}

void Replayer::start()
{
    m_running = true;
    m_window.addObserver(this);
    m_window.setPlayerIgnored(true);
    // The replay's own clock stands in for the window's, so ticks fall where they were recorded.
    m_playerTicks = m_window.tickSource();
    m_window.setTickSource(TickSource::Manual);
    m_window.setWindowTitle(
        QStringLiteral("%1 - replaying %2")
            .arg(QString::fromUtf8(m_window.maze().form().caption().data(),
                                   static_cast<qsizetype>(m_window.maze().form().caption().size())),
                 m_name));
    // Once the window is on screen.
    QTimer::singleShot(0, this, &Replayer::advance);
}

// Runs the script's events up to the next wait, or to its end.
void Replayer::advance()
{
    if (m_busy)
        return;
    m_busy = true;
    while (m_running && m_ticksLeft == 0 && m_next < m_script.size()) {
        const script::ScriptLine &line = m_script[m_next++];
        m_lineNumber = line.number;
        script::apply(line.command, *this);
    }
    m_busy = false;
    if (m_running && m_ticksLeft == 0)
        handOver();
}

void Replayer::clockTicked()
{
    // A tick that opened a box is still running: the clock ticks on in the box's own loop.
    if (m_busy || !m_running)
        return;
    m_busy = true;
    m_window.tickClock();
    m_busy = false;
    if (!m_running)
        return;
    if (--m_ticksLeft == 0 || m_window.maze().ended()) {
        m_ticksLeft = 0;
        if (m_clock)
            m_clock->stop();
        m_fastClock.stop();
        advance();
    }
}

void Replayer::key(std::int16_t keyCode)
{
    m_window.deliverKey(keyCode);
}

void Replayer::click(Clickable target)
{
    m_window.deliverClick(target);
}

void Replayer::tick(Element timer)
{
    m_window.fireTimer(timer);
}

void Replayer::wait(std::uint32_t ticks)
{
    if (ticks == 0 || m_window.maze().ended())
        return;
    m_ticksLeft = ticks;
    if (m_clock)
        m_clock->start();
    else
        m_fastClock.start();
}

void Replayer::text(std::string text)
{
    m_window.deliverText(std::move(text));
}

void Replayer::append(std::string_view codePoint)
{
    m_window.deliverTyped(codePoint);
}

void Replayer::queueAnswers(std::vector<MsgBoxResult> answers)
{
    if (!m_answers.add(answers)) {
        m_err << "quorvale: line " << m_lineNumber << ": " << script::tooManyAnswers() << std::endl;
        handOver();
    }
}

void Replayer::dump()
{
    script::dump(m_window.maze(), m_out);
    m_out.flush();
}

void Replayer::close()
{
    m_window.close();
}

bool Replayer::done() const
{
    return !m_running || m_window.maze().ended();
}

void Replayer::boxShown(QMessageBox &box)
{
    if (!m_running)
        return;
    const std::optional<MsgBoxResult> next = m_answers.take();
    if (!next) {
        // Nothing recorded for this box: it is the player's, and so is the game from here on.
        handOver();
        return;
    }
    const MsgBoxResult answer = *next;
    // The box shows the player what happened; its buttons are the replay's, not the player's.
    const QList<QAbstractButton *> buttons = box.buttons();
    for (QAbstractButton *button : buttons)
        button->setEnabled(false);
    QPointer<QAbstractButton> chosen =
        box.button(answer == MsgBoxResult::Yes ? QMessageBox::Yes : QMessageBox::No);
    const bool closeWindow = answer == MsgBoxResult::Closed;
    QTimer::singleShot(m_pace == Pace::RealTime ? boxPauseMs : 0, &box,
                       [this, buttons, chosen, closeWindow] {
                           for (QAbstractButton *button : buttons)
                               button->setEnabled(true);
                           // The recorded player closed the window behind this box.
                           if (closeWindow)
                               m_window.close();
                           else if (chosen)
                               chosen->click();
                       });
}

void Replayer::handOver()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_clock)
        m_clock->stop();
    m_fastClock.stop();
    m_window.setPlayerIgnored(false);
    m_window.setTickSource(m_playerTicks);
    const std::string_view caption = m_window.maze().form().caption();
    m_window.setWindowTitle(
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    emit finished();
}

} // namespace quorvale::ui
