#pragma once

#include <QKeyEvent>

#include <cstdint>

namespace quorvale::ui {

// The Windows virtual-key code of a key, taken from Qt's key and never from the native scan code
// so that it means the same on every keyboard layout and platform; 0 where there is none.
std::int16_t virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// The Shift, Ctrl and Alt state as the game receives it: bits 1, 2 and 4.
std::int16_t shiftState(Qt::KeyboardModifiers modifiers);

} // namespace quorvale::ui
