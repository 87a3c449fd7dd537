#include "scriptdriver.h"

#include <array>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <deque>
#include <istream>
#include <ostream>
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

const char *formatBool(bool b)
{
    return b ? "true" : "false";
}

// Reads lines of at most maxLineLength bytes, so that no input can make memory grow beyond that.
class LineReader
{
public:
    explicit LineReader(std::istream &in) : m_in(in) {}

    enum class Status { Line, End, TooLong, ReadError };

    Status next(std::string &line)
    {
        line.clear();
        std::streambuf *buf = m_in.rdbuf();
        while (true) {
            const auto c = buf->sbumpc();
            if (c == std::char_traits<char>::eof()) {
                if (m_in.bad())
                    return Status::ReadError;
                return line.empty() ? Status::End : Status::Line;
            }
            if (c == '\n')
                return Status::Line;
            if (line.size() == maxLineLength)
                return Status::TooLong;
            line.push_back(static_cast<char>(c));
        }
    }

private:
    std::istream &m_in;
};

} // namespace

std::string formatColour(Colour c)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "0x%08" PRIX32, c.value());
    return text.data();
}

std::string formatGeometry(float v)
{
    std::array<char, 32> text{};
    if (v == 0.0F)
        return "0"; // never "-0"
    if (std::trunc(v) == v && std::fabs(v) < 1e15F)
        std::snprintf(text.data(), text.size(), "%.0f", static_cast<double>(v));
    else
        std::snprintf(text.data(), text.size(), "%.9g", static_cast<double>(v));
    return text.data();
}

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
        if (timer == "Timer1")
            return std::optional<Command>{TickCommand{Element::Timer1}};
        if (timer == "Timer2")
            return std::optional<Command>{TickCommand{Element::Timer2}};
        return ParseError{"no timer is called " + shown(tokens[1].text) +
                          ": expected Timer1 or Timer2"};
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

// The headless platform: boxes are answered from the script's queue, Yes when it is empty.
class Runner::Platform final : public quorvale::Platform
{
public:
    explicit Platform(std::ostream &out) : m_out(out) {}

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        MsgBoxResult answer = MsgBoxResult::Yes;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        m_out << "msgbox " << style << ' ' << quoted(title) << ' ' << quoted(prompt) << " -> "
              << (answer == MsgBoxResult::Yes ? "yes" : "no") << '\n';
        return answer;
    }

    void endProgram() override
    {
        m_ended = true;
        m_out << "end\n";
    }

    void runtimeError(int number, std::string_view description) override
    {
        m_ended = true;
        m_failed = true;
        m_error = "run-time error " + std::to_string(number) + ": " + std::string(description);
    }

    void propertyChanged(Element, Property) override {}

    void queue(const std::vector<MsgBoxResult> &answers)
    {
        m_answers.insert(m_answers.end(), answers.begin(), answers.end());
    }

    bool ended() const { return m_ended; }
    bool failed() const { return m_failed; }
    const std::string &error() const { return m_error; }

private:
    std::ostream &m_out;
    std::deque<MsgBoxResult> m_answers;
    bool m_ended = false;
    bool m_failed = false;
    std::string m_error;
};

Runner::Runner(std::ostream &out)
    : m_platform(std::make_unique<Platform>(out)), m_maze(std::make_unique<Maze>(*m_platform)),
      m_out(out)
{}

Runner::~Runner() = default;

bool Runner::ended() const
{
    return m_platform->ended();
}

bool Runner::failed() const
{
    return m_platform->failed();
}

const std::string &Runner::error() const
{
    return m_platform->error();
}

const Maze &Runner::maze() const
{
    return *m_maze;
}

void Runner::execute(const Command &command)
{
    Maze &maze = *m_maze;
    std::visit(
        [&](const auto &c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, KeyCommand>) {
                maze.keyDown(c.keyCode);
            } else if constexpr (std::is_same_v<T, ClickCommand>) {
                maze.click(c.target);
            } else if constexpr (std::is_same_v<T, TickCommand>) {
                maze.tick(c.timer);
            } else if constexpr (std::is_same_v<T, TextCommand>) {
                maze.editText(c.text);
            } else if constexpr (std::is_same_v<T, TypeCommand>) {
                const auto points =
                    splitCodePoints(c.text).value_or(std::vector<std::string_view>{});
                for (const std::string_view point : points) {
                    if (maze.ended())
                        break;
                    maze.editText(maze.cheatBox().text() + std::string(point));
                }
            } else if constexpr (std::is_same_v<T, AnswerCommand>) {
                m_platform->queue(c.answers);
            } else if constexpr (std::is_same_v<T, DumpCommand>) {
                dump();
            } else if constexpr (std::is_same_v<T, CloseCommand>) {
                maze.close();
            }
        },
        command);
}

