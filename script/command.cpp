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
// Removes the backslashes of \" and \\.
std::string unescape(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\'))
            ++i;
        text += raw[i];
    }
    return text;
}

// A token as it stands in the line: a bare word, or the inside of a string, still escaped. Only
// a string that a command keeps is unescaped, into one string of the right size.
struct Token
{
    std::string_view raw;
    bool isString = false;

    std::string text() const { return isString ? unescape(raw) : std::string(raw); }
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

// The tokens of a line, read one at a time: a line of millions of answers must not become
// millions of tokens held at once.
class Tokenizer
{
public:
    explicit Tokenizer(std::string_view line) : m_line(line) {}

    // The next token, nullopt at the end of the line.
    std::variant<std::optional<Token>, ParseError> next()
    {
        std::size_t &i = m_pos;
        while (i < m_line.size() && isBlank(m_line[i]))
            ++i;
        if (i == m_line.size())
            return std::optional<Token>{};
        Token token;
        if (m_line[i] == '"') {
            token.isString = true;
            const std::size_t start = ++i;
            bool closed = false;
            while (i < m_line.size()) {
                const char c = m_line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < m_line.size() && (m_line[i] == '"' || m_line[i] == '\\'))
                    ++i;
            }
            if (!closed)
                return ParseError{"unterminated string"};
            token.raw = m_line.substr(start, i - 1 - start);
            if (i < m_line.size() && !isBlank(m_line[i]))
                return ParseError{"no space after a string"};
            // The backslashes of escapes are ASCII beside ASCII, so they cannot split or make a
            // multi-byte sequence: the string is UTF-8 exactly when its raw form is.
            if (!isUtf8(token.raw))
                return ParseError{"a string that is not valid UTF-8"};
        } else {
            const std::size_t start = i;
            while (i < m_line.size() && !isBlank(m_line[i]))
                ++i;
            token.raw = m_line.substr(start, i - start);
        }
        return std::optional<Token>{std::move(token)};
    }

private:
    std::string_view m_line;
    std::size_t m_pos = 0;
};

// The first fault in the way a line is split into tokens, if any: it is reported before
// anything the tokens say, whichever token it is in.
std::optional<ParseError> tokenFault(std::string_view line)
{
    Tokenizer tokens(line);
    while (true) {
        auto token = tokens.next();
        if (auto *error = std::get_if<ParseError>(&token))
            return std::move(*error);
        if (!std::get<std::optional<Token>>(token))
            return std::nullopt;
    }
}

// A whole decimal number from `low` to `high`, with nothing before or after it.
template<typename T>
std::optional<T> parseWhole(std::string_view text, std::int64_t low, std::int64_t high)
{
    std::int64_t value = 0;
    const char *last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (ec != std::errc{} || end != last || value < low || value > high)
        return std::nullopt;
    return static_cast<T>(value);
}

} // namespace

std::string tooManyAnswers()
{
    return "more than " + std::to_string(maxQueuedAnswers) + " answers waiting for message boxes";
}

