#include "command.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

namespace quorvale::script {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A token as it stood in the line: a bare word, or a string already unescaped.
struct Token
{
    std::string text;
    bool isString = false;
};

// 'word', for messages. Built by appending: "'" + std::string(...) draws a false -Wrestrict
// warning from g++ 12 at -O3.
std::string inQuotes(std::string_view word)
{
    std::string s;
    s.reserve(word.size() + 2);
    s += '\'';
    s += word;
    s += '\'';
    return s;
}

// A bad token shown back to the user: short, and with nothing unprintable in it.
std::string shown(std::string_view token)
{
    constexpr std::size_t limit = 40;
    std::string s;
    for (std::size_t i = 0; i < token.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c < 0x20 || c == 0x7F || c >= 0x80) {
            std::array<char, 5> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02X", c);
            s += hex.data();
        } else {
            s += static_cast<char>(c);
        }
    }
    if (token.size() > limit)
        s += "...";
    return inQuotes(s);
}

std::variant<std::vector<Token>, ParseError> tokenize(std::string_view line)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size())
            return tokens;
        Token token;
        if (line[i] == '"') {
            token.isString = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    token.text += line[i++];
                else
                    token.text += c;
            }
            if (!closed)
                return ParseError{"unterminated string"};
            if (i < line.size() && !isBlank(line[i]))
                return ParseError{"no space after a string"};
            if (!splitCodePoints(token.text))
                return ParseError{"a string that is not valid UTF-8"};
        } else {
            const std::size_t start = i;
            while (i < line.size() && !isBlank(line[i]))
                ++i;
            token.text = line.substr(start, i - start);
        }
        tokens.push_back(std::move(token));
    }
}

std::optional<std::int16_t> parseKeyCode(std::string_view text)
{
    int value = 0;
    const char *first = text.data();
    const char *last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc{} || end != last || value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace

std::optional<std::vector<std::string_view>> splitCodePoints(std::string_view text)
{
    std::vector<std::string_view> points;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1FU;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0FU;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07U;
        } else {
            return std::nullopt;
        }
        if (i + length > text.size())
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0U) != 0x80U)
                return std::nullopt;
            cp = (cp << 6) | (c & 0x3FU);
        }
        const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        points.push_back(text.substr(i, length));
        i += length;
    }
    return points;
}

std::string quoted(std::string_view text)
{
    std::string s = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            s += '\\';
        s += c;
    }
    s += '"';
    return s;
}

std::variant<std::optional<Command>, ParseError> parseLine(std::string_view line)
{
    std::size_t first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    if (first == line.size() || line[first] == '#')
        return std::optional<Command>{};

    auto tokenized = tokenize(line);
    if (auto *error = std::get_if<ParseError>(&tokenized))
        return *error;
    const auto &tokens = std::get<std::vector<Token>>(tokenized);
    const std::string_view word = tokens[0].text;
    const std::size_t arguments = tokens.size() - 1;

    auto expectArguments = [&](std::size_t wanted) -> std::optional<ParseError> {
        if (arguments < wanted)
            return ParseError{inQuotes(word) + " is missing its argument"};
        if (arguments > wanted)
            return ParseError{"unexpected " + shown(tokens[wanted + 1].text) + " after " +
                              inQuotes(word)};
        return std::nullopt;
    };
    auto expectString = [&](std::size_t wanted) -> std::optional<ParseError> {
        if (auto error = expectArguments(wanted))
            return error;
        if (!tokens[1].isString)
            return ParseError{inQuotes(word) + " takes a string in double quotes"};
        return std::nullopt;
    };

    if (tokens[0].isString)
        return ParseError{"a line must start with a command, not a string"};

    if (word == "key") {
        if (auto error = expectArguments(1))
            return *error;
        const auto code = tokens[1].isString ? std::nullopt : parseKeyCode(tokens[1].text);
        if (!code)
            return ParseError{"bad key code " + shown(tokens[1].text) +
                              ": expected a whole number from -32768 to 32767"};
        return std::optional<Command>{KeyCommand{*code}};
    }
    if (word == "click") {
        if (auto error = expectArguments(1))
            return *error;
        const auto target = tokens[1].isString ? std::nullopt : clickableNamed(tokens[1].text);
        if (!target)
            return ParseError{"nothing clickable is called " + shown(tokens[1].text)};
        return std::optional<Command>{ClickCommand{*target}};
    }
    if (word == "tick") {
        if (auto error = expectArguments(1))
            return *error;
        const std::string_view timer = tokens[1].isString ? "" : std::string_view(tokens[1].text);
        std::string expected;
        for (std::size_t i = 0; i < timers.size(); ++i) {
            if (timer == name(timers[i]))
                return std::optional<Command>{TickCommand{timers[i]}};
            expected += i == 0 ? "" : i + 1 == timers.size() ? " or " : ", ";
            expected += name(timers[i]);
        }
        return ParseError{"no timer is called " + shown(tokens[1].text) + ": expected " + expected};
    }
    if (word == "text") {
        if (auto error = expectString(1))
            return *error;
        return std::optional<Command>{TextCommand{tokens[1].text}};
    }
    if (word == "type") {
        if (auto error = expectString(1))
            return *error;
        return std::optional<Command>{TypeCommand{tokens[1].text}};
    }
    if (word == "answer") {
        if (arguments == 0)
            return ParseError{"'answer' needs at least one yes or no"};
        AnswerCommand command;
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            if (!tokens[i].isString && tokens[i].text == "yes")
                command.answers.push_back(MsgBoxResult::Yes);
            else if (!tokens[i].isString && tokens[i].text == "no")
                command.answers.push_back(MsgBoxResult::No);
            else
                return ParseError{"bad answer " + shown(tokens[i].text) + ": expected yes or no"};
        }
        return std::optional<Command>{std::move(command)};
    }
    if (word == "dump") {
        if (auto error = expectArguments(0))
            return *error;
        return std::optional<Command>{DumpCommand{}};
    }
    if (word == "close") {
        if (auto error = expectArguments(0))
            return *error;
        return std::optional<Command>{CloseCommand{}};
    }
    return ParseError{"unknown command " + shown(word)};
}

} // namespace quorvale::script
