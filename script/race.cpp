#include "race.h"

#include <utility>

namespace quorvale::script {

Race::Race(std::unique_ptr<Ghost> ghost) : m_ghost(std::move(ghost)) {}

void Race::clicked(Clickable target)
{
    endOfEvent();
    m_stopwatch.clicked(target);
    if (target == Clickable::cmdstart)
        m_ghost->start();
    else if (target == Clickable::mnufilestart && m_ghost->started())
        m_ghost->reset();
}

void Race::cheated()
{
    endOfEvent();
    m_stopwatch.cheated();
}

// The ghost moves inside the tick it belongs to, after the player's rules have had it.
void Race::clockTicked()
{
    const bool inPlay = m_stopwatch.inPlay();
    m_stopwatch.clockTicked();
    if (inPlay)
        m_ghost->tick();
    endOfEvent();
}

void Race::eventHandled()
{
    m_stopwatch.eventHandled();
    endOfEvent();
}

void Race::boxOpened(int style)
{
    if (m_stopwatch.inPlay())
        m_resetAfterEvent = true;
    m_stopwatch.boxOpened(style);
}

// The board is back in setup (or the program has ended): the ghost goes back to its start. The
// race's result stays to be read until the next start.
void Race::endOfEvent()
{
    if (std::exchange(m_resetAfterEvent, false))
        m_ghost->reset();
}

std::string Race::status() const
{
    const GameTime &ghost = m_ghost->recorded();
    const auto ghostNow = [&] {
        return m_ghost->finished() ? "Ghost " + describe(ghost)
                                   : "Ghost " + runningSeconds(m_ghost->ticks());
    };
    if (m_stopwatch.games().empty())
        return "Ghost " + describe(ghost) + " \u00b7 Start to race it";
    const GameTime &you = m_stopwatch.games().back();
    if (!you.end)
        return "You " + runningSeconds(you.ticks) + " \u00b7 " + ghostNow();
    std::string line = "You " + describe(you) + " \u00b7 Ghost " + describe(ghost) + " \u00b7 ";
    if (you.end == GameEnd::Won && you.ticks < ghost.ticks)
        return line + "You finished first, by " + seconds(ghost.ticks - you.ticks);
    if (you.end == GameEnd::Won && you.ticks == ghost.ticks)
        return line + "A dead heat";
    if (you.end == GameEnd::Won)
        return line + "The ghost finished first, by " + seconds(you.ticks - ghost.ticks);
    if (you.end == GameEnd::Lost)
        return line + "The ghost finished first";
    return line + "Race abandoned";
}

} // namespace quorvale::script