std::size_t codePointLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t cp = 0;
    if (lead < 0x80) {
        return 1;
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
        return 0;
    }
    if (length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if ((c & 0xC0U) != 0x80U)
            return 0;
        cp = (cp << 6) | (c & 0x3FU);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

bool isUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t length = codePointLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string_view answerWord(MsgBoxResult answer)
{
    switch (answer) {
    case MsgBoxResult::Yes:
        return "yes";
    case MsgBoxResult::No:
        return "no";
    case MsgBoxResult::Closed:
        return "close";
    }
    return "?";
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

    if (auto fault = tokenFault(line))
        return std::move(*fault);
    // The line splits cleanly, so from here on every token can be read without an error.
    Tokenizer tokenizer(line);
    auto next = [&tokenizer]() {
        return std::get<std::optional<Token>>(tokenizer.next());
    };
    const Token command = *next();
    const std::string_view word = command.raw;
    std::vector<Token> tokens; // the arguments, up to one more than a command takes

    auto expectArguments = [&](std::size_t wanted) -> std::optional<ParseError> {
        while (tokens.size() <= wanted) {
            auto token = next();
            if (!token)
                break;
            tokens.push_back(std::move(*token));
        }
        if (tokens.size() < wanted)
            return ParseError{inQuotes(word) + " is missing its argument"};
        if (tokens.size() > wanted)
            return ParseError{"unexpected " + shown(tokens[wanted].text()) + " after " +
                              inQuotes(word)};
        return std::nullopt;
    };
    auto expectString = [&](std::size_t wanted) -> std::optional<ParseError> {
        if (auto error = expectArguments(wanted))
            return error;
        if (!tokens[0].isString)
            return ParseError{inQuotes(word) + " takes a string in double quotes"};
        return std::nullopt;
    };

    if (command.isString)
        return ParseError{"a line must start with a command, not a string"};

    if (word == "key") {
        if (auto error = expectArguments(1))
            return *error;
        const auto code = tokens[0].isString
                              ? std::nullopt
                              : parseWhole<std::int16_t>(tokens[0].raw, -32768, 32767);
        if (!code)
            return ParseError{"bad key code " + shown(tokens[0].text()) +
                              ": expected a whole number from -32768 to 32767"};
        return std::optional<Command>{KeyCommand{*code}};
    }
    if (word == "click") {
        if (auto error = expectArguments(1))
            return *error;
        const auto target = tokens[0].isString ? std::nullopt : clickableNamed(tokens[0].raw);
        if (!target)
            return ParseError{"nothing clickable is called " + shown(tokens[0].text())};
        return std::optional<Command>{ClickCommand{*target}};
    }
    if (word == "tick") {
        if (auto error = expectArguments(1))
            return *error;
        const std::string_view timer = tokens[0].isString ? "" : tokens[0].raw;
        std::string expected;
        for (std::size_t i = 0; i < timers.size(); ++i) {
            if (timer == name(timers[i]))
                return std::optional<Command>{TickCommand{timers[i]}};
            expected += i == 0 ? "" : i + 1 == timers.size() ? " or " : ", ";
            expected += name(timers[i]);
        }
        return ParseError{"no timer is called " + shown(tokens[0].text()) + ": expected " +
                          expected};
    }
    if (word == "text") {
        if (auto error = expectString(1))
            return *error;
        return std::optional<Command>{TextCommand{tokens[0].text()}};
    }
    if (word == "type") {
        if (auto error = expectString(1))
            return *error;
        return std::optional<Command>{TypeCommand{tokens[0].text()}};
    }
    if (word == "wait") {
        if (auto error = expectArguments(1))
            return *error;
        const auto ticks = tokens[0].isString
                               ? std::nullopt
                               : parseWhole<std::uint32_t>(tokens[0].raw, 0, maxWaitTicks);
        if (!ticks)
            return ParseError{"bad number of ticks " + shown(tokens[0].text()) +
                              ": expected a whole number from 0 to " +
                              std::to_string(maxWaitTicks)};
        return std::optional<Command>{WaitCommand{*ticks}};
    }
    if (word == "answer") {
        AnswerCommand answer;
        while (auto token = next()) {
            if (!token->isString && token->raw == "yes")
                answer.answers.push_back(MsgBoxResult::Yes);
            else if (!token->isString && token->raw == "no")
                answer.answers.push_back(MsgBoxResult::No);
            else if (!token->isString && token->raw == "close")
                answer.answers.push_back(MsgBoxResult::Closed);
            else
                return ParseError{"bad answer " + shown(token->text()) +
                                  ": expected yes, no or close"};
            if (answer.answers.size() > maxQueuedAnswers)
                return ParseError{tooManyAnswers()};
        }
        if (answer.answers.empty())
            return ParseError{"'answer' needs at least one yes, no or close"};
        return std::optional<Command>{std::move(answer)};
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
