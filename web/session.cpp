#include "session.h"

#include <memory>
#include <utility>

namespace quorvale::web {

Session::Session() : m_recorder(m_recording, "quorvale", QUORVALE_VERSION)
{
    m_platform.setPlay(m_play);
    m_play.addObserver(m_recorder);
    m_play.addObserver(m_timing);
    timeRace(race().get());
}

void Session::timeRace(script::Race *race)
{
    if (m_raceTiming)
        m_play.removeObserver(*m_raceTiming);
    m_raceTiming.reset();
    if (!race)
        return;
    m_raceTiming = std::make_unique<script::PlayTiming>(m_maze, *race);
    m_play.addObserver(*m_raceTiming);
}

int Session::delivered(int value)
{
    if (m_maze.ended())
        m_recorder.finish();
    return value;
}

int Session::key(std::int16_t keyCode, std::int16_t shift)
{
    return delivered(m_play.key(keyCode, shift));
}

int Session::click(Clickable target)
{
    return delivered(m_play.click(target));
}

int Session::tick(Element timer)
{
    return delivered(m_play.tick(timer));
}

int Session::clockTick()
{
    return delivered(static_cast<int>(m_play.clockTick()));
}

int Session::edit(std::string text)
{
    return delivered(m_play.edit(std::move(text)));
}

int Session::type(std::string_view codePoint)
{
    m_platform.beginTyping();
    const bool reached = m_play.type(codePoint);
    m_platform.endTyping(codePoint, reached);
    return delivered(reached);
}

int Session::close()
{
    return delivered(m_play.close());
}

void Session::ticksPassed(std::uint32_t ticks)
{
    if (!m_maze.ended() && !m_platform.boxOpen)
        m_play.clockTicksPassed(ticks);
}

std::string Session::recording() const
{
    std::string text = m_recording.str();
    if (!m_platform.boxOpen)
        text += m_recorder.ending();
    return text;
}

namespace {

std::unique_ptr<Session> &current()
{
    static std::unique_ptr<Session> game = std::make_unique<Session>();
    return game;
}

} // namespace

Session &session()
{
    return *current();
}

void restartSession()
{
    current() = std::make_unique<Session>();
}

} // namespace quorvale::web
