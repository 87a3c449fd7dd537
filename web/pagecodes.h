#pragma once

// The numbers the compiled rules and the page exchange; the layout names each for the page.
namespace quorvale::web {

// The bits of what qv_take_changes() reports: something drawn on the board; a control, a timer
// or the cheat box's text; or only code points typed at the end of the cheat box (qv_take_typed()
// says which), so that a long typed text is not told again whole for each of them.
inline constexpr int drawnChanged = 1;
inline constexpr int controlsChanged = 2;
inline constexpr int typedChanged = 4;

// What the page's replay is told after each command besides the ticks of a wait, which it makes
// with its own clock; and a box's answer when the script holds none.
inline constexpr int replayEnded = -1;
inline constexpr int replayDumped = -2;
inline constexpr int noAnswer = -1;

} // namespace quorvale::web
