#include "padkeys.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvale::ui {

namespace {

// What each button of PadButton is, in its order.
constexpr std::array buttonKeys = {PadKey::Up,    PadKey::Down,   PadKey::Left, PadKey::Right,
                                   PadKey::Enter, PadKey::Escape, PadKey::Enter};
static_assert(buttonKeys.size() == static_cast<std::size_t>(PadButton::Start) + 1);

constexpr PadKey keyOf(PadButton button)
{
    return buttonKeys[static_cast<std::size_t>(button)];
}

constexpr bool repeats(PadKey key)
{
    return key == PadKey::Up || key == PadKey::Down || key == PadKey::Left || key == PadKey::Right;
}

// Half the stick's travel: a thumb resting on a worn stick, or brushing it on the way to a
// button, stays short of it.
constexpr float deadZone = 0.5F;

std::optional<PadKey> stickKey(float x, float y)
{
    if (std::abs(x) >= std::abs(y)) {
        if (std::abs(x) <= deadZone)
            return std::nullopt;
        return x < 0 ? PadKey::Left : PadKey::Right;
    }
    if (std::abs(y) <= deadZone)
        return std::nullopt;
    return y < 0 ? PadKey::Up : PadKey::Down;
}

} // namespace

std::vector<PadKeys::Hold>::iterator PadKeys::find(int pad, int control)
{
    return std::find_if(m_holds.begin(), m_holds.end(),
                        [&](const Hold &h) { return h.pad == pad && h.control == control; });
}

bool PadKeys::holds(int pad, int control)
{
    return find(pad, control) != m_holds.end();
}

bool PadKeys::isDown(PadKey key) const
{
    return std::any_of(m_holds.begin(), m_holds.end(),
                       [key](const Hold &h) { return h.key == key; });
}

void PadKeys::hold(int pad, int control, PadKey key, Clock::time_point now,
                   std::vector<PadKeyEvent> &out)
{
    const bool wasDown = isDown(key);
    m_holds.push_back({pad, control, key});
    if (wasDown)
        return;
    out.push_back({key, PadKeyEvent::Kind::Press});
    if (repeats(key)) {
        m_repeating = key;
        m_due = now + firstRepeat;
    }
}

void PadKeys::letGo(int pad, int control, std::vector<PadKeyEvent> &out)
{
    const auto held = find(pad, control);
    if (held == m_holds.end())
        return;
    const PadKey key = held->key;
    m_holds.erase(held);
    if (isDown(key))
        return;
    out.push_back({key, PadKeyEvent::Kind::Release});
    if (m_repeating == key)
        m_repeating.reset();
}

std::vector<PadKeyEvent> PadKeys::button(int pad, PadButton button, bool down,
                                         Clock::time_point now)
{
    std::vector<PadKeyEvent> out;
    const int control = static_cast<int>(button);
    // A press reported twice without a release between is one press.
    if (down && !holds(pad, control))
        hold(pad, control, keyOf(button), now, out);
    else if (!down)
        letGo(pad, control, out);
    return out;
}

std::vector<PadKeyEvent> PadKeys::stick(int pad, float x, float y, Clock::time_point now)
{
    std::vector<PadKeyEvent> out;
    const std::optional<PadKey> key = stickKey(x, y);
    const auto held = find(pad, stickControl);
    if (held != m_holds.end() && key == held->key)
        return out;
    letGo(pad, stickControl, out);
    if (key)
        hold(pad, stickControl, *key, now, out);
    return out;
}

std::vector<PadKeyEvent> PadKeys::unplugged(int pad)
{
    std::vector<PadKeyEvent> out;
    while (true) {
        const auto held = std::find_if(m_holds.begin(), m_holds.end(),
                                       [pad](const Hold &h) { return h.pad == pad; });
        if (held == m_holds.end())
            return out;
        letGo(pad, held->control, out);
    }
}

std::vector<PadKeyEvent> PadKeys::repeatsDue(Clock::time_point now)
{
    if (!m_repeating || now < m_due)
        return {};
    m_due += repeatInterval;
    if (m_due <= now)
        m_due = now + repeatInterval;
    return {{*m_repeating, PadKeyEvent::Kind::Repeat}};
}

std::optional<PadKeys::Clock::time_point> PadKeys::nextRepeat() const
{
    if (!m_repeating)
        return std::nullopt;
    return m_due;
}

} // namespace quorvale::ui
