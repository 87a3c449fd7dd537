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
// Answers may wait for message boxes up to this many at a time, so that no script can make the
// queue grow without end.
inline constexpr std::size_t maxQueuedAnswers = 1'000'000;
// The longest `wait`: about a year of the clock's ticks.
inline constexpr std::uint32_t maxWaitTicks = 2'147'483'647;

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
struct WaitCommand // ticks of the window's clock, each to every timer in the list's order
{
    std::uint32_t ticks;
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

using Command = std::variant<KeyCommand, ClickCommand, TickCommand, WaitCommand, TextCommand,
                             TypeCommand, AnswerCommand, DumpCommand, CloseCommand>;

struct ParseError
{
    std::string message;
};

// One line, without its line break. No command (nullopt) for blank and comment lines.
std::variant<std::optional<Command>, ParseError> parseLine(std::string_view line);

// What a script is told when it queues more answers than maxQueuedAnswers.
std::string tooManyAnswers();

// How scripts write an answer to a message box: yes, no, or close (the window was closed while
// the box was open, which ends the program).
std::string_view answerWord(MsgBoxResult answer);

// Quotes a string the way scripts write them.
std::string quoted(std::string_view text);

// The length in bytes of the UTF-8 sequence that starts `text`; 0 if none does.
std::size_t codePointLength(std::string_view text);
bool isUtf8(std::string_view text);

} // namespace quorvale::script
