#pragma once

// Where the piece may legally stand, worked out from the layout alone and not from the game's
// code, so that the two can disagree: the route planner, the fuzz invariants and the soak test
// all judge positions by this one description.

#include "layout.h"

#include <array>
#include <compare>
#include <ostream>
#include <queue>
#include <set>

namespace quorvale::testing {

struct Point
{
    int left;
    int top;

    friend auto operator<=>(const Point &, const Point &) = default;
    friend std::ostream &operator<<(std::ostream &os, const Point &p)
    {
        return os << "(" << p.left << ", " << p.top << ")";
    }
};

inline constexpr Point start{layout::shpyou.left, layout::shpyou.top};
// Where the jump code puts the piece.
inline constexpr Point jumpTarget{8640, 240};
inline constexpr int pieceStep = 200;

// Whether a key press judging the piece at `p` finds nothing: no wall under the corner the walls
// look at (the bottom-left one, but shp3's bottom-right), not on the goal, not on or over the
// board's edge.
inline bool turnAccepts(Point p)
{
    const auto inside = [](const layout::ShapeLayout &s, int x, int y) {
        return s.left <= x && x <= s.left + s.width && s.top <= y && y <= s.top + s.height;
    };
    const int right = p.left + layout::shpyou.width;
    const int bottom = p.top + layout::shpyou.height;
    for (int n = 1; n <= wallCount; ++n) {
        if (inside(layout::walls[static_cast<std::size_t>(n - 1)], n == 3 ? right : p.left, bottom))
            return false;
    }
    if (inside(layout::shpgoal, p.left, p.top))
        return false;
    const auto &b = layout::shpborder;
    return p.left > b.left && p.top > b.top && right < b.left + b.width &&
           bottom < b.top + b.height;
}

// The four steps of the arrow keys.
inline constexpr std::array<Point, 4> arrowSteps = {
    {{-pieceStep, 0}, {0, -pieceStep}, {pieceStep, 0}, {0, pieceStep}}}; // 37, 38, 39, 40

// Every place the piece can stand after an event: where a reset or the jump code puts it, and one
// step from any place a key press lets it leave. Anything else no sequence of events produces.
inline std::set<Point> reachablePositions()
{
    std::set<Point> seen{start, jumpTarget};
    std::queue<Point> open;
    open.push(start);
    open.push(jumpTarget);
    while (!open.empty()) {
        const Point p = open.front();
        open.pop();
        if (!turnAccepts(p))
            continue; // stepped into, but the next key press sends the piece back to the start
        for (const Point step : arrowSteps) {
            const Point next{p.left + step.left, p.top + step.top};
            if (seen.insert(next).second)
                open.push(next);
        }
    }
    return seen;
}

} // namespace quorvale::testing
