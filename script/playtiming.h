#pragma once

#include "play.h"

#include <functional>
#include <string>

namespace quorvale::script {

class PlayListener;

// Tells a stopwatch or a race what reached the rules through a Play, then calls `after`: how
// every front end times its games.
class PlayTiming final : public PlayObserver
{
public:
    // `maze`: the rules the Play delivers to, whose cheat box tells whether a typed character
    // completed a code that changes play.
    PlayTiming(const Maze &maze, PlayListener &listener, std::function<void()> after = {});

    void keyDelivered(std::int16_t keyCode) override;
    void clickDelivered(Clickable target) override;
    void textDelivered(std::string_view text) override;
    void codePointTyped(std::string_view codePoint) override;
    void clockTicked() override;
    void clockTicksPassed(std::uint32_t ticks) override;
    void timerTicked(Element timer) override;
    void closeDelivered(bool boxOpen) override;
    void boxOpened(int style) override;

private:
    void told();

    const Maze &m_maze;
    PlayListener &m_listener;
    std::function<void()> m_after;
    // The cheat box's text after the last event: what a typed character was appended to.
    std::string m_cheatText;
};

} // namespace quorvale::script
