#pragma once

// What holds between any two events of any game, whatever the player did: the values each
// property can take given the procedures that write it. Shared by the fuzz target and the soak
// test, so both judge a state by the same rules.

#include "board.h"
#include "cheatcodes.h"
#include "layout.h"
#include "maze.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvale::testing {

inline constexpr int pieceSize = layout::shpyou.width;

namespace detail {
inline bool oneOf(Colour c, std::initializer_list<Colour> allowed)
{
    for (const Colour a : allowed) {
        if (c == a)
            return true;
    }
    return false;
}

inline bool isCheatCode(std::string_view text)
{
    for (const std::string_view code : cheatCodes) {
        if (text == code)
            return true;
    }
    return false;
}

// Whether `v` is a whole number n with low <= n <= high and n = from + k * step for a whole k.
inline bool onLattice(float v, int low, int high, int from, int step)
{
    if (!(v >= static_cast<float>(low) && v <= static_cast<float>(high)) || std::trunc(v) != v)
        return false;
    const int n = static_cast<int>(v);
    return ((n - from) % step + step) % step == 0;
}
} // namespace detail

// Checks a state between two events of a game that has not ended. Empty when everything holds,
// otherwise what does not.
inline std::string checkState(const Maze &maze, const std::set<Point> &reachable)
{
    using detail::oneOf;
    std::string wrong;
    const auto fail = [&](std::string_view what) {
        if (!wrong.empty())
            wrong += "; ";
        wrong += what;
    };

    if (maze.form().backColor() != colours::darkRed)
        fail("frmmaze.BackColor changed");

    const ShapeElement &board = maze.shape(Element::shpborder);
    if (!oneOf(board.fillColor(), {colours::scrollBars, colours::yellow, colours::orange,
                                   colours::veryDarkRed, colours::buttonText}))
        fail("shpborder.FillColor is no colour the game writes");
    if (!oneOf(board.borderColor(),
               {colours::black, colours::red, colours::green, colours::blue, colours::yellow}))
        fail("shpborder.BorderColor is no colour the game writes");

    const ShapeElement &you = maze.shape(Element::shpyou);
    if (!oneOf(you.fillColor(), {colours::green, colours::red, colours::blue, colours::yellow,
                                 colours::veryDarkRed}))
        fail("shpyou.FillColor is no colour the game writes");
    if (!oneOf(you.borderColor(), {colours::windowText, colours::green, colours::white}))
        fail("shpyou.BorderColor is no colour the game writes");
    if (you.shape() != ShapeKind::Square && you.shape() != ShapeKind::Circle &&
        you.shape() != ShapeKind::RoundedSquare)
        fail("shpyou.Shape is not 1, 3 or 5");
    if (std::trunc(you.left()) != you.left() || std::trunc(you.top()) != you.top() ||
        std::fabs(you.left()) > 1e6F || std::fabs(you.top()) > 1e6F ||
        !reachable.contains(Point{static_cast<int>(you.left()), static_cast<int>(you.top())}))
        fail("shpyou stands where no sequence of key presses can put it");

    // Ball 1 moves 100 from 240 and turns at the board's top and at shp1; ball 2 moves 200 and
    // turns at the board's top and at shp2. The direction is the one the last move left.
    const FormVariables v = maze.variables();
    const float ball1 = maze.shape(Element::shpball1).top();
    const float ball2 = maze.shape(Element::shpball2).top();
    if (!detail::onLattice(ball1, 40, 3840, 240, 100))
        fail("shpball1.Top is off its track");
    if (!detail::onLattice(ball2, 40, 6840, 240, 200))
        fail("shpball2.Top is off its track");
    if ((v.ball1down != 0 && v.ball1down != -1) || (v.ball2down != 0 && v.ball2down != -1))
        fail("a ball direction is neither True nor False");
    if ((ball1 == 40.0F && v.ball1down != -1) || (ball1 == 3840.0F && v.ball1down != 0) ||
        (ball2 == 40.0F && v.ball2down != -1) || (ball2 == 6840.0F && v.ball2down != 0))
        fail("a ball at the end of its track is not heading back");

    // The captured bounds are those of a real piece position and of the goal, or still all zero
    // before the first key press.
    const bool noKeyYet = v.youleft == 0 && v.youright == 0 && v.youtop == 0 && v.youbottom == 0 &&
                          v.goalleft == 0 && v.goalright == 0 && v.goaltop == 0 &&
                          v.goalbottom == 0;
    if (!noKeyYet) {
        if (!reachable.contains(Point{v.youleft, v.youtop}) ||
            v.youright != v.youleft + pieceSize || v.youbottom != v.youtop + pieceSize)
            fail("the captured piece bounds are no position the piece held");
        const auto &g = layout::shpgoal;
        if (v.goalleft != g.left || v.goalright != g.left + g.width || v.goaltop != g.top ||
            v.goalbottom != g.top + g.height)
            fail("the captured goal bounds are not the goal's");
    }

    // The phase lives in the visibility of the setup controls, all switched together.
    const bool setup = maze.control(Element::cmdstart).visible();
    std::vector<Element> setupControls = {Element::txtcheat, Element::fraborder};
    setupControls.insert(setupControls.end(), optionButtons.begin(), optionButtons.end());
    for (const Element e : setupControls) {
        if (maze.control(e).visible() != setup)
            fail("the setup controls are not all shown or all hidden");
        if (!maze.control(e).enabled())
            fail("a control that nothing disables is disabled");
    }
    if (maze.control(Element::cmdstart).enabled() != setup)
        fail("cmdstart.Enabled differs from its Visible");
    int selected = 0;
    for (const Element e : optionButtons)
        selected += maze.option(e).value() ? 1 : 0;
    if (selected > 1)
        fail("more than one option button is selected");

    if (!maze.label().caption().empty() && maze.label().caption() != aboutText)
        fail("lblabout.Caption is neither empty nor the help text");
    if (detail::isCheatCode(maze.cheatBox().text()))
        fail("the cheat box still holds a code after the event");
    return wrong;
}

} // namespace quorvale::testing
