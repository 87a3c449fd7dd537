#pragma once

#include "apply.h"
#include "play.h"
#include "reader.h"
#include "stopwatch.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

// A recorded game played again beside the player's, on a copy of the rules of its own: the ghost
// a player races. It never reaches the player's game; only its piece is shown.
namespace quorvale::script {

class GhostPlatform;

class Ghost final : private Sink
{
public:
    // The most clock ticks the recording may hold up to its first win, an hour of play: all of
    // them before that game's start are played again at once before each race, inside one event.
    static constexpr std::uint64_t maxTicksToWin = std::uint64_t{64} * 60 * 60;

    // Which won game of a recording is raced: the first, or the last (a player's best, kept
    // with the recording of its whole session, is the last game won in it).
    enum class Win { First, Last };

    // The ghost of the game `script` wins; the words of a refusal if it wins none.
    static std::variant<std::unique_ptr<Ghost>, std::string> make(std::vector<ScriptLine> script,
                                                                   Win which = Win::First);
    Ghost(const Ghost &) = delete;
    Ghost &operator=(const Ghost &) = delete;
    ~Ghost() override;

    // The player's game has begun: the ghost begins its own, with the events that followed its
    // start at once.
    void start();
    // One tick of the player's clock: one tick of the recording, and the events after it.
    void tick();
    // Back to the moment before its start, to wait for the player's next.
    void reset();

    bool started() const { return m_started; }
    // It has won, and its piece stays where it won.
    bool finished() const;
    // The ticks of its game so far.
    std::uint32_t ticks() const { return m_ticks; }
    // Its won game as the recording played it.
    const GameTime &recorded() const { return m_recorded; }
    // The ghost's own rules, where its piece is.
    const Maze &maze() const { return *m_maze; }

private:
    Ghost(std::vector<Command> script, std::size_t start, GameTime recorded);

    // Runs the commands from m_next up to the next tick of a wait, or to the end.
    void runToNextTick();

    // Sink: the events of the recording, straight to the ghost's rules.
    void key(std::int16_t keyCode) override;
    void click(Clickable target) override;
    void tick(Element timer) override;
    void wait(std::uint32_t ticks) override;
    void text(std::string text) override;
    void append(std::string_view codePoint) override;
    void queueAnswers(std::vector<MsgBoxResult> answers) override;
    void dump() override {}
    void close() override;
    bool done() const override;

    std::vector<Command> m_script;
    std::size_t m_start; // the command that starts the won game
    GameTime m_recorded;

    std::unique_ptr<GhostPlatform> m_platform;
    std::unique_ptr<Maze> m_maze;
    std::unique_ptr<Play> m_play;
    std::size_t m_next = 0;
    std::uint32_t m_waitLeft = 0; // ticks of the wait at m_next still to come
    std::uint32_t m_ticks = 0;
    bool m_started = false;
};

} // namespace quorvale::script
