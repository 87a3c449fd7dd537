// An hour of game time through the rules: both timers at 64 ticks a second, with key presses,
// starts, resets, menu choices and cheat codes mixed in from a fixed seed. The game must stay in
// states its rules can produce, keep its heap flat and take seconds, not minutes.

#include "fakeplatform.h"
#include "invariants.h"
#include "maze.h"
#include "sanitizers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#ifdef QUORVALE_ASAN
// The sanitizer's allocator keeps its own count; gcc ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace quorvale {
namespace {

// Bytes of heap handed out and not yet freed.
std::size_t heapInUse()
{
#ifdef QUORVALE_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

constexpr long ticksPerTimer = 230'400; // one hour at 64 ticks a second

TEST(Soak, AnHourOfPlayKeepsStateValidAndMemoryFlat)
{
    // Every box is answered Yes, so the game never ends, and only counts are kept: a platform
    // that stored what it saw would itself make memory grow.
    testing::FakePlatform platform;
    platform.keepRecords(false);
    long lossBoxes = 0;
    platform.answerWith([&](const testing::MessageBoxShown &box) {
        lossBoxes += box.style == vbYesNo + vbExclamation ? 1 : 0;
        return MsgBoxResult::Yes;
    });
    Maze maze(platform);
    const auto reachable = testing::reachablePositions();
    std::mt19937 random(20240611U);
    const auto chance = [&](unsigned oneIn) {
        return random() % oneIn == 0;
    };

    const std::string junk(300, 'x');
    long delivered1 = 0, delivered2 = 0, keys = 0;
    std::size_t heapAtStart = 0;
    const auto started = std::chrono::steady_clock::now();
    for (long i = 0; i < ticksPerTimer; ++i) {
        // Settle first: the first events allocate what the game keeps for good (the help text,
        // the cheat box's buffer).
        if (i == 1000)
            heapAtStart = heapInUse();

        delivered1 += maze.tick(Element::Timer1);
        delivered2 += maze.tick(Element::Timer2);
        if (chance(8)) {
            ++keys;
            const auto arrow = static_cast<std::int16_t>(vbKeyLeft + random() % 4);
            maze.keyDown(chance(20) ? static_cast<std::int16_t>(random()) : arrow);
        }
        if (chance(400))
            maze.click(Clickable::cmdstart);
        if (chance(3000))
            maze.click(Clickable::mnufilestart);
        if (chance(500)) {
            const auto target = static_cast<Clickable>(random() % clickableCount);
            if (target != Clickable::mnufilequit) // the hour would end here
                maze.click(target);
        }
        if (chance(700)) {
            const auto &code = cheatCodes[random() % cheatCodes.size()];
            // The cheat that stops the balls would stop the hour; it stays rare.
            if (code != "iceclock" || chance(10))
                maze.editText(std::string(code));
        }
        if (chance(900))
            maze.editText(junk.substr(0, random() % junk.size()));

        ASSERT_FALSE(maze.ended()) << "after " << i << " ticks";
        if (i % 64 == 0) {
            const std::string wrong = testing::checkState(maze, reachable);
            ASSERT_TRUE(wrong.empty()) << "after " << i << " ticks: " << wrong;
        }
    }
    const auto elapsed = std::chrono::steady_clock::now() - started;
    const std::size_t heapAtEnd = heapInUse();
    EXPECT_EQ(platform.errorCount, 0);
    EXPECT_EQ(platform.endCalls, 0);
    // The hour really was played: the balls ran for most of it and the piece got into trouble.
    EXPECT_GT(delivered1, ticksPerTimer / 2);
    EXPECT_GT(delivered2, ticksPerTimer / 2);
    EXPECT_GT(keys, ticksPerTimer / 10);
    EXPECT_GT(lossBoxes, 100);
    EXPECT_EQ(lossBoxes % 2, 0);
    EXPECT_GT(platform.noticeCount, 2 * ticksPerTimer);

    // Flat: the game allocates nothing per event that it keeps. The slack covers the cheat box's
    // text, whose length varies with the last edit.
    EXPECT_LE(heapAtEnd, heapAtStart + 4096)
        << "heap grew from " << heapAtStart << " to " << heapAtEnd << " bytes";
    EXPECT_LT(elapsed, std::chrono::seconds(30));
}

} // namespace
} // namespace quorvale
