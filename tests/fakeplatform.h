#pragma once

// A platform for the rules without a window: message boxes answered from a queue, and a record of
// what the rules asked of the platform. Also a route finder for steering the piece.

#include "layout.h"
#include "maze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <queue>
#include <string>
#include <tuple>
#include <vector>

namespace quorvale {

inline void PrintTo(Colour c, std::ostream *os)
{
    *os << "0x" << std::hex << std::uppercase << c.value() << std::dec << std::nouppercase;
}

namespace testing {

struct MessageBoxShown
{
    std::string prompt;
    int style;
    std::string title;

    friend bool operator==(const MessageBoxShown &, const MessageBoxShown &) = default;
    friend std::ostream &operator<<(std::ostream &os, const MessageBoxShown &b)
    {
        return os << "{\"" << b.prompt << "\", " << b.style << ", \"" << b.title << "\"}";
    }
};

struct ChangeNotice
{
    Element element;
    Property property;

    friend bool operator==(const ChangeNotice &, const ChangeNotice &) = default;
    friend std::ostream &operator<<(std::ostream &os, const ChangeNotice &n)
    {
        return os << "{" << name(n.element) << ", " << static_cast<int>(n.property) << "}";
    }
};

inline const MessageBoxShown gameOverBox{"Please Try Again", 52, "GAME OVER"};
inline const MessageBoxShown youWinBox{"You Win Play Again", 68, " Congratulations"};
inline constexpr MsgBoxResult Yes = MsgBoxResult::Yes;
inline constexpr MsgBoxResult No = MsgBoxResult::No;

class FakePlatform final : public Platform
{
public:
    // Answers for the next boxes, one each; a box that finds none left gets Yes.
    void answer(std::initializer_list<MsgBoxResult> a) { m_answers.insert(m_answers.end(), a); }
    // Runs inside every box while it is open.
    void whileBoxIsOpen(std::function<void()> hook) { m_hook = std::move(hook); }

    std::vector<MessageBoxShown> boxes;
    std::vector<ChangeNotice> notices;
    int endCalls = 0;

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        boxes.push_back({std::string(prompt), style, std::string(title)});
        if (m_hook)
            m_hook();
        if (m_answers.empty())
            return Yes;
        const MsgBoxResult next = m_answers.front();
        m_answers.pop_front();
        return next;
    }
    void endProgram() override { ++endCalls; }
    void runtimeError(int, std::string_view) override { ADD_FAILURE() << "run-time error"; }
    void propertyChanged(Element e, Property p) override { notices.push_back({e, p}); }

private:
    std::deque<MsgBoxResult> m_answers;
    std::function<void()> m_hook;
};

// Any key that is not an arrow: it judges where the piece stands without moving it.
inline constexpr std::int16_t keySpace = 32;

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

inline constexpr Point start{5760, 240};

// Whether a turn would object to the piece at `p`, worked out from the layout alone. Only used to
// plan routes: the game itself judges every position a route passes.
inline bool turnObjectsTo(Point p)
{
    const auto in = [](const layout::ShapeLayout &s, int x, int y) {
        return s.left <= x && x <= s.left + s.width && s.top <= y && y <= s.top + s.height;
    };
    const int right = p.left + layout::shpyou.width;
    const int bottom = p.top + layout::shpyou.height;
    for (int n = 1; n <= wallCount; ++n) {
        if (in(layout::walls[static_cast<std::size_t>(n - 1)], n == 3 ? right : p.left, bottom))
            return true;
    }
    const auto &b = layout::shpborder;
    return in(layout::shpgoal, p.left, p.top) || p.left <= b.left || p.top <= b.top ||
           right >= b.left + b.width || bottom >= b.top + b.height;
}

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
        if (turnObjectsTo(p))
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

struct Game
{
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
            if (turnObjectsTo(p))
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
