// A game recorded as it is played replays in the script driver exactly: the same message boxes
// with the same answers, and at the end the same state.
#include "driver.h"
#include "dump.h"
#include "recorder.h"
#include "route.h"
#include "runner.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>
#include <string>

namespace quorvale {
namespace {

using script::Recorder;

using testing::Point;
using testing::routeFromStart;
using testing::routeToGoal;

// Plays the part of the player and of the window: answers boxes at random, tells the recorder
// what reached the rules, and writes down what the driver must print when it replays the
// recording.
class Player final : public Platform
{
public:
    explicit Player(unsigned seed) : m_random(seed) {}

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        MsgBoxResult answer = chance(m_yesPercent) ? MsgBoxResult::Yes : MsgBoxResult::No;
        if (!fixedAnswers.empty()) {
            answer = fixedAnswers.front();
            fixedAnswers.erase(fixedAnswers.begin());
        }
        expected << "msgbox " << style << ' ' << script::quoted(title) << ' '
                 << script::quoted(prompt) << " -> " << (answer == MsgBoxResult::Yes ? "yes" : "no")
                 << '\n';
        recorder.answered(answer);
        return answer;
    }
    void endProgram() override { expected << "end\n"; }
    void runtimeError(int, std::string_view) override { ADD_FAILURE() << "run-time error"; }
    void propertyChanged(Element, Property) override {}

    // One random event of a player in front of the window.
    void play()
    {
        static constexpr std::array<std::string_view, 10> texts = {
            "", "g", "gusto", "iceclock", "skipjump", "Keen", "ghostlike", "x y", "\xC3\xA9", " "};
        const int r = pick(100);
        if (r < 45) {
            for (const Element timer : timers)
                maze.tick(timer);
            recorder.clockTick();
        } else if (r < 75) {
            const std::int16_t key = chance(90) ? static_cast<std::int16_t>(vbKeyLeft + pick(4))
                                                : static_cast<std::int16_t>(pick(65536) - 32768);
            if (maze.keyDown(key))
                recorder.key(key);
        } else if (r < 85) {
            const auto target = static_cast<Clickable>(pick(clickableCount));
            // Quit ends the game at once; let it come seldom.
            if ((target != Clickable::mnufilequit || chance(5)) && maze.click(target))
                recorder.click(target);
        } else if (r < 95) {
            const std::string text(texts[static_cast<std::size_t>(pick(texts.size()))]);
            if (maze.editText(text))
                recorder.text(text);
        } else if (r < 97 && maze.shape(Element::shpyou).left() == layout::shpyou.left &&
                   maze.shape(Element::shpyou).top() == layout::shpyou.top) {
            // A walk to the goal, quick enough that no ball meets it.
            for (const std::int16_t key : route) {
                if (maze.keyDown(key))
                    recorder.key(key);
            }
        } else if (r == 99 && chance(10)) {
            maze.close();
            recorder.close(false);
        }
    }

    // Plays until the game ends or `events` have been played; the recording then ends.
    void playGame(int events)
    {
        for (int i = 0; i < events && !maze.ended(); ++i)
            play();
        recorder.finish();
        script::dump(maze, expected);
    }

    std::ostringstream recording;
    Recorder recorder{recording, "quorvale", "1.0.0"};
    std::ostringstream expected;
    Maze maze{*this};
    int m_yesPercent = 95;
    std::vector<MsgBoxResult> fixedAnswers; // taken first, in order

private:
    bool chance(int percent) { return pick(100) < percent; }
    int pick(std::size_t n)
    {
        return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(m_random);
    }

