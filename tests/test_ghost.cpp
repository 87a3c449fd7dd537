// The ghost of a won game: what it replays, at which pace, and what a race says at its end.
#include "ghost.h"
#include "layout.h"
#include "race.h"
#include "reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <variant>

namespace {

using quorvale::Clickable;
using quorvale::Element;
using quorvale::script::Ghost;
using quorvale::script::Race;

// An abandoned game, then one won after "skipjump": 3 ticks, then nine steps left two ticks
// apart, and the key that finds the goal; 21 ticks in all.
std::string wonRecording()
{
    std::string script = "click cmdstart\nwait 10\nclick mnufilestart\ntext \"skipjump\"\n"
                         "click cmdstart\nwait 3\n";
    for (int i = 0; i < 9; ++i)
        script += "key 37\nwait 2\n";
    return script + "answer yes yes\nkey 32\nwait 40\nclick cmdstart\nwait 5\n";
}

std::variant<std::unique_ptr<Ghost>, std::string> ghostOf(const std::string &script,
                                                          Ghost::Win which = Ghost::Win::First)
{
    std::istringstream in(script);
    auto read = quorvale::script::readScript(in);
    return Ghost::make(std::get<std::vector<quorvale::script::ScriptLine>>(std::move(read)),
                       which);
}

std::unique_ptr<Ghost> wonGhost()
{
    auto made = ghostOf(wonRecording());
    return std::move(std::get<std::unique_ptr<Ghost>>(made));
}

float pieceLeft(const Ghost &ghost)
{
    return ghost.maze().shape(Element::shpyou).left();
}

TEST(Ghost, EverythingBeforeItsStartIsPlayedAtOnce)
{
    const auto ghost = wonGhost();
    EXPECT_FALSE(ghost->started());
    EXPECT_EQ(pieceLeft(*ghost), 8640.0F); // the code before the start
    EXPECT_TRUE(ghost->maze().control(Element::cmdstart).visible());
    EXPECT_EQ(ghost->recorded().ticks, 21U);
    EXPECT_TRUE(ghost->recorded().cheat);
}

TEST(Ghost, MovesOneTickOfItsRecordingForEachTickOfThePlayersClock)
{
    const auto ghost = wonGhost();
    ghost->start();
    const float start = pieceLeft(*ghost);
    for (int tick = 1; tick <= 21; ++tick) {
        ghost->tick();
        // The step recorded after a tick comes with that tick; after nine, the key that wins.
        const int steps = tick < 3 ? 0 : std::min(9, 1 + (tick - 3) / 2);
        EXPECT_EQ(pieceLeft(*ghost), start - 200.0F * static_cast<float>(steps)) << tick;
        EXPECT_EQ(ghost->finished(), tick == 21) << tick;
    }
    EXPECT_EQ(ghost->ticks(), 21U);
}

TEST(Ghost, StaysWhereItWon)
{
    const auto ghost = wonGhost();
    ghost->start();
    for (int tick = 0; tick < 100; ++tick)
        ghost->tick();
    EXPECT_EQ(pieceLeft(*ghost), 8640.0F - 9 * 200.0F);
    EXPECT_EQ(ghost->ticks(), 21U);
}

TEST(Ghost, WaitsAtItsStartAfterAReset)
{
    const auto ghost = wonGhost();
    ghost->start();
    for (int tick = 0; tick < 10; ++tick)
        ghost->tick();
    ghost->reset();
    EXPECT_FALSE(ghost->started());
    EXPECT_EQ(pieceLeft(*ghost), 8640.0F);
    ghost->tick();
    EXPECT_EQ(ghost->ticks(), 0U);
}

TEST(Ghost, ARecordingWithNoWonGameIsRefused)
{
    for (const char *script : {"", "click cmdstart\nwait 5\nclick mnufilestart\n",
                               "key 38\nkey 38\nkey 38\n", "click cmdstart\nwait 5\n"}) {
        const auto made = ghostOf(script);
        ASSERT_TRUE(std::holds_alternative<std::string>(made)) << script;
        EXPECT_EQ(std::get<std::string>(made), "the recording holds no won game to race");
    }
}

// A player's best is the last win of the recording that holds it, not the slower first one.
TEST(Ghost, RacesTheFirstOrTheLastWinAsAsked)
{
    // The second win: the code again, then nine steps a tick apart.
    std::string twice = wonRecording() + "click mnufilestart\ntext \"skipjump\"\nclick cmdstart\n";
    for (int i = 0; i < 9; ++i)
        twice += "wait 1\nkey 37\n";
    twice += "answer no\nkey 32\n";
    for (const auto &[which, ticks] :
         {std::pair{Ghost::Win::First, 21U}, std::pair{Ghost::Win::Last, 9U}}) {
        auto made = ghostOf(twice, which);
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<Ghost>>(made));
        EXPECT_EQ(std::get<std::unique_ptr<Ghost>>(made)->recorded().ticks, ticks);
    }
    // After its last win, a recording may go on to a game lost: the win is still the last.
    auto lostAfter = ghostOf(twice + "click cmdstart\nwait 2\nkey 38\nkey 38\n", Ghost::Win::Last);
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<Ghost>>(lostAfter));
    EXPECT_EQ(std::get<std::unique_ptr<Ghost>>(lostAfter)->recorded().ticks, 9U);
}

