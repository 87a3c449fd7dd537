#pragma once

#include <string>

namespace quorvale {
class Maze;
}

namespace quorvale::web {

// The window as the page builds it, with the pictures it shows, as JSON: once at start-up.
std::string layoutJson();

// The controls, the timers, the cheat box's text and the end, by name, as JSON.
std::string stateJson(const Maze &maze);

} // namespace quorvale::web
