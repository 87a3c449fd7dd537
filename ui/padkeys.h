#pragma once

#include <chrono>
#include <optional>
#include <vector>

namespace quorvale::ui {

// The keys a game controller stands in for: the arrows, Enter and Escape.
enum class PadKey { Up, Down, Left, Right, Enter, Escape };

// The controls of a pad in the standard layout that mean a key.
enum class PadButton { DpadUp, DpadDown, DpadLeft, DpadRight, South, East, Start };

struct PadKeyEvent
{
    enum class Kind { Press, Repeat, Release };
    PadKey key;
    Kind kind;
    friend bool operator==(const PadKeyEvent &, const PadKeyEvent &) = default;
};

// Turns what the pads report into the key presses and releases a keyboard would make. The d-pad
// and the left stick are the arrows (the stick along its main axis, past half its travel), the
// bottom face button and Start are Enter, the right face button is Escape. A key is down while
// any of its controls on any pad is down, so one pad's release does not lift another's press. A
// held direction repeats as a held key does, the last one pressed only; Enter and Escape do not
// repeat, so a held button answers one message box, not the next one too.
// Plain C++ and driven by the caller's clock, so that its timing can be tested step by step.
class PadKeys
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds firstRepeat{500};
    static constexpr std::chrono::microseconds repeatInterval{33'333}; // 30 a second

    // `pad` tells the pads apart: any number that stays the same while the pad is plugged in.
    std::vector<PadKeyEvent> button(int pad, PadButton button, bool down, Clock::time_point now);
    // The left stick, each axis from -1 (left, up) to 1 (right, down).
    std::vector<PadKeyEvent> stick(int pad, float x, float y, Clock::time_point now);
    // The pad is gone: whatever it held is let go.
    std::vector<PadKeyEvent> unplugged(int pad);
    // The repeats due by `now`: at most one, a late one is not made up for.
    std::vector<PadKeyEvent> repeatsDue(Clock::time_point now);
    // When the next repeat is due, if one is.
    std::optional<Clock::time_point> nextRepeat() const;

private:
    // A control of a pad holding a key down; the stick is one control, holding one arrow at most.
    struct Hold
    {
        int pad;
        int control;
        PadKey key;
    };
    static constexpr int stickControl = -1;

    std::vector<Hold>::iterator find(int pad, int control);
    bool holds(int pad, int control);
    bool isDown(PadKey key) const;
    void hold(int pad, int control, PadKey key, Clock::time_point now,
              std::vector<PadKeyEvent> &out);
    void letGo(int pad, int control, std::vector<PadKeyEvent> &out);

    std::vector<Hold> m_holds;
    std::optional<PadKey> m_repeating;
    Clock::time_point m_due{};
};

} // namespace quorvale::ui
