#pragma once

#include "apply.h"
#include "play.h"
#include "reader.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <streambuf>
#include <string>

// The page's replay: each command of the script goes through the driver's own interpreter into
// the page's game, its events as the page's own and recorded the same way. The answers for boxes
// wait here until a box asks for one; a wait goes back to the page, which paces its ticks.
namespace quorvale::web {

class ReplaySink final : public script::Sink
{
public:
    // Applies one command; its line number names it in an error. Returns the ticks of a wait
    // (0 for any other command), replayDumped after a dump, or replayEnded on an error.
    int apply(script::ScriptLine line);
    // The answer the script holds for the box now open, or noAnswer.
    int answer();
    // The player has taken the game over: nothing more of the script reaches it.
    void handOver();

    bool over() const { return m_handedOver || !m_error.empty(); }
    const std::string &error() const { return m_error; }
    // What the last command clicked, by the number a click is delivered with; -1 for nothing.
    int clicked() const { return m_clicked; }

private:
    void key(std::int16_t keyCode) override;
    void click(Clickable target) override;
    void tick(Element timer) override;
    void wait(std::uint32_t ticks) override;
    void text(std::string text) override;
    void append(std::string_view codePoint) override;
    void queueAnswers(std::vector<MsgBoxResult> answers) override;
    void dump() override { m_dumped = true; }
    void close() override;
    bool done() const override;

    script::AnswerQueue m_answers;
    std::size_t m_line = 0;
    std::uint32_t m_wait = 0;
    bool m_dumped = false;
    int m_clicked = -1;
    bool m_handedOver = false;
    std::string m_error;
};

// A script to replay, read by the driver's own reader: checked whole when it is loaded, then
// read again command by command as the replay goes, so even a long one takes little memory
// beyond its text.
class Replay
{
public:
    explicit Replay(std::string text);
    Replay(const Replay &) = delete;
    Replay &operator=(const Replay &) = delete;

    // The first bad line, if any.
    std::optional<script::LineError> check();
    // The next command applied, as ReplaySink::apply says; replayEnded once there is none.
    int step();
    ReplaySink &sink() { return m_sink; }

private:
    // The text as a stream, without a copy of it.
    class TextBuffer final : public std::streambuf
    {
    public:
        explicit TextBuffer(std::string &text)
        {
            setg(text.data(), text.data(), text.data() + text.size());
        }
    };

    void rewind();

    std::string m_text;
    std::unique_ptr<TextBuffer> m_buffer;
    std::unique_ptr<std::istream> m_stream;
    std::unique_ptr<script::ScriptReader> m_reader;
    ReplaySink m_sink;
};

} // namespace quorvale::web
