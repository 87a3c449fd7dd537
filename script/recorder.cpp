#include "recorder.h"

#include "command.h"

#include <ostream>

namespace quorvale::script {

Recorder::Recorder(std::ostream &out, std::string_view program, std::string_view version)
    : m_out(out)
{
    std::string heading = "# Recorded by ";
    heading += program;
    heading += ' ';
    heading += version;
    heading += "\n# Replay it with: quorvale-script FILE, or quorvale --replay FILE\n";
    write(heading);
}

void Recorder::key(std::int16_t keyCode)
{
    event("key " + std::to_string(keyCode) + '\n');
}

void Recorder::click(Clickable target)
{
    event("click " + std::string(name(target)) + '\n');
}

void Recorder::text(std::string_view text)
{
    event("text " + quoted(text) + '\n');
}

void Recorder::typed(std::string_view codePoint)
{
    if (m_finished || m_failed)
        return;
    // Answers given now were given during this code point's change, so they go before the line
    // that holds it.
    if (m_ticks != 0 || !m_answers.empty() || m_typed.size() >= maxTypedPerLine) {
        std::string lines = pendingLine();
        lines += answerLine();
        write(lines);
    }
    m_typed += codePoint;
}

void Recorder::tick(Element timer)
{
    event("tick " + std::string(name(timer)) + '\n');
}

// Ticks gather into one `wait` line. The answers of a box that a tick opened go before the wait
// that holds it: no tick before it in that wait opened a box, so they are the first to take them.
void Recorder::clockTick()
{
    if (m_finished || m_failed)
        return;
    std::string lines = m_typed.empty() ? std::string() : pendingLine();
    ++m_ticks;
    if (!m_answers.empty() || m_ticks == maxTicksPerLine) {
        lines += answerLine();
        lines += pendingLine();
    }
    if (!lines.empty())
        write(lines);
}

void Recorder::close(bool boxOpen)
{
    if (boxOpen) {
        // The box goes away with the window, unanswered, and the program ends right there; the
        // event that opened the box is written when it returns.
        m_answers.push_back(MsgBoxResult::Closed);
        return;
    }
    event("close\n");
}

void Recorder::answered(MsgBoxResult answer)
{
    if (answer == MsgBoxResult::Yes || answer == MsgBoxResult::No)
        m_answers.push_back(answer);
}

void Recorder::finish()
{
    if (m_finished || m_failed)
        return;
    const std::string lines = ending();
    m_ticks = 0;
    m_typed.clear();
    m_finished = true;
    write(lines);
}

std::string Recorder::ending() const
{
    if (m_finished || m_failed)
        return {};
    return pending() + "dump\n";
}

// The ticks before an event, the answers given during it, and the event, in one write.
void Recorder::event(const std::string &line)
{
    if (m_finished || m_failed)
        return;
    std::string lines = pendingLine();
    lines += answerLine();
    lines += line;
    write(lines);
}

std::string Recorder::pending() const
{
    if (!m_typed.empty())
        return "type " + quoted(m_typed) + '\n';
    return m_ticks == 0 ? std::string() : "wait " + std::to_string(m_ticks) + '\n';
}

std::string Recorder::pendingLine()
{
    std::string line = pending();
    m_ticks = 0;
    m_typed.clear();
    return line;
}

std::string Recorder::answerLine()
{
    if (m_answers.empty())
        return {};
    std::string line = "answer";
    for (const MsgBoxResult answer : m_answers) {
        line += ' ';
        line += answerWord(answer);
    }
    line += '\n';
    m_answers.clear();
    return line;
}

// Each whole event is flushed at once, so a game that is killed leaves a valid script.
void Recorder::write(const std::string &lines)
{
    if (m_failed)
        return;
    m_out << lines;
    m_out.flush();
    if (!m_out)
        m_failed = true;
}

} // namespace quorvale::script
