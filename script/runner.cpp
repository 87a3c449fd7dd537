#include "runner.h"

#include "dump.h"
#include "playtiming.h"
#include "reader.h"
#include "stopwatch.h"

#include <istream>
#include <ostream>
#include <utility>

namespace quorvale::script {

// The headless platform: boxes are answered from the script's queue, Yes when it is empty.
class ScriptedPlatform final : public Platform
{
public:
    ScriptedPlatform(std::ostream &out, AnswerQueue &answers) : m_out(out), m_answers(answers) {}

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        if (m_play)
            m_play->boxOpened(style);
        const MsgBoxResult answer = m_answers.take().value_or(MsgBoxResult::Yes);
        m_out << "msgbox " << style << ' ' << quoted(title) << ' ' << quoted(prompt) << " -> "
              << answerWord(answer) << '\n';
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

    void setPlay(Play &play) { m_play = &play; }
    bool ended() const { return m_ended; }
    bool failed() const { return m_failed; }
    const std::string &error() const { return m_error; }

private:
    std::ostream &m_out;
    Play *m_play = nullptr;
    AnswerQueue &m_answers;
    bool m_ended = false;
    bool m_failed = false;
    std::string m_error;
};

Runner::Runner(std::ostream &out)
    : m_platform(std::make_unique<ScriptedPlatform>(out, m_answers)),
      m_maze(std::make_unique<Maze>(*m_platform)), m_play(*m_maze), m_out(out)
{
    m_platform->setPlay(m_play);
}

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

void Runner::timeWith(PlayListener &listener)
{
    if (m_timing)
        m_play.removeObserver(*m_timing);
    m_timing = std::make_unique<PlayTiming>(*m_maze, listener);
    m_play.addObserver(*m_timing);
}

void Runner::execute(Command command)
{
    script::apply(std::move(command), *this); // qualified: std::apply would be found too
}

void Runner::key(std::int16_t keyCode)
{
    m_play.key(keyCode);
}

void Runner::click(Clickable target)
{
    m_play.click(target);
}

void Runner::tick(Element timer)
{
    m_play.tick(timer);
}

// All the ticks at once. Once every timer has stopped, no tick can start one again, so the rest
// of the wait changes nothing in the rules; it is still time on the clock.
void Runner::wait(std::uint32_t ticks)
{
    for (std::uint32_t i = 0; i < ticks; ++i) {
        if (m_maze->ended())
            return;
        if (!m_play.anyTimerRunning()) {
            m_play.clockTicksPassed(ticks - i);
            return;
        }
        m_play.clockTick();
    }
}

void Runner::text(std::string text)
{
    m_play.edit(std::move(text));
}

void Runner::append(std::string_view codePoint)
{
    m_play.type(codePoint);
}

void Runner::queueAnswers(std::vector<MsgBoxResult> answers)
{
    m_refusedAnswers = !m_answers.add(answers);
}

void Runner::close()
{
    m_play.close();
}

bool Runner::done() const
{
    return m_maze->ended();
}

void Runner::dump()
{
    script::dump(*m_maze, m_out);
}

namespace {

int play(std::istream &in, Runner &runner, std::ostream &out, std::ostream &err)
{
    ScriptReader reader(in);
    while (true) {
        auto next = reader.next();
        if (std::holds_alternative<EndOfScript>(next))
            return 0;
        auto fail = [&](std::size_t number, const std::string &what, int status) {
            out.flush();
            err << "quorvale-script: line " << number << ": " << what << '\n';
            return status;
        };
        if (const auto *error = std::get_if<LineError>(&next))
            return fail(error->number, error->message, 2);
        auto &[number, command] = std::get<ScriptLine>(next);
        runner.execute(std::move(command));
        if (runner.refusedAnswers())
            return fail(number, tooManyAnswers(), 2);
        if (runner.failed())
            return fail(number, runner.error(), 1);
    }
}

} // namespace

int run(std::istream &in, std::ostream &out, std::ostream &err)
{
    Runner runner(out);
    return play(in, runner, out, err);
}

int printTimes(std::istream &in, std::ostream &out, std::ostream &err)
{
    std::ostream quiet(nullptr); // boxes and dumps go nowhere
    Runner runner(quiet);
    Stopwatch stopwatch;
    runner.timeWith(stopwatch);
    const int status = play(in, runner, quiet, err);
    out << timesReport(stopwatch.games());
    out.flush();
    return status;
}

} // namespace quorvale::script
