#include "reader.h"

#include <istream>
#include <utility>

namespace quorvale::script {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A line buffer this large is given back after use rather than kept for the next line: a single
// 16 MiB line must not hold its memory for the rest of the script.
constexpr std::size_t keptLineCapacity = std::size_t{64} * 1024;

} // namespace

// Reads a line of at most maxLineLength bytes, so that no input can make memory grow beyond that.
ScriptReader::Status ScriptReader::readLine()
{
    m_line.clear();
    std::streambuf *buf = m_in.rdbuf();
    while (true) {
        const auto c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            if (m_in.bad())
                return Status::ReadError;
            return m_line.empty() ? Status::End : Status::Line;
        }
        if (c == '\n')
            return Status::Line;
        if (m_line.size() == maxLineLength)
            return Status::TooLong;
        m_line.push_back(static_cast<char>(c));
    }
}

std::variant<ScriptLine, EndOfScript, LineError> ScriptReader::next()
{
    while (true) {
        ++m_number;
        const Status status = readLine();
        if (status == Status::End)
            return EndOfScript{};
        if (status == Status::TooLong)
            return LineError{m_number, "line longer than 16 MiB"};
        if (status == Status::ReadError)
            return LineError{m_number, "the input could not be read"};
        // Some editors start a file with a byte-order mark, and save it with Windows line endings.
        if (m_number == 1 && m_line.starts_with(byteOrderMark))
            m_line.erase(0, byteOrderMark.size());
        if (!m_line.empty() && m_line.back() == '\r')
            m_line.pop_back();

        auto parsed = parseLine(m_line);
        if (m_line.capacity() > keptLineCapacity)
            std::string().swap(m_line);
        if (auto *error = std::get_if<ParseError>(&parsed))
            return LineError{m_number, std::move(error->message)};
        if (auto &command = std::get<std::optional<Command>>(parsed))
            return ScriptLine{m_number, std::move(*command)};
    }
}

std::variant<std::vector<ScriptLine>, LineError> readScript(std::istream &in)
{
    ScriptReader reader(in);
    std::vector<ScriptLine> lines;
    while (true) {
        auto next = reader.next();
        if (auto *line = std::get_if<ScriptLine>(&next))
            lines.push_back(std::move(*line));
        else if (auto *error = std::get_if<LineError>(&next))
            return std::move(*error);
        else
            return lines;
    }
}

} // namespace quorvale::script
