#pragma once

#include "maze.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A script of events, one command a line: the words, their arguments and how strings are quoted.
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

// Quotes a string the way scripts write them.
std::string quoted(std::string_view text);

// The code points of a UTF-8 string, each as its own UTF-8 sequence; nullopt if it is not UTF-8.
std::optional<std::vector<std::string_view>> splitCodePoints(std::string_view text);

} // namespace quorvale::script
