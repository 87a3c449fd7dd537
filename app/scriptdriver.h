#pragma once

#include "maze.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The script driver: the game's rules run on a script of events, one command a line, with no
// window. It reproduces a game exactly, which is what tests and bug reports need.
namespace quorvale::script {

inline constexpr std::size_t maxLineLength = std::size_t{16} * 1024 * 1024;

struct KeyCommand
{
    std::int16_t keyCode;
};
struct ClickCommand
{
    Clickable target;
};
struct TickCommand
{
    Element timer;
};
struct TextCommand // the whole text becomes `text`, as one change
{
    std::string text;
};
struct TypeCommand // one change per code point
{
    std::string text;
};
struct AnswerCommand
{
    std::vector<MsgBoxResult> answers;
};
struct DumpCommand
{};
struct CloseCommand
{};

using Command = std::variant<KeyCommand, ClickCommand, TickCommand, TextCommand, TypeCommand,
                             AnswerCommand, DumpCommand, CloseCommand>;

struct ParseError
{
    std::string message;
};

// One line, without its line break. No command (nullopt) for blank and comment lines.
std::variant<std::optional<Command>, ParseError> parseLine(std::string_view line);

// Values as dumps print them: 0x and eight hex digits; whole numbers as integers.
std::string formatColour(Colour c);
std::string formatGeometry(float v);

// Quotes a string the way scripts write them.
std::string quoted(std::string_view text);

// The code points of a UTF-8 string, each as its own UTF-8 sequence; nullopt if it is not UTF-8.
std::optional<std::vector<std::string_view>> splitCodePoints(std::string_view text);

// Prints the game's state as the `dump` command does, closing line "--" included.
void dump(const Maze &maze, std::ostream &out);

// Runs a script to its end or to the end of the program. Returns the exit status: 0 when the
// script ran out or the program ended, 1 after a run-time error, 2 for a line that is not a
// command or input that cannot be read.
int run(std::istream &in, std::ostream &out, std::ostream &err);

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
    class Platform;
    std::unique_ptr<Platform> m_platform;
    std::unique_ptr<Maze> m_maze;
    std::ostream &m_out;
};

} // namespace quorvale::script
