#pragma once

#include "platform.h"
#include "vocabulary.h"

#include <string>
#include <string_view>

namespace quorvale::script {
class Play;
}

// The browser's platform for the rules, in the page's worker beside the clock and the board's
// painter: the rules call out through it for message boxes and the end of the program, and it
// keeps what changed until the page looks.
namespace quorvale::web {

class WebPlatform final : public Platform
{
public:
    // The Play the page's events go through; it hears each box's answer.
    void setPlay(script::Play &play) { m_play = &play; }

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override;
    void endProgram() override;
    void runtimeError(int number, std::string_view description) override;
    void propertyChanged(Element element, Property property) override;

    // Around one code point typed at the end of the cheat box: unless a cheat code also rewrote
    // the box, the page is told only that code point (`reached` says whether it got in).
    void beginTyping();
    void endTyping(std::string_view codePoint, bool reached);

    // What changed since the page last looked, as vocabulary.h's bits.
    int takeChanges();
    // The code points typed at the end of the cheat box since the page last looked.
    std::string takeTyped();

    bool boxShown = false; // during the event being delivered
    bool boxOpen = false;  // the event being delivered waits for the player's answer

private:
    void end(int status, const std::string &message);
    void textRewritten();

    script::Play *m_play = nullptr;
    int m_changes = drawnChanged | controlsChanged;
    std::string m_typed;
    bool m_typing = false;
    int m_textWrites = 0;
    bool m_ended = false;
};

// Tells the page that an event which showed a box has run to its end, and its value: the call
// the page made returned when the box suspended it.
void announceEventEnd(int value);

} // namespace quorvale::web
