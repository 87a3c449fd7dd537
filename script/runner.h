#pragma once

#include "apply.h"
#include "command.h"
#include "maze.h"
#include "play.h"

#include <iosfwd>
#include <memory>
#include <string>

// The script driver: the game's rules run on a script of events, with no window. It reproduces a
// game exactly, which is what tests and bug reports need.
namespace quorvale::script {

// Runs a script to its end. Returns the exit status: 0 when the script ran out, 1 after a
// run-time error, 2 for a line that is not a command, input that cannot be read, or more answers
// waiting than maxQueuedAnswers. Once the program has ended, the rest of the script is still
// read and checked, and its events do nothing, as in a window that is gone; a `dump` shows the
// state the game ended in, which is how a recording ends.
int run(std::istream &in, std::ostream &out, std::ostream &err);

// Runs a script as run() does, but prints only one line for each game that began in it, with its
// time: "game 1: won in 12.51 s". The same exit status, and the same message for a bad line.
int printTimes(std::istream &in, std::ostream &out, std::ostream &err);

class PlayListener;
class PlayTiming;
class ScriptedPlatform;

// Runs one parsed command after another against the game.
class Runner final : private Sink
{
public:
    explicit Runner(std::ostream &out);
    Runner(const Runner &) = delete;
    Runner &operator=(const Runner &) = delete;
    ~Runner() override;

    // Taken by value: a long text is moved into the game rather than copied.
    void execute(Command command);
    bool ended() const;
    bool failed() const;
    // What the run-time error said, once failed().
    const std::string &error() const;
    const Maze &maze() const;
    // The last `answer` would have queued more than maxQueuedAnswers; it queued none.
    bool refusedAnswers() const { return m_refusedAnswers; }
    // Told of everything that reaches the rules from now on, to time the games played.
    void timeWith(PlayListener &listener);
    void dump() override;

private:
    // Sink: the driver's events go straight to the rules, and a wait is all its ticks at once.
    void key(std::int16_t keyCode) override;
    void click(Clickable target) override;
    void tick(Element timer) override;
    void wait(std::uint32_t ticks) override;
    void text(std::string text) override;
    void append(std::string_view codePoint) override;
    void queueAnswers(std::vector<MsgBoxResult> answers) override;
    void close() override;
    bool done() const override;

    AnswerQueue m_answers;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<Maze> m_maze;
    Play m_play;
    std::ostream &m_out;
    std::unique_ptr<PlayTiming> m_timing;
    bool m_refusedAnswers = false;
};

} // namespace quorvale::script
