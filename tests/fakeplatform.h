#pragma once

// A platform for the rules without a window: message boxes answered from a script, and a record of
// everything the rules asked of the platform. Also the few helpers the rule tests share for
// steering the piece around the maze.

#include "layout.h"
#include "maze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <queue>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvale {

// Readable failure messages for the model's value types.
inline void PrintTo(Colour c, std::ostream *os)
{
    *os << "0x" << std::hex << std::uppercase << c.value() << std::dec << std::nouppercase;
}

inline void PrintTo(Element e, std::ostream *os)
{
    *os << name(e);
}

inline void PrintTo(MsgBoxResult r, std::ostream *os)
{
    *os << static_cast<int>(r);
}

inline void PrintTo(ShapeKind k, std::ostream *os)
{
    *os << "Shape " << static_cast<int>(k);
}

inline void PrintTo(const FormVariables &v, std::ostream *os)
{
    *os << "{ball1down " << v.ball1down << ", ball2down " << v.ball2down << ", you " << v.youleft
        << " " << v.youright << " " << v.youtop << " " << v.youbottom << ", goal " << v.goalleft
        << " " << v.goalright << " " << v.goaltop << " " << v.goalbottom << "}";
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

struct RuntimeErrorRaised
{
    int number;
    std::string description;
};

// The two questions the game can ask, word for word.
inline const MessageBoxShown gameOverBox{"Please Try Again", 52, "GAME OVER"};
inline const MessageBoxShown youWinBox{"You Win Play Again", 68, " Congratulations"};

class FakePlatform final : public Platform
{
public:
    // Answers for the next boxes, one each; a box that finds none left gets Yes, the default.
    void answer(std::initializer_list<MsgBoxResult> answers)
    {
        m_answers.insert(m_answers.end(), answers);
    }

    // Runs inside every box, while it is open: the place to look at what the player sees then.
    void whileBoxIsOpen(std::function<void(const MessageBoxShown &)> hook)
    {
        m_hook = std::move(hook);
    }

    const std::vector<MessageBoxShown> &boxes() const { return m_boxes; }
    int boxCount(const MessageBoxShown &kind) const
    {
        return static_cast<int>(std::count(m_boxes.begin(), m_boxes.end(), kind));
    }
    int endCalls() const { return m_endCalls; }
    const std::optional<RuntimeErrorRaised> &runtimeErrorRaised() const { return m_error; }
    const std::vector<ChangeNotice> &notices() const { return m_notices; }

    void forgetBoxes() { m_boxes.clear(); }
    void forgetNotices() { m_notices.clear(); }

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        m_boxes.push_back({std::string(prompt), style, std::string(title)});
        if (m_hook)
            m_hook(m_boxes.back());
        if (m_answers.empty())
            return MsgBoxResult::Yes;
        const MsgBoxResult next = m_answers.front();
        m_answers.pop_front();
        return next;
    }

    void endProgram() override { ++m_endCalls; }

    void runtimeError(int number, std::string_view description) override
    {
        m_error = RuntimeErrorRaised{number, std::string(description)};
    }

    void propertyChanged(Element element, Property property) override
    {
        m_notices.push_back({element, property});
    }

private:
    std::deque<MsgBoxResult> m_answers;
    std::function<void(const MessageBoxShown &)> m_hook;
    std::vector<MessageBoxShown> m_boxes;
    int m_endCalls = 0;
    std::optional<RuntimeErrorRaised> m_error;
    std::vector<ChangeNotice> m_notices;
};

inline constexpr MsgBoxResult Yes = MsgBoxResult::Yes;
inline constexpr MsgBoxResult No = MsgBoxResult::No;

// Any key that is not an arrow: it judges where the piece stands without moving it.
inline constexpr std::int16_t keySpace = 32;

struct Point
{
    int left;
    int top;

    friend bool operator==(const Point &, const Point &) = default;
    friend auto operator<=>(const Point &, const Point &) = default;
    friend std::ostream &operator<<(std::ostream &os, const Point &p)
    {
        return os << "(" << p.left << ", " << p.top << ")";
    }
};

