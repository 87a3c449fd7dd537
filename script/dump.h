#pragma once

#include "maze.h"

#include <iosfwd>
#include <string>

// The state of a game as text, one `NAME VALUE` a line, ending with `--`: what a script's `dump`
// prints, and what a recording's last line checks.
namespace quorvale::script {

void dump(const Maze &maze, std::ostream &out);

// Values as dumps print them: 0x and eight hex digits; whole numbers as integers.
std::string formatColour(Colour c);
std::string formatGeometry(float v);

} // namespace quorvale::script
