#include "play.h"

#include "command.h"

#include <algorithm>
#include <utility>

namespace quorvale::script {

bool AnswerQueue::add(const std::vector<MsgBoxResult> &answers)
{
    if (m_answers.size() + answers.size() > maxQueuedAnswers)
        return false;
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
    return true;
}

std::optional<MsgBoxResult> AnswerQueue::take()
{
    if (m_answers.empty())
        return std::nullopt;
    const MsgBoxResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void Play::addObserver(PlayObserver &observer)
{
    m_observers.push_back(&observer);
}

void Play::removeObserver(PlayObserver &observer)
{
    std::erase(m_observers, &observer);
}

template<typename Call>
void Play::notify(Call &&call)
{
    if (m_observers.empty())
        return;
    // An observer may remove itself while it is told.
    const std::vector<PlayObserver *> observers = m_observers;
    for (PlayObserver *observer : observers)
        call(*observer);
}

bool Play::key(std::int16_t keyCode, std::int16_t shift)
{
    if (!m_maze.keyDown(keyCode, shift))
        return false;
    notify([keyCode](PlayObserver &o) { o.keyDelivered(keyCode); });
    return true;
}

bool Play::click(Clickable target)
{
    if (!m_maze.click(target))
        return false;
    notify([target](PlayObserver &o) { o.clickDelivered(target); });
    return true;
}

bool Play::tick(Element timer)
{
    if (!m_maze.tick(timer))
        return false;
    notify([timer](PlayObserver &o) { o.timerTicked(timer); });
    return true;
}

unsigned Play::clockTick()
{
    static_assert(timers.size() < 32, "a bit for each timer");
    unsigned taken = 0;
    for (std::size_t i = 0; i < timers.size(); ++i) {
        if (m_maze.tick(timers[i]))
            taken |= 1U << i;
    }
    notify([](PlayObserver &o) { o.clockTicked(); });
    return taken;
}

void Play::clockTicksPassed(std::uint32_t ticks)
{
    if (ticks > 0)
        notify([ticks](PlayObserver &o) { o.clockTicksPassed(ticks); });
}

bool Play::anyTimerRunning() const
{
    return std::any_of(timers.begin(), timers.end(),
                       [this](Element t) { return m_maze.timer(t).enabled(); });
}

bool Play::edit(std::string text)
{
    // The rules take the text over; an observer needs its own copy only when there is one.
    const std::string told = m_observers.empty() ? std::string() : text;
    if (!m_maze.editText(std::move(text)))
        return false;
    notify([&told](PlayObserver &o) { o.textDelivered(told); });
    return true;
}

bool Play::type(std::string_view codePoint)
{
    if (!m_maze.appendText(codePoint))
        return false;
    notify([codePoint](PlayObserver &o) { o.codePointTyped(codePoint); });
    return true;
}

bool Play::close(bool boxOpen)
{
    if (m_maze.ended())
        return false;
    m_maze.close();
    notify([boxOpen](PlayObserver &o) { o.closeDelivered(boxOpen); });
    return true;
}

void Play::boxOpened(int style)
{
    notify([style](PlayObserver &o) { o.boxOpened(style); });
}

void Play::answered(MsgBoxResult answer)
{
    notify([answer](PlayObserver &o) { o.boxAnswered(answer); });
}

} // namespace quorvale::script
