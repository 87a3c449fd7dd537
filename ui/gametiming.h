#pragma once

#include "eventobserver.h"
#include "maze.h"

#include <functional>
#include <string>

namespace quorvale::script {
class PlayListener;
}

namespace quorvale::ui {

// Tells a stopwatch or a race what reaches the window's rules, then calls `after`.
class GameTiming final : public EventObserver
{
public:
    // `maze`: the window's rules, whose cheat box tells whether a typed character completed a
    // code that changes play.
    GameTiming(const Maze &maze, script::PlayListener &listener, std::function<void()> after = {});

    // A game's time goes on while every timer is stopped.
    bool keepsTime() const override { return true; }
    void keyDelivered(std::int16_t keyCode) override;
    void clickDelivered(Clickable target) override;
    void textDelivered(std::string_view text) override;
    void codePointTyped(std::string_view codePoint) override;
    void clockTicked() override;
    void timerTicked(Element timer) override;
    void closeDelivered(bool boxOpen) override;
    void boxOpened(QMessageBox &box) override;

private:
    void told();

    const Maze &m_maze;
    script::PlayListener &m_listener;
    std::function<void()> m_after;
    // The cheat box's text after the last event: what a typed character was appended to.
    std::string m_cheatText;
};

} // namespace quorvale::ui
