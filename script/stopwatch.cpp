#include "stopwatch.h"

#include "platform.h"

#include <limits>
#include <tuple>

namespace quorvale::script {

std::string seconds(std::uint32_t ticks)
{
    const std::uint64_t hundredths = std::uint64_t{ticks} * 100 / ticksPerSecond;
    const std::uint64_t fraction = hundredths % 100;
    return std::to_string(hundredths / 100) + (fraction < 10 ? ".0" : ".") +
           std::to_string(fraction) + " s";
}

std::string runningSeconds(std::uint32_t ticks)
{
    const std::uint64_t tenths = std::uint64_t{ticks} * 10 / ticksPerSecond;
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10) + " s";
}

std::string describe(const GameTime &game)
{
    std::string text;
    if (!game.end) {
        text = "not finished";
    } else {
        switch (*game.end) {
        case GameEnd::Won:
            text = "won in ";
            break;
        case GameEnd::Lost:
            text = "lost after ";
            break;
        case GameEnd::Abandoned:
            text = "abandoned after ";
            break;
        }
        text += seconds(game.ticks);
    }
    if (game.cheat)
        text += " (cheat)";
    return text;
}

std::string timesReport(const std::vector<GameTime> &games)
{
    std::string report;
    for (std::size_t i = 0; i < games.size(); ++i)
        report += "game " + std::to_string(i + 1) + ": " + describe(games[i]) + '\n';
    return report;
}

bool ranksAbove(const GameTime &a, const GameTime &b)
{
    return std::tuple(a.cheat, a.ticks) < std::tuple(b.cheat, b.ticks);
}

void Stopwatch::clicked(Clickable target)
{
    eventHandled();
    if (target == Clickable::cmdstart) {
        // Only a shown, enabled start button takes the click, so play has just begun.
        m_games.push_back(GameTime{0, std::nullopt, m_cheated});
    } else if (target == Clickable::mnufilestart) {
        if (inPlay())
            m_games.back().end = GameEnd::Abandoned;
        reset();
    }
}

void Stopwatch::cheated()
{
    eventHandled();
    m_cheated = true;
}

void Stopwatch::clockTicksPassed(std::uint32_t ticks)
{
    if (ticks == 0)
        return;
    if (m_endingInEvent) {
        // The tick that opened the box ends the game with it.
        m_endingInEvent = false;
        ++m_games.back().ticks;
        --ticks;
    }
    if (inPlay()) {
        std::uint32_t &count = m_games.back().ticks;
        count = ticks > std::numeric_limits<std::uint32_t>::max() - count
                    ? std::numeric_limits<std::uint32_t>::max()
                    : count + ticks;
    }
}

void Stopwatch::eventHandled()
{
    m_endingInEvent = false;
}

// Every box is LoseGame's or WinGame's, and after it the board is reset or the program ends:
// either way a code entered before it no longer counts.
void Stopwatch::boxOpened(int style)
{
    if (inPlay()) {
        m_games.back().end = (style & vbInformation) != 0 ? GameEnd::Won : GameEnd::Lost;
        m_endingInEvent = true;
    }
    reset();
}

void Stopwatch::reset()
{
    m_cheated = false;
}

} // namespace quorvale::script
