#include "gametiming.h"

#include "cheatcodes.h"
#include "stopwatch.h"

#include <QMessageBox>

#include <utility>

namespace quorvale::ui {

GameTiming::GameTiming(const Maze &maze, script::PlayListener &listener,
                       std::function<void()> after)
    : m_maze(maze), m_listener(listener), m_after(std::move(after)),
      m_cheatText(maze.cheatBox().text())
{}

void GameTiming::keyDelivered(std::int16_t /*keyCode*/)
{
    m_listener.eventHandled();
    told();
}

void GameTiming::clickDelivered(Clickable target)
{
    m_listener.clicked(target);
    told();
}

void GameTiming::textDelivered(std::string_view text)
{
    if (changesPlay(text))
        m_listener.cheated();
    else
        m_listener.eventHandled();
    told();
}

void GameTiming::codePointTyped(std::string_view codePoint)
{
    // A code clears the box as it takes effect, so what it was is read from the text before.
    if (m_cheatText.size() < maxCheatCodeLength &&
        changesPlay(m_cheatText + std::string(codePoint)))
        m_listener.cheated();
    else
        m_listener.eventHandled();
    told();
}

void GameTiming::clockTicked()
{
    m_listener.clockTicked();
    told();
}

void GameTiming::timerTicked(Element /*timer*/)
{
    m_listener.eventHandled();
    told();
}

void GameTiming::closeDelivered(bool /*boxOpen*/)
{
    m_listener.eventHandled();
    told();
}

// Only LoseGame and WinGame open boxes, and only WinGame's bears the information sign.
void GameTiming::boxOpened(QMessageBox &box)
{
    m_listener.boxOpened(box.icon() == QMessageBox::Information ? vbYesNo + vbInformation
                                                                : vbYesNo + vbExclamation);
    told();
}

void GameTiming::told()
{
    m_cheatText = m_maze.cheatBox().text();
    if (m_after)
        m_after();
}

} // namespace quorvale::ui
