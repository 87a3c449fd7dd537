#include "runner.h"

#include "dump.h"

#include <deque>
#include <istream>
#include <ostream>
#include <utility>

namespace quorvale::script {

namespace {

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

// The headless platform: boxes are answered from the script's queue, Yes when it is empty.
class ScriptedPlatform final : public Platform
{
public:
    explicit ScriptedPlatform(std::ostream &out) : m_out(out) {}

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
    : m_platform(std::make_unique<ScriptedPlatform>(out)),
      m_maze(std::make_unique<Maze>(*m_platform)), m_out(out)
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
