#pragma once

#include "play.h"

namespace quorvale {
class Maze;
}

namespace quorvale::script {
class Stopwatch;
}

namespace quorvale::web {

// The page's games timed: webgame.cpp tells it what reaches the rules, as the window's front end
// tells its stopwatch; the page reads it through the qv_times_* entry points.
script::Stopwatch &stopwatch();

// Tells the page's stopwatch what reached the rules through a session's Play; the boxes are
// told it by the platform, which opens them.
class PageTiming final : public script::PlayObserver
{
public:
    explicit PageTiming(const Maze &maze) : m_maze(maze) {}

    void keyDelivered(std::int16_t keyCode) override;
    void clickDelivered(Clickable target) override;
    void textDelivered(std::string_view text) override;
    void codePointTyped(std::string_view codePoint) override;
    void clockTicked() override;
    void timerTicked(Element timer) override;
    void closeDelivered(bool boxOpen) override;

private:
    const Maze &m_maze;
};

} // namespace quorvale::web
