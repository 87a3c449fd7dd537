#pragma once

#include "elementid.h"

#include <cstdint>
#include <string_view>

namespace quorvale {

// Message box styles and answers. A style adds the buttons (Yes and No) to the icon, and the box
// answers with the button pressed; the script format prints these numbers, so they are fixed.
inline constexpr int vbYesNo = 4;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;

enum class MsgBoxResult : std::int16_t {
    Closed = 0, // the program was ended while the box was open
    Yes = 6,
    No = 7,
};

// Everything the rules need from the world outside them.
class Platform
{
public:
    virtual ~Platform() = default;

    // A modal box with Yes and No, Yes the default; waits for the answer.
    virtual MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) = 0;

    // The program ends now. The rules deliver nothing further after this returns.
    virtual void endProgram() = 0;

    // Something went wrong that the program cannot carry on from: report it; the program then
    // ends with a failure status, exactly as after endProgram().
    virtual void runtimeError(int number, std::string_view description) = 0;

    // A property of an element has just changed value; whatever shows it is now stale.
    virtual void propertyChanged(Element element, Property property) = 0;
};

} // namespace quorvale
