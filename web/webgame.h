#pragma once

#include "maze.h"

#include <string>

namespace quorvale::web {

// The window as the page builds it, from the layout and the lists of elements and clickables.
std::string layoutJson();
// The controls, the timers, the cheat box's text and the end, by name.
std::string stateJson(const Maze &m);

} // namespace quorvale::web