// A shared link must not hold the window for minutes: all before the race is played at once.
TEST(Ghost, ARecordingWithMoreThanAnHourBeforeItsWinIsRefused)
{
    const auto made = ghostOf("wait 2147483647\n" + wonRecording());
    ASSERT_TRUE(std::holds_alternative<std::string>(made));
    EXPECT_EQ(std::get<std::string>(made),
              "the recording holds more than an hour of play before its first win");
    EXPECT_TRUE(
        std::holds_alternative<std::unique_ptr<Ghost>>(ghostOf("wait 230000\n" + wonRecording())));
}

// The player plays the race from outside, as a front end reports it.
std::string raceEnding(int playerTicks, int endStyle)
{
    Race race(wonGhost());
    race.clicked(Clickable::cmdstart);
    for (int i = 0; i < playerTicks; ++i)
        race.clockTicked();
    race.boxOpened(endStyle);
    race.eventHandled();
    return race.status();
}

TEST(Race, TheFirstToWinFinishesFirstAndALossNeverFinishes)
{
    EXPECT_EQ(raceEnding(10, 68), "You won in 0.15 s \u00b7 Ghost won in 0.32 s (cheat) \u00b7 "
                                  "You finished first, by 0.17 s");
    EXPECT_EQ(raceEnding(21, 68),
              "You won in 0.32 s \u00b7 Ghost won in 0.32 s (cheat) \u00b7 A dead heat");
    EXPECT_EQ(raceEnding(85, 68), "You won in 1.32 s \u00b7 Ghost won in 0.32 s (cheat) \u00b7 "
                                  "The ghost finished first, by 1.00 s");
    EXPECT_EQ(raceEnding(5, 52), "You lost after 0.07 s \u00b7 Ghost won in 0.32 s (cheat) \u00b7 "
                                 "The ghost finished first");
}

TEST(Race, TheGhostGoesBackToItsStartWithThePlayersReset)
{
    Race race(wonGhost());
    race.clicked(Clickable::cmdstart);
    for (int i = 0; i < 13; ++i)
        race.clockTicked();
    EXPECT_EQ(race.status(), "You 0.2 s \u00b7 Ghost 0.2 s");
    EXPECT_LT(pieceLeft(race.ghost()), 8640.0F);
    race.boxOpened(52);
    EXPECT_LT(pieceLeft(race.ghost()), 8640.0F); // where it was when the box opened
    race.clockTicked();                          // the tick that opened the box is over
    EXPECT_EQ(pieceLeft(race.ghost()), 8640.0F);
    EXPECT_FALSE(race.ghost().started());
}

} // namespace
