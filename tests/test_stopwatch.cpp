// A game's time: when it begins and ends, what counts as its time, how it reads and ranks.
#include "runner.h"
#include "stopwatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using quorvale::Clickable;
using quorvale::script::GameEnd;
using quorvale::script::GameTime;
using quorvale::script::Stopwatch;

constexpr int lossBox = 52;
constexpr int winBox = 68;

void start(Stopwatch &s)
{
    s.clicked(Clickable::cmdstart);
}

void ticks(Stopwatch &s, int n)
{
    for (int i = 0; i < n; ++i)
        s.clockTicked();
}

struct Play
{
    const char *what;
    std::function<void(Stopwatch &)> events;
    std::vector<GameTime> games;
};

TEST(Stopwatch, TimesEachGameFromItsStartToItsFirstBox)
{
    const std::vector<Play> plays = {
        {"a loss before play began is no game",
         [](Stopwatch &s) {
             s.boxOpened(lossBox);
             s.eventHandled();
             ticks(s, 5);
         },
         {}},
        {"ticks before the start do not count",
         [](Stopwatch &s) {
             ticks(s, 7);
             start(s);
             ticks(s, 3);
         },
         {{3, std::nullopt, false}}},
        {"the tick that opens the box counts",
         [](Stopwatch &s) {
             start(s);
             ticks(s, 5);
             s.boxOpened(lossBox);
             s.clockTicked();
             ticks(s, 9);
         },
         {{6, GameEnd::Lost, false}}},
        {"a key that opens the box ends the game at the ticks before it",
         [](Stopwatch &s) {
             start(s);
             ticks(s, 5);
             s.boxOpened(winBox);
             s.eventHandled();
             ticks(s, 9);
         },
         {{5, GameEnd::Won, false}}},
        {"a second box of the same event does not end the next game",
         [](Stopwatch &s) {
             start(s);
             s.boxOpened(lossBox);
             s.boxOpened(lossBox);
             s.eventHandled();
             start(s);
             ticks(s, 2);
         },
         {{0, GameEnd::Lost, false}, {2, std::nullopt, false}}},
        {"Start Over abandons the game in play",
         [](Stopwatch &s) {
             start(s);
             ticks(s, 256);
             s.clicked(Clickable::mnufilestart);
             ticks(s, 4);
         },
         {{256, GameEnd::Abandoned, false}}},
        {"one timer's tick is not the clock's",
         [](Stopwatch &s) {
             start(s);
             s.eventHandled();
             s.eventHandled();
         },
         {{0, std::nullopt, false}}},
        {"many ticks at once count as many",
         [](Stopwatch &s) {
             start(s);
             s.clockTicksPassed(801);
             s.boxOpened(winBox);
             s.eventHandled();
         },
         {{801, GameEnd::Won, false}}},
        {"a code before the start marks the game, and only that game",
         [](Stopwatch &s) {
             s.cheated();
             start(s);
             s.boxOpened(winBox);
             s.eventHandled();
             start(s);
         },
         {{0, GameEnd::Won, true}, {0, std::nullopt, false}}},
        {"Start Over forgets a code",
         [](Stopwatch &s) {
             s.cheated();
             s.clicked(Clickable::mnufilestart);
             start(s);
         },
         {{0, std::nullopt, false}}},
        {"a loss before play forgets a code",
         [](Stopwatch &s) {
             s.cheated();
             s.boxOpened(lossBox);
             s.eventHandled();
             start(s);
         },
         {{0, std::nullopt, false}}},
        {"a code survives other clicks",
         [](Stopwatch &s) {
             s.cheated();
             s.clicked(Clickable::mnueditballred);
             start(s);
         },
         {{0, std::nullopt, true}}},
    };
    for (const Play &play : plays) {
        SCOPED_TRACE(play.what);
        Stopwatch stopwatch;
        play.events(stopwatch);
        EXPECT_EQ(stopwatch.games(), play.games);
    }
}

TEST(Stopwatch, ReadsAsSecondsRoundedDownToTheHundredth)
{
    const std::vector<std::pair<GameTime, std::string>> rows = {
        {{801, GameEnd::Won, false}, "won in 12.51 s"},
        {{1, GameEnd::Lost, false}, "lost after 0.01 s"},
        {{63, GameEnd::Lost, false}, "lost after 0.98 s"},
        {{256, GameEnd::Abandoned, false}, "abandoned after 4.00 s"},
        {{32, GameEnd::Won, true}, "won in 0.50 s (cheat)"},
        {{5, std::nullopt, false}, "not finished"},
        {{std::numeric_limits<std::uint32_t>::max(), GameEnd::Lost, false},
         "lost after 67108863.98 s"},
    };
    for (const auto &[game, text] : rows)
        EXPECT_EQ(quorvale::script::describe(game), text);
    // While the clock runs, to the tenth.
    EXPECT_EQ(quorvale::script::runningSeconds(801), "12.5 s");
    EXPECT_EQ(quorvale::script::runningSeconds(63), "0.9 s");
}

TEST(Stopwatch, FairGamesRankAboveMarkedOnesThenFasterFirst)
{
    const GameTime fairSlow{900, GameEnd::Won, false};
    const GameTime fairFast{800, GameEnd::Won, false};
    const GameTime cheatFast{10, GameEnd::Won, true};
    const GameTime cheatSlow{20, GameEnd::Won, true};
    EXPECT_TRUE(quorvale::script::ranksAbove(fairSlow, cheatFast));
    EXPECT_FALSE(quorvale::script::ranksAbove(cheatFast, fairSlow));
    EXPECT_TRUE(quorvale::script::ranksAbove(fairFast, fairSlow));
    EXPECT_TRUE(quorvale::script::ranksAbove(cheatFast, cheatSlow));
    EXPECT_FALSE(quorvale::script::ranksAbove(fairFast, fairFast));
}

std::string times(const std::string &script)
{
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(quorvale::script::printTimes(in, out, err), 0) << err.str();
    return out.str();
}

// The driver skips the ticks of a wait once no timer runs; the clock's time goes on.
TEST(Times, AWaitCountsEveryTickAlsoWithTheBallsStopped)
{
    EXPECT_EQ(times("type \"iceclock\"\nclick cmdstart\nwait 800\ntick Timer1\nwait 1\n"
                    "click mnufilestart\n"),
              "game 1: abandoned after 12.51 s (cheat)\n");
}

TEST(Times, OnlyCodesThatChangePlayMarkAGame)
{
    EXPECT_EQ(times("text \"gusto\"\ntext \"Keen\"\ntext \"ghostlike\"\nclick cmdstart\n"
                    "click mnufilestart\ntext \"skipjump\"\nclick cmdstart\n"),
              "game 1: abandoned after 0.00 s\ngame 2: not finished (cheat)\n");
}

} // namespace