    std::mt19937 m_random;
    const std::vector<std::int16_t> route = routeToGoal();
};

using Replay = testing::DriverRun;

Replay replay(const std::string &recording)
{
    return testing::runDriver(recording);
}

TEST(Recorder, RandomPlayReplaysWithTheSameBoxesAnswersAndEndState)
{
    int wins = 0;
    int losses = 0;
    int ended = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Player player(seed);
        player.playGame(500);
        const Replay result = replay(player.recording.str());
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.out, player.expected.str()) << "seed " << seed << "\n"
                                                     << player.recording.str();
        wins += static_cast<int>(result.out.find("Congratulations") != std::string::npos);
        losses += static_cast<int>(result.out.find("GAME OVER") != std::string::npos);
        ended += static_cast<int>(player.maze.ended());
    }
    // The games must have covered what the recording has to carry.
    EXPECT_GT(wins, 3);
    EXPECT_GT(losses, 10);
    EXPECT_GT(ended, 10);
    EXPECT_LT(ended, 40) << wins << " wins, " << losses << " losses";
}

// A box that a tick of Timer1 opens comes between the two timers' ticks of one clock tick: its
// answers go before the wait that holds it, and Timer2 still ticks after a Yes.
TEST(Recorder, BoxInTheMiddleOfAClockTickReplaysExactly)
{
    Player player(7);
    // No first: the replay must give it to the same box, not leave that box the default Yes.
    player.fixedAnswers = {MsgBoxResult::No, MsgBoxResult::Yes};
    Maze &maze = player.maze;
    // Into ball 1's column, where it comes down onto the piece.
    const auto &ball = layout::shpball1;
    const auto keys = routeFromStart([&ball](Point p) {
        return ball.left <= p.left && p.left <= ball.left + ball.width && p.top > 2000;
    });
    ASSERT_TRUE(maze.click(Clickable::cmdstart));
    player.recorder.click(Clickable::cmdstart);
    for (const std::int16_t key : keys) {
        if (maze.keyDown(key))
            player.recorder.key(key);
    }
    ASSERT_EQ(player.expected.str(), "") << "the walk was judged";
    // Ball 2 must take its part of the tick whose Timer1 opened the boxes.
    float ball2Before = 0;
    for (int i = 0; i < 2000 && player.expected.str().empty(); ++i) {
        ball2Before = maze.shape(Element::shpball2).top();
        maze.tick(Element::Timer1);
        if (!player.expected.str().empty())
            ASSERT_TRUE(maze.tick(Element::Timer2));
        else
            maze.tick(Element::Timer2);
        player.recorder.clockTick();
    }
    ASSERT_NE(player.expected.str(), "") << "ball 1 never met the piece";
    EXPECT_NE(maze.shape(Element::shpball2).top(), ball2Before);
    player.recorder.finish();
    script::dump(maze, player.expected);
    const Replay result = replay(player.recording.str());
    EXPECT_EQ(result.out, player.expected.str()) << player.recording.str();
}

TEST(Recorder, RecordingCutAfterAnyLineIsAValidScript)
{
    Player player(3);
    player.playGame(600);
    const std::string recording = player.recording.str();
    ASSERT_GT(std::count(recording.begin(), recording.end(), '\n'), 50);
    for (std::size_t end = recording.find('\n'); end != std::string::npos;
         end = recording.find('\n', end + 1)) {
        const Replay result = replay(recording.substr(0, end + 1));
        ASSERT_EQ(result.status, 0) << result.err;
        ASSERT_EQ(result.err, "");
    }
}

TEST(Recorder, RecordingStartsWithItsHeadingAndGathersTicksIntoWaits)
{
    std::ostringstream out;
    Recorder recorder(out, "quorvale", "1.0.0");
    for (std::uint32_t i = 0; i < Recorder::maxTicksPerLine + 3; ++i)
        recorder.clockTick();
    recorder.answered(MsgBoxResult::Yes);
    recorder.answered(MsgBoxResult::No);
    recorder.key(vbKeyUp);
    recorder.text("a \"b\"");
    recorder.clockTick();
    recorder.clockTick();
    // A copy taken now ends as finishing would, and leaves the recording as it was.
    EXPECT_EQ(recorder.ending(), "wait 2\ndump\n");
    recorder.finish();
    EXPECT_EQ(recorder.ending(), "");
    recorder.key(vbKeyUp);
    EXPECT_EQ(out.str(), "# Recorded by quorvale 1.0.0\n"
                         "# Replay it with: quorvale-script FILE, or quorvale --replay FILE\n"
                         "wait 640\n"
                         "wait 3\n"
                         "answer yes no\n"
                         "key 38\n"
                         "text \"a \\\"b\\\"\"\n"
                         "wait 2\n"
                         "dump\n");
}