void Runner::dump()
{
    script::dump(*m_maze, m_out);
}

void dump(const Maze &maze, std::ostream &out)
{
    auto line = [&](std::string_view name, const std::string &value) {
        out << name << ' ' << value << '\n';
    };
    const ShapeElement &you = maze.shape(Element::shpyou);
    const ShapeElement &board = maze.shape(Element::shpborder);
    line("frmmaze.BackColor", formatColour(maze.form().backColor()));
    line("shpborder.FillColor", formatColour(board.fillColor()));
    line("shpborder.BorderColor", formatColour(board.borderColor()));
    line("shpyou.Left", formatGeometry(you.left()));
    line("shpyou.Top", formatGeometry(you.top()));
    line("shpyou.Shape", std::to_string(static_cast<int>(you.shape())));
    line("shpyou.FillColor", formatColour(you.fillColor()));
    line("shpyou.BorderColor", formatColour(you.borderColor()));
    line("shpball1.Top", formatGeometry(maze.shape(Element::shpball1).top()));
    line("shpball2.Top", formatGeometry(maze.shape(Element::shpball2).top()));
    line("cmdstart.Visible", formatBool(maze.control(Element::cmdstart).visible()));
    line("cmdstart.Enabled", formatBool(maze.control(Element::cmdstart).enabled()));
    line("txtcheat.Visible", formatBool(maze.cheatBox().visible()));
    line("txtcheat.Text", quoted(maze.cheatBox().text()));
    line("fraborder.Visible", formatBool(maze.control(Element::fraborder).visible()));
    for (const Element e :
         {Element::optred, Element::optgreen, Element::optblue, Element::optyellow}) {
        const std::string prefix(name(e));
        line(prefix + ".Visible", formatBool(maze.option(e).visible()));
        line(prefix + ".Value", formatBool(maze.option(e).value()));
    }
    line("lblabout.Caption", quoted(maze.label().caption()));
    line("Timer1.Enabled", formatBool(maze.timer(Element::Timer1).enabled()));
    line("Timer2.Enabled", formatBool(maze.timer(Element::Timer2).enabled()));
    const FormVariables v = maze.variables();
    const std::array<std::pair<std::string_view, std::int16_t>, 10> integers = {{
        {"ball1down", v.ball1down},
        {"ball2down", v.ball2down},
        {"youleft", v.youleft},
        {"youright", v.youright},
        {"youtop", v.youtop},
        {"youbottom", v.youbottom},
        {"goalleft", v.goalleft},
        {"goalright", v.goalright},
        {"goaltop", v.goaltop},
        {"goalbottom", v.goalbottom},
    }};
    for (const auto &[n, value] : integers)
        line(n, std::to_string(value));
    out << "--\n";
}

int run(std::istream &in, std::ostream &out, std::ostream &err)
{
    Runner runner(out);
    LineReader reader(in);
    std::string line;
    for (std::size_t number = 1;; ++number) {
        const auto status = reader.next(line);
        if (status == LineReader::Status::End)
            return 0;
        auto fail = [&](const std::string &what) {
            out.flush();
            err << "quorvale-script: line " << number << ": " << what << '\n';
            return 2;
        };
        if (status == LineReader::Status::TooLong)
            return fail("line longer than 16 MiB");
        if (status == LineReader::Status::ReadError)
            return fail("the input could not be read");
        // Scripts saved with Windows line endings work as well.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();

        auto parsed = parseLine(line);
        if (const auto *error = std::get_if<ParseError>(&parsed))
            return fail(error->message);
        if (const auto &command = std::get<std::optional<Command>>(parsed)) {
            runner.execute(*command);
            if (runner.failed()) {
                out.flush();
                err << "quorvale-script: line " << number << ": " << runner.error() << '\n';
                return 1;
            }
            if (runner.ended())
                return 0;
        }
    }
}

} // namespace quorvale::script
