#include "ghost.h"

#include "runner.h"

#include <optional>
#include <ostream>
#include <utility>

namespace quorvale::script {

// Boxes before the race are answered as the recording answered them. The box of the win is
// answered No: the ghost's program ends there, and its piece stays where it won instead of going
// back to the start with a reset.
class GhostPlatform final : public Platform
{
public:
    MsgBoxResult messageBox(std::string_view, int, std::string_view) override
    {
        if (m_racing)
            return MsgBoxResult::No;
        return m_answers.take().value_or(MsgBoxResult::Yes);
    }
    void endProgram() override {}
    void runtimeError(int, std::string_view) override {}
    void propertyChanged(Element, Property) override {}

    // make() has refused a recording whose answers pass the queue's limit.
    void queue(const std::vector<MsgBoxResult> &answers) { (void)m_answers.add(answers); }
    void race() { m_racing = true; }

private:
    AnswerQueue m_answers;
    bool m_racing = false;
};

std::variant<std::unique_ptr<Ghost>, std::string> Ghost::make(std::vector<ScriptLine> script,
                                                               Win which)
{
    std::vector<Command> commands;
    commands.reserve(script.size());
    for (ScriptLine &line : script)
        commands.push_back(std::move(line.command));

    // The driver finds the won game: which command started it, and its time.
    std::ostream quiet(nullptr);
    Runner runner(quiet);
    Stopwatch stopwatch;
    runner.timeWith(stopwatch);
    std::vector<std::size_t> starts;
    std::uint64_t ticks = 0;
    std::size_t ended = 0; // games seen to end
    std::optional<std::pair<std::size_t, GameTime>> won; // the start and time of the win raced
    for (std::size_t i = 0; i < commands.size() && !runner.ended(); ++i) {
        // Refused before the ticks are played, which could take minutes.
        if (const auto *wait = std::get_if<WaitCommand>(&commands[i]);
            wait && (ticks += wait->ticks) > maxTicksToWin)
            return std::string(
                "the recording holds more than an hour of play before its first win");
        runner.execute(commands[i]);
        if (runner.refusedAnswers())
            return tooManyAnswers();
        if (stopwatch.games().size() > starts.size())
            starts.push_back(i);
        const std::vector<GameTime> &games = stopwatch.games();
        if (games.size() == ended || !games.back().end)
            continue;
        ended = games.size();
        if (games.back().end != GameEnd::Won)
            continue;
        won.emplace(starts.back(), games.back());
        if (which == Win::First)
            break;
    }
    if (!won)
        return std::string("the recording holds no won game to race");
    return std::unique_ptr<Ghost>(new Ghost(std::move(commands), won->first, won->second));
}

Ghost::Ghost(std::vector<Command> script, std::size_t start, GameTime recorded)
    : m_script(std::move(script)), m_start(start), m_recorded(recorded)
{
    reset();
}

Ghost::~Ghost() = default;

void Ghost::reset()
{
    m_platform = std::make_unique<GhostPlatform>();
    m_maze = std::make_unique<Maze>(*m_platform);
    m_play = std::make_unique<Play>(*m_maze);
    m_ticks = 0;
    m_waitLeft = 0;
    m_started = false;
    for (m_next = 0; m_next < m_start; ++m_next)
        script::apply(m_script[m_next], *this);
}

void Ghost::start()
{
    if (m_started)
        reset();
    m_started = true;
    m_platform->race();
    script::apply(m_script[m_start], *this);
    m_next = m_start + 1;
    runToNextTick();
}

void Ghost::tick()
{
    if (!m_started || finished() || m_waitLeft == 0)
        return;
    m_play->clockTick();
    ++m_ticks;
    if (--m_waitLeft == 0) {
        ++m_next;
        runToNextTick();
    }
}

bool Ghost::finished() const
{
    return m_maze->ended();
}

void Ghost::runToNextTick()
{
    for (; m_next < m_script.size() && !finished(); ++m_next) {
        if (const auto *wait = std::get_if<WaitCommand>(&m_script[m_next]);
            wait && wait->ticks > 0) {
            m_waitLeft = wait->ticks;
            return;
        }
        script::apply(m_script[m_next], *this);
    }
}

void Ghost::key(std::int16_t keyCode)
{
    m_play->key(keyCode);
}

void Ghost::click(Clickable target)
{
    m_play->click(target);
}

void Ghost::tick(Element timer)
{
    m_play->tick(timer);
}

// Only before the race, all at once; in the race the ticks come one by one from tick().
void Ghost::wait(std::uint32_t ticks)
{
    for (std::uint32_t i = 0; i < ticks && !m_maze->ended() && m_play->anyTimerRunning(); ++i)
        m_play->clockTick();
}

void Ghost::text(std::string text)
{
    m_play->edit(std::move(text));
}

void Ghost::append(std::string_view codePoint)
{
    m_play->type(codePoint);
}

void Ghost::queueAnswers(std::vector<MsgBoxResult> answers)
{
    m_platform->queue(answers);
}

void Ghost::close()
{
    m_play->close();
}

bool Ghost::done() const
{
    return m_maze->ended();
}

} // namespace quorvale::script