// Code points typed one after another are one `type` line, in their place among the ticks and
// the answers given while they were typed, and a long run of them is cut into lines.
TEST(Recorder, TypedCodePointsGoOnOneLineInTheirPlace)
{
    std::ostringstream out;
    Recorder recorder(out, "quorvale", "1.0.0");
    recorder.typed("a");
    recorder.typed("\"");
    recorder.clockTick();
    recorder.clockTick();
    recorder.answered(MsgBoxResult::Yes); // while the next code point's change ran
    recorder.typed("\xC3\xA9");
    recorder.typed("c");
    recorder.key(vbKeyLeft);
    for (std::size_t i = 0; i <= Recorder::maxTypedPerLine; ++i)
        recorder.typed("k");
    recorder.finish();
    const std::string typed = out.str().substr(out.str().find("type"));
    EXPECT_EQ(typed, "type \"a\\\"\"\n"
                     "wait 2\n"
                     "answer yes\n"
                     "type \"\xC3\xA9"
                     "c\"\n"
                     "key 37\n"
                     "type \"" +
                         std::string(Recorder::maxTypedPerLine, 'k') +
                         "\"\n"
                         "type \"k\"\n"
                         "dump\n");
}

// Closed while a box is open: the event that opened it is written with its box answered
// `close`, and the replay shows the same boxes and ends in the same state.
TEST(Recorder, WindowClosedInABoxEndsTheReplayAtTheSameBoxInTheSameState)
{
    for (const bool secondBox : {false, true}) {
        std::ostringstream out;
        Recorder recorder(out, "quorvale", "1.0.0");
        struct Closer final : Platform
        {
            Maze *maze = nullptr;
            Recorder *recorder = nullptr;
            bool secondBox = false;
            int boxes = 0;
            MsgBoxResult messageBox(std::string_view, int, std::string_view) override
            {
                if (++boxes == (secondBox ? 2 : 1)) {
                    recorder->close(true);
                    maze->close();
                    return MsgBoxResult::Closed;
                }
                recorder->answered(MsgBoxResult::Yes);
                return MsgBoxResult::Yes;
            }
            void endProgram() override {}
            void runtimeError(int, std::string_view) override {}
            void propertyChanged(Element, Property) override {}
        } closer;
        Maze maze(closer);
        closer.maze = &maze;
        closer.recorder = &recorder;
        closer.secondBox = secondBox;
        for (const std::int16_t key : {vbKeyUp, vbKeyUp}) {
            maze.keyDown(key);
            recorder.key(key);
        }
        recorder.finish();
        ASSERT_TRUE(maze.ended());
        std::ostringstream state;
        script::dump(maze, state);
        const Replay result = replay(out.str());
        EXPECT_EQ(result.status, 0);
        const std::string box = "msgbox 52 \"GAME OVER\" \"Please Try Again\" -> ";
        EXPECT_EQ(result.out.substr(0, result.out.find("end\n")),
                  secondBox ? box + "yes\n" + box + "close\n" : box + "close\n");
        EXPECT_EQ(result.out.substr(result.out.find("end\n") + 4), state.str()) << out.str();
    }
}

// A stream that takes a few bytes and then refuses, as a full disk does.
class FullDisk : public std::streambuf
{
protected:
    int_type overflow(int_type c) override { return ++m_taken > 100 ? traits_type::eof() : c; }

private:
    int m_taken = 0;
};

TEST(Recorder, FailedWriteStopsTheRecording)
{
    FullDisk disk;
    std::ostream out(&disk);
    Recorder recorder(out, "quorvale", "1.0.0");
    EXPECT_TRUE(recorder.good());
    for (int i = 0; i < 20; ++i)
        recorder.key(vbKeyUp);
    EXPECT_FALSE(recorder.good());
    recorder.finish();
    EXPECT_FALSE(recorder.good());
}

} // namespace
} // namespace quorvale
