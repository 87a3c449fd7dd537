#pragma once

#include <array>
#include <string_view>

// The numbers and names the page and the compiled rules agree on. The page types none of them:
// the layout's description tells it each (describe.cpp).
namespace quorvale::web {

// The bits of what the rules report changed since the page last asked.
inline constexpr int drawnChanged = 1;    // something drawn on the board
inline constexpr int controlsChanged = 2; // a control, the cheat box's text or a timer
// Only code points typed at the end of the cheat box (qv_take_typed() says which), so that a
// long typed text is not told again whole for each of them.
inline constexpr int typedChanged = 4;

// What the page's replay is told after each command (besides the ticks of a wait, which it makes
// with its own clock), and a box's answer when the script holds none.
inline constexpr int replayEnded = -1;
inline constexpr int replayDumped = -2;
inline constexpr int noAnswer = -1;

// One shape as the page draws it, in the drawing order (the label is drawn apart): its place
// and size in twips, its kind (an index into the layout's shape kinds), fill and border as
// 0xRRGGBB and border width in pixels. The page reads the records in place, each field by the
// name the layout gives it, so a tick costs no text.
struct ShapeRecord
{
    double left;
    double top;
    double width;
    double height;
    double shape;
    double fillColor;
    double borderColor;
    double borderWidth;
};
inline constexpr std::array<std::string_view, 8> shapeRecordFields = {
    "left", "top", "width", "height", "shape", "fillColor", "borderColor", "borderWidth"};
static_assert(sizeof(ShapeRecord) == shapeRecordFields.size() * sizeof(double));

} // namespace quorvale::web