// Where a turn would object to the piece standing with its top-left corner at `p`, worked out
// from the layout alone: a wall under the tested corner, the goal, or the board's edge. Only
// used to plan routes; the game itself judges every position the route passes.
inline bool turnObjectsTo(Point p)
{
    const auto inside = [](const layout::ShapeLayout &s, int x, int y) {
        return s.left <= x && x <= s.left + s.width && s.top <= y && y <= s.top + s.height;
    };
    const int right = p.left + layout::shpyou.width;
    const int bottom = p.top + layout::shpyou.height;
    for (int n = 1; n <= wallCount; ++n) {
        const auto &w = layout::walls[static_cast<std::size_t>(n - 1)];
        const int x = n == 3 ? right : p.left; // shp3 catches the bottom-right corner
        if (inside(w, x, bottom))
            return true;
    }
    const auto &goal = layout::shpgoal;
    if (goal.left <= p.left && p.left <= goal.left + goal.width && goal.top <= p.top &&
        p.top <= goal.top + goal.height)
        return true;
    const auto &board = layout::shpborder;
    return p.left <= board.left || p.top <= board.top || right >= board.left + board.width ||
           bottom >= board.top + board.height;
}

// Arrow keys that take the piece from `from` to `to` in steps of 200 without passing any
// position a turn objects to. `to` itself may be such a position: the last step is not judged.
inline std::optional<std::vector<std::int16_t>> routeBetween(Point from, Point to)
{
    struct Move
    {
        std::int16_t key;
        int dx;
        int dy;
    };
    constexpr std::array<Move, 4> moves = {{
        {vbKeyUp, 0, -200},
        {vbKeyDown, 0, 200},
        {vbKeyLeft, -200, 0},
        {vbKeyRight, 200, 0},
    }};
    std::map<Point, std::pair<Point, std::int16_t>> cameFrom;
    std::queue<Point> open;
    open.push(from);
    cameFrom[from] = {from, 0};
    while (!open.empty()) {
        const Point p = open.front();
        open.pop();
        if (p == to)
            break;
        if (turnObjectsTo(p))
            continue; // can be stepped into, but not out of
        for (const Move &m : moves) {
            const Point next{p.left + m.dx, p.top + m.dy};
            if (next.left < 0 || next.top < 0 || next.left > layout::clientWidth ||
                next.top > layout::clientHeight || cameFrom.contains(next))
                continue;
            cameFrom[next] = {p, m.key};
            open.push(next);
        }
    }
    if (!cameFrom.contains(to))
        return std::nullopt;
    std::vector<std::int16_t> keys;
    for (Point p = to; p != from; p = cameFrom[p].first)
        keys.push_back(cameFrom[p].second);
    std::reverse(keys.begin(), keys.end());
    return keys;
}

// One window with its platform, and the moves a player makes.
struct Game
{
    FakePlatform platform;
    Maze maze{platform};

    const ShapeElement &piece() const { return maze.shape(Element::shpyou); }
    Point piecePosition() const
    {
        return {static_cast<int>(piece().left()), static_cast<int>(piece().top())};
    }

    // Walks the piece to `to` with arrow keys only. Every position on the way is judged by the
    // next key and must pass; `to` itself is left for the caller to judge.
    ::testing::AssertionResult walkTo(Point to)
    {
        const Point from = piecePosition();
        const auto keys = routeBetween(from, to);
        if (!keys)
            return ::testing::AssertionFailure() << "no route from " << from << " to " << to;
        const std::size_t boxesBefore = platform.boxes().size();
        for (const std::int16_t key : *keys) {
            maze.keyDown(key);
            if (platform.boxes().size() != boxesBefore)
                return ::testing::AssertionFailure()
                       << "a box came up on the way from " << from << " to " << to << " at key "
                       << key << ", piece at " << piecePosition();
        }
        if (piecePosition() != to)
            return ::testing::AssertionFailure() << "piece ended at " << piecePosition();
        return ::testing::AssertionSuccess();
    }

    // The player edits the cheat box one character at a time.
    void type(std::string_view text)
    {
        for (const char c : text)
            maze.editText(maze.cheatBox().text() + c);
    }

    int losses() const { return platform.boxCount(gameOverBox) / 2; }
    int wins() const { return platform.boxCount(youWinBox) / 2; }
};

} // namespace testing
} // namespace quorvale
