#pragma once

#include "clickable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A game's time: from the click that starts play to the first message box of that game, in ticks
// of the window's clock. Every front end tells one Stopwatch what reaches the rules, so the
// driver, the window and the page time a game alike.
namespace quorvale::script {

// The clock's pace; a recording's `wait` counts these.
inline constexpr std::uint32_t ticksPerSecond = 64;

enum class GameEnd { Won, Lost, Abandoned };

struct GameTime
{
    std::uint32_t ticks = 0;
    std::optional<GameEnd> end; // none while the game is still in play
    // A code that moves the piece or stops the balls took effect since the last reset.
    bool cheat = false;

    friend bool operator==(const GameTime &, const GameTime &) = default;
};

// "12.51 s": seconds, rounded down to the hundredth.
std::string seconds(std::uint32_t ticks);
// "12.5 s": a running time, rounded down to the tenth, which a line shown while the clock runs
// changes about ten times a second instead of with every tick.
std::string runningSeconds(std::uint32_t ticks);
// "won in 12.51 s", "lost after 3.20 s", "abandoned after 4.00 s", "not finished", each with
// " (cheat)" after it when the game is marked.
std::string describe(const GameTime &game);
// One line for each game, in order: "game 1: won in 12.51 s".
std::string timesReport(const std::vector<GameTime> &games);
// Whether won game `a` is a better best than won game `b`: a fair game beats any marked one,
// and among games of one kind the faster wins.
bool ranksAbove(const GameTime &a, const GameTime &b);

// Told what reaches the rules, each event right after they handled it, by a front end.
class PlayListener
{
public:
    virtual ~PlayListener() = default;

    virtual void clicked(Clickable target) = 0;
    // A code that changes play took effect (see changesPlay in cheatcodes.h).
    virtual void cheated() = 0;
    // One tick of the clock, whether any timer runs or none does. A script's tick of one timer
    // alone is not the clock's and goes to eventHandled().
    virtual void clockTicked() = 0;
    // Ticks of the clock while no timer ran, all at once.
    virtual void clockTicksPassed(std::uint32_t ticks)
    {
        for (std::uint32_t i = 0; i < ticks; ++i)
            clockTicked();
    }
    // Any other event: a key, one timer's tick, the window closed, an edit that was no code.
    virtual void eventHandled() = 0;
    // A message box opened, during the event that opened it; LoseGame's and WinGame's boxes
    // differ by `style`.
    virtual void boxOpened(int style) = 0;
};

class Stopwatch final : public PlayListener
{
public:
    void clicked(Clickable target) override;
    void cheated() override;
    void clockTicked() override { clockTicksPassed(1); }
    void clockTicksPassed(std::uint32_t ticks) override;
    void eventHandled() override;
    void boxOpened(int style) override;

    // Every game that began, in order; the last one may still be in play.
    const std::vector<GameTime> &games() const { return m_games; }
    bool inPlay() const { return !m_games.empty() && !m_games.back().end; }

private:
    void reset();

    std::vector<GameTime> m_games;
    bool m_cheated = false;
    // The last game ended at a box opened during the event not yet reported: if that was a tick
    // of the clock, the tick belongs to the game.
    bool m_endingInEvent = false;
};

} // namespace quorvale::script
