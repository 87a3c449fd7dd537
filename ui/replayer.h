#pragma once

#include "apply.h"
#include "eventobserver.h"
#include "mainwindow.h"
#include "play.h"
#include "reader.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace quorvale::ui {

class TickTimer;

// Plays a script in the window for the player to watch: each event goes in where the player's
// own would, `wait N` takes N ticks of the clock at the game's own pace, and each message box
// stays up for about a second before it takes the next recorded answer. Meanwhile the player's
// keys, clicks and edits are ignored and the caption says that a replay is running. The player
// takes over when the script runs out, or at a box that has no recorded answer left.
class Replayer final : public QObject, private EventObserver, private script::Sink
{
    Q_OBJECT

public:
    // Instant: waits and boxes take no time, for tests.
    enum class Pace { RealTime, Instant };

    Replayer(MainWindow &window, std::vector<script::ScriptLine> script, QString name,
             std::ostream &out, std::ostream &err, Pace pace = Pace::RealTime);
    ~Replayer() override;

    void start();
    bool isRunning() const { return m_running; }

    static constexpr int boxPauseMs = 1000;

signals:
    // The replay is over and the player has the game.
    void finished();

private:
    void advance();
    void clockTicked();
    void handOver();
    void boxShown(QMessageBox &box) override;

    // Sink: each event goes in through the window as the player's own would; a wait starts the
    // replay's clock, and advance() goes on once it has ticked its last.
    void key(std::int16_t keyCode) override;
    void click(Clickable target) override;
    void tick(Element timer) override;
    void wait(std::uint32_t ticks) override;
    void text(std::string text) override;
    void append(std::string_view codePoint) override;
    void queueAnswers(std::vector<MsgBoxResult> answers) override;
    void dump() override;
    void close() override;
    bool done() const override;

    MainWindow &m_window;
    std::vector<script::ScriptLine> m_script;
    std::size_t m_next = 0;
    std::size_t m_lineNumber = 0; // of the command being applied
    QString m_name;
    std::ostream &m_out;
    std::ostream &m_err;
    Pace m_pace;
    TickSource m_playerTicks = TickSource::Clock;
    TickTimer *m_clock = nullptr; // at the real pace
    QTimer m_fastClock;           // instant
    std::uint32_t m_ticksLeft = 0;
    script::AnswerQueue m_answers;
    bool m_running = false;
    bool m_busy = false;
};

} // namespace quorvale::ui
