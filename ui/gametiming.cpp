#include "gametiming.h"

#include "cheatcodes.h"
#include "stopwatch.h"

#include <QMessageBox>

#include <utility>

namespace quorvale::ui {

GameTiming::GameTiming(script::PlayListener &listener, std::function<void()> after)
    : m_listener(listener), m_after(std::move(after))
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

void GameTiming::clockTickDelivered()
{
    m_listener.clockTicked();
    told();
}

void GameTiming::timerTickDelivered(Element /*timer*/)
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
    if (m_after)
        m_after();
}

} // namespace quorvale::ui
