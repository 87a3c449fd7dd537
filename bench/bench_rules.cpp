// The rules alone, with a platform that does nothing: what a key press and a tick cost before
// any drawing.
#include "fakeplatform.h"
#include "maze.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace quorvale;

// A step left and a step back, over and over, from the start: each turn records the bounds,
// moves the piece, runs both wall checks against all 41 walls, the goal test and the edge test.
// Nothing is hit, so no message box opens and every turn does the same work.
void keyPressTurn(benchmark::State &state)
{
    testing::FakePlatform platform;
    platform.keepRecords(false);
    Maze maze(platform);
    maze.click(Clickable::cmdstart);
    bool left = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(maze.keyDown(left ? vbKeyLeft : vbKeyRight));
        left = !left;
    }
    if (platform.boxCount != 0)
        state.SkipWithError("a turn hit something; the figure would include a reset");
}
BENCHMARK(keyPressTurn);

// Ticks of Timer1 and Timer2 in turn: each moves its ball, tests the turn-around wall, the board's
// top, the stop marker and the player's corners.
void tick(benchmark::State &state)
{
    testing::FakePlatform platform;
    platform.keepRecords(false);
    Maze maze(platform);
    bool first = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(maze.tick(first ? Element::Timer1 : Element::Timer2));
        first = !first;
    }
    if (platform.boxCount != 0)
        state.SkipWithError("a ball hit the player; the figure would include a reset");
}
BENCHMARK(tick);

} // namespace

BENCHMARK_MAIN();
