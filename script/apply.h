#pragma once

#include "command.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What each script command means, in one place for every front end that plays scripts: the
// driver without a window, the window's replay and the page's. A front end says only how its own
// events reach the rules, through a Sink.
namespace quorvale::script {

class Sink
{
public:
    virtual ~Sink() = default;

    virtual void key(std::int16_t keyCode) = 0;
    virtual void click(Clickable target) = 0;
    // One tick of one timer alone.
    virtual void tick(Element timer) = 0;
    // `ticks` ticks of the clock, each to every running timer in the list's order. A front end
    // with a clock of its own may spread them over it at the game's pace.
    virtual void wait(std::uint32_t ticks) = 0;
    // The cheat box's whole text becomes `text`, as one change.
    virtual void text(std::string text) = 0;
    // One code point typed at the end of the cheat box, as one change.
    virtual void append(std::string_view codePoint) = 0;
    // Answers for the message boxes to come, after those already waiting.
    virtual void queueAnswers(std::vector<MsgBoxResult> answers) = 0;
    virtual void dump() = 0;
    virtual void close() = 0;
    // Whether the front end takes no more events from the script: the program has ended, or the
    // player has taken the game over. What is left of a `type` is dropped then.
    virtual bool done() const = 0;
};

// Taken by value: a long text is moved into the front end rather than copied.
void apply(Command command, Sink &sink);

} // namespace quorvale::script
