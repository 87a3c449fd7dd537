#pragma once

#include "command.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

// Reading a script from a stream: lines of bounded length, each parsed as it comes, so that the
// driver can run a script of any length in little memory, and the window can check a whole script
// before it plays any of it.
namespace quorvale::script {

struct ScriptLine
{
    std::size_t number;
    Command command;
};

struct LineError
{
    std::size_t number;
    std::string message; // without the line number
};

struct EndOfScript
{};

class ScriptReader
{
public:
    explicit ScriptReader(std::istream &in) : m_in(in) {}

    // The next command, skipping blank and comment lines; EndOfScript once the input is used up.
    std::variant<ScriptLine, EndOfScript, LineError> next();

private:
    enum class Status { Line, End, TooLong, ReadError };
    Status readLine();

    std::istream &m_in;
    std::string m_line;
    std::size_t m_number = 0;
};

// Every command of a script, or the first line that is not one.
std::variant<std::vector<ScriptLine>, LineError> readScript(std::istream &in);

} // namespace quorvale::script
