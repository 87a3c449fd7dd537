#pragma once

// Routes for the piece: the arrow keys that walk it from the start to a wanted place with no key
// press on the way finding anything, worked out from the board alone.

#include "board.h"
#include "maze.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <queue>
#include <tuple>
#include <utility>
#include <vector>

namespace quorvale::testing {

// The keys of a shortest route from the start to the nearest place `wanted` that no turn on the
// way objects to.
template<typename Wanted>
inline std::vector<std::int16_t> routeFromStart(Wanted wanted)
{
    const Point from = start;
    Point to{-1, -1};
    std::map<Point, std::pair<Point, std::int16_t>> cameFrom{{from, {from, 0}}};
    std::queue<Point> open({from});
    while (!open.empty() && to.left < 0) {
        const Point p = open.front();
        open.pop();
        if (wanted(p)) {
            to = p;
            break;
        }
        if (!turnAccepts(p))
            continue;
        for (const auto &[key, dx, dy] : {std::tuple{vbKeyUp, 0, -200},
                                          {vbKeyDown, 0, 200},
                                          {vbKeyLeft, -200, 0},
                                          {vbKeyRight, 200, 0}}) {
            const Point next{p.left + dx, p.top + dy};
            if (next.left >= 0 && next.top >= 0 && next.left <= layout::clientWidth &&
                next.top <= layout::clientHeight && cameFrom.try_emplace(next, p, key).second)
                open.push(next);
        }
    }
    std::vector<std::int16_t> keys;
    if (!cameFrom.contains(to)) {
        ADD_FAILURE() << "no route";
        return keys;
    }
    for (Point p = to; p != from; p = cameFrom[p].first)
        keys.insert(keys.begin(), cameFrom[p].second);
    return keys;
}

inline std::vector<std::int16_t> routeToGoal()
{
    const auto &goal = layout::shpgoal;
    auto keys = routeFromStart([&goal](Point p) {
        return goal.left <= p.left && p.left <= goal.left + goal.width && goal.top <= p.top &&
               p.top <= goal.top + goal.height;
    });
    keys.push_back(vbKeyDown); // the step onto the goal is judged at the next key
    return keys;
}

} // namespace quorvale::testing
