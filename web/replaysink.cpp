#include "replaysink.h"

#include "command.h"
#include "session.h"
#include "vocabulary.h"

#include <utility>
#include <variant>

namespace quorvale::web {

int ReplaySink::apply(script::ScriptLine line)
{
    m_line = line.number;
    m_wait = 0;
    m_dumped = false;
    m_clicked = -1;
    script::apply(std::move(line.command), *this);
    if (!m_error.empty())
        return replayEnded;
    if (m_dumped)
        return replayDumped;
    return static_cast<int>(m_wait);
}

int ReplaySink::answer()
{
    const std::optional<MsgBoxResult> next = m_answers.take();
    return next ? static_cast<int>(*next) : noAnswer;
}

void ReplaySink::handOver()
{
    m_handedOver = true;
    m_answers.clear();
}

void ReplaySink::key(std::int16_t keyCode)
{
    session().key(keyCode, 0);
}

// Remembered whether it reached the rules or not: the page settles the focus after a click of
// "Start Over" either way, as after its own.
void ReplaySink::click(Clickable target)
{
    m_clicked = static_cast<int>(target);
    session().click(target);
}

void ReplaySink::tick(Element timer)
{
    session().tick(timer);
}

void ReplaySink::wait(std::uint32_t ticks)
{
    m_wait = session().maze().ended() ? 0 : ticks;
}

void ReplaySink::text(std::string text)
{
    session().edit(std::move(text));
}

void ReplaySink::append(std::string_view codePoint)
{
    session().type(codePoint);
}

void ReplaySink::queueAnswers(std::vector<MsgBoxResult> answers)
{
    if (!m_answers.add(answers))
        m_error = "line " + std::to_string(m_line) + ": " + script::tooManyAnswers();
}

void ReplaySink::close()
{
    session().close();
}

bool ReplaySink::done() const
{
    return over() || session().maze().ended();
}

Replay::Replay(std::string text) : m_text(std::move(text))
{
    rewind();
}

std::optional<script::LineError> Replay::check()
{
    while (true) {
        auto next = m_reader->next();
        if (auto *error = std::get_if<script::LineError>(&next))
            return std::move(*error);
        if (std::holds_alternative<script::EndOfScript>(next))
            break;
    }
    rewind();
    return std::nullopt;
}

int Replay::step()
{
    if (m_sink.over())
        return replayEnded;
    auto next = m_reader->next();
    if (auto *line = std::get_if<script::ScriptLine>(&next))
        return m_sink.apply(std::move(*line));
    return replayEnded;
}

void Replay::rewind()
{
    m_reader.reset();
    m_stream.reset();
    m_buffer = std::make_unique<TextBuffer>(m_text);
    m_stream = std::make_unique<std::istream>(m_buffer.get());
    m_reader = std::make_unique<script::ScriptReader>(*m_stream);
}

} // namespace quorvale::web
