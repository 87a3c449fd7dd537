#pragma once

#include "maze.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one way events reach the rules and are recorded, for every front end: the driver, the
// window and the page each deliver through a Play and keep only their own pacing and drawing.
namespace quorvale::script {

// Told of every event that reached the rules through a Play, right after the rules handled it,
// and of each answer given to a message box while they did. A recording is one; anything that
// must follow the game's own time (a tick of the clock is one sixty-fourth of a second of it)
// can be another.
class PlayObserver
{
public:
    virtual ~PlayObserver() = default;

    virtual void keyDelivered(std::int16_t /*keyCode*/) {}
    virtual void clickDelivered(Clickable /*target*/) {}
    // The cheat box's whole text became `text`, in one change.
    virtual void textDelivered(std::string_view /*text*/) {}
    // One code point was typed at the end of the cheat box, as one change.
    virtual void codePointTyped(std::string_view /*codePoint*/) {}
    // One tick of the clock went to every running timer in the list's order; also when none
    // runs, since the game's time goes on.
    virtual void clockTicked() {}
    // Ticks of the clock that passed while no timer ran, all at once; as many clockTicked()
    // unless an observer counts them faster.
    virtual void clockTicksPassed(std::uint32_t ticks)
    {
        for (std::uint32_t i = 0; i < ticks; ++i)
            clockTicked();
    }
    // One timer alone had a tick.
    virtual void timerTicked(Element /*timer*/) {}
    // The window was closed; `boxOpen` if a message box was open at the time.
    virtual void closeDelivered(bool /*boxOpen*/) {}
    // A message box opened, during the event that opened it: LoseGame's and WinGame's boxes
    // differ by `style`.
    virtual void boxOpened(int /*style*/) {}
    virtual void boxAnswered(MsgBoxResult /*answer*/) {}
};

// The answers a script holds for the message boxes to come, in order; no script can make it
// hold more than maxQueuedAnswers.
class AnswerQueue
{
public:
    // False, and nothing queued, when the answers would pass the limit.
    [[nodiscard]] bool add(const std::vector<MsgBoxResult> &answers);
    // The next answer, if any.
    std::optional<MsgBoxResult> take();
    std::size_t size() const { return m_answers.size(); }
    void clear() { m_answers.clear(); }

private:
    std::deque<MsgBoxResult> m_answers;
};

class Play
{
public:
    explicit Play(Maze &maze) : m_maze(maze) {}
    Play(const Play &) = delete;
    Play &operator=(const Play &) = delete;

    // Observers are told in the order they were added; one may remove itself while it is told.
    void addObserver(PlayObserver &observer);
    void removeObserver(PlayObserver &observer);

    // Each event returns whether it reached the rules; only what did is told to the observers.
    bool key(std::int16_t keyCode, std::int16_t shift = 0);
    bool click(Clickable target);
    bool tick(Element timer);
    // One tick of the clock: to every running timer in the list's order, each as far as it is
    // still running when its turn comes. Bit n is set when the list's timer n took it.
    unsigned clockTick();
    // Ticks of the clock that passed while no timer ran: nothing reaches the rules, but the
    // observers hear each, so that a recording keeps the game's pace.
    void clockTicksPassed(std::uint32_t ticks);
    bool anyTimerRunning() const;
    bool edit(std::string text);
    // Appended in place: typing a long text stays linear in its length.
    bool type(std::string_view codePoint);
    // The window is closed, perhaps behind an open message box. Nothing happens once the program
    // has ended.
    bool close(bool boxOpen = false);
    // The platform's message box opened, and was answered, during the event being delivered.
    void boxOpened(int style);
    void answered(MsgBoxResult answer);

    const Maze &maze() const { return m_maze; }

private:
    template<typename Call>
    void notify(Call &&call);

    Maze &m_maze;
    std::vector<PlayObserver *> m_observers;
};

} // namespace quorvale::script
