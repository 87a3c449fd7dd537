#pragma once

// A game on the fake platform, with what rules tests need around it: a route planner that steers
// the piece, and readable values in failure messages.

#include "board.h"
#include "fakeplatform.h"
#include "maze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <queue>
#include <vector>

namespace quorvale {

inline void PrintTo(Colour c, std::ostream *os)
{
    *os << "0x" << std::hex << std::uppercase << c.value() << std::dec << std::nouppercase;
}

namespace testing {

// Any key that is not an arrow: it judges where the piece stands without moving it.
inline constexpr std::int16_t keySpace = 32;

struct Game
{
    Game()
    {
        platform.onRuntimeError([](int number, std::string_view description) {
            ADD_FAILURE() << "run-time error " << number << ": " << description;
        });
    }

    FakePlatform platform;
    Maze maze{platform};

    Point piece() const
    {
        const ShapeElement &s = maze.shape(Element::shpyou);
        return {static_cast<int>(s.left()), static_cast<int>(s.top())};
    }
    int losses() const
    {
        return static_cast<int>(
                   std::count(platform.boxes.begin(), platform.boxes.end(), gameOverBox)) /
               2;
    }

    // Arrow keys to `to` by a shortest path whose every judged position passes; `to` itself is
    // left unjudged.
    ::testing::AssertionResult walkTo(Point to)
    {
        const Point from = piece();
        std::map<Point, std::pair<Point, std::int16_t>> cameFrom{{from, {from, 0}}};
        std::queue<Point> open({from});
        while (!open.empty() && !cameFrom.contains(to)) {
            const Point p = open.front();
            open.pop();
            if (!turnAccepts(p))
                continue;
            for (std::size_t i = 0; i < arrowSteps.size(); ++i) {
                const Point next{p.left + arrowSteps[i].left, p.top + arrowSteps[i].top};
                const auto key = static_cast<std::int16_t>(vbKeyLeft + static_cast<int>(i));
                if (next.left >= 0 && next.top >= 0 && next.left <= layout::clientWidth &&
                    next.top <= layout::clientHeight && cameFrom.try_emplace(next, p, key).second)
                    open.push(next);
            }
        }
        if (!cameFrom.contains(to))
            return ::testing::AssertionFailure() << "no route from " << from << " to " << to;
        std::vector<std::int16_t> keys;
        for (Point p = to; p != from; p = cameFrom[p].first)
            keys.push_back(cameFrom[p].second);
        for (auto k = keys.rbegin(); k != keys.rend(); ++k)
            maze.keyDown(*k);
        if (!platform.boxes.empty() || piece() != to)
            return ::testing::AssertionFailure() << "the walk to " << to << " was judged";
        return ::testing::AssertionSuccess();
    }
};

} // namespace testing
} // namespace quorvale
