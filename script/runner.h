#pragma once

#include "command.h"
#include "maze.h"

#include <iosfwd>
#include <memory>
#include <string>

// The script driver: the game's rules run on a script of events, with no window. It reproduces a
// game exactly, which is what tests and bug reports need.
namespace quorvale::script {

// Runs a script to its end or to the end of the program. Returns the exit status: 0 when the
// script ran out or the program ended, 1 after a run-time error, 2 for a line that is not a
// command or input that cannot be read.
int run(std::istream &in, std::ostream &out, std::ostream &err);

class ScriptedPlatform;

// Runs one parsed command against the game; false once the program has ended.
class Runner
{
public:
    explicit Runner(std::ostream &out);
    Runner(const Runner &) = delete;
    Runner &operator=(const Runner &) = delete;
    ~Runner();

    void execute(const Command &command);
    bool ended() const;
    bool failed() const;
    // What the run-time error said, once failed().
    const std::string &error() const;
    const Maze &maze() const;
    void dump();

private:
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<Maze> m_maze;
    std::ostream &m_out;
};

} // namespace quorvale::script
