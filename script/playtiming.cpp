#include "playtiming.h"

#include "cheatcodes.h"
#include "stopwatch.h"

#include <utility>

namespace quorvale::script {

PlayTiming::PlayTiming(const Maze &maze, PlayListener &listener, std::function<void()> after)
    : m_maze(maze), m_listener(listener), m_after(std::move(after)),
      m_cheatText(maze.cheatBox().text())
{}

void PlayTiming::keyDelivered(std::int16_t /*keyCode*/)
{
    m_listener.eventHandled();
    told();
}

void PlayTiming::clickDelivered(Clickable target)
{
    m_listener.clicked(target);
    told();
}

void PlayTiming::textDelivered(std::string_view text)
{
    if (changesPlay(text))
        m_listener.cheated();
    else
        m_listener.eventHandled();
    told();
}

void PlayTiming::codePointTyped(std::string_view codePoint)
{
    // A code clears the box as it takes effect, so what it was is read from the text before.
    if (m_cheatText.size() < maxCheatCodeLength &&
        changesPlay(m_cheatText + std::string(codePoint)))
        m_listener.cheated();
    else
        m_listener.eventHandled();
    told();
}

void PlayTiming::clockTicked()
{
    m_listener.clockTicked();
    told();
}

void PlayTiming::clockTicksPassed(std::uint32_t ticks)
{
    m_listener.clockTicksPassed(ticks);
    told();
}

void PlayTiming::timerTicked(Element /*timer*/)
{
    m_listener.eventHandled();
    told();
}

void PlayTiming::closeDelivered(bool /*boxOpen*/)
{
    m_listener.eventHandled();
    told();
}

void PlayTiming::boxOpened(int style)
{
    m_listener.boxOpened(style);
    told();
}

void PlayTiming::told()
{
    m_cheatText = m_maze.cheatBox().text();
    if (m_after)
        m_after();
}

} // namespace quorvale::script
