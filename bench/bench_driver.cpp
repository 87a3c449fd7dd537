// The script driver on what players and bug reports give it: a recorded hour of play, that hour
// as a link, and one long `type` line.
#include "link.h"
#include "maze.h"
#include "recorder.h"
#include "runner.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

namespace {

using namespace quorvale;

// Answers Yes to most boxes, No to some first ones (which the rules ignore), so the game goes on
// through losses and resets for the whole hour.
class Player final : public Platform
{
public:
    explicit Player(script::Recorder &recorder) : m_recorder(recorder) {}
    MsgBoxResult messageBox(std::string_view, int, std::string_view) override
    {
        // Boxes come in pairs and only the second answer counts: a No on a first one is harmless.
        const MsgBoxResult answer = (++m_boxes % 6 == 1) ? MsgBoxResult::No : MsgBoxResult::Yes;
        m_recorder.answered(answer);
        return answer;
    }
    void endProgram() override {}
    void runtimeError(int, std::string_view) override {}
    void propertyChanged(Element, Property) override {}

private:
    script::Recorder &m_recorder;
    int m_boxes = 0;
};

// An hour at 64 ticks a second, 230,400 clock ticks, with an arrow key about every 1.2 s (some
// 3,000 keys) and a start after every reset, recorded as the window records it.
std::string recordedHour()
{
    std::ostringstream out;
    script::Recorder recorder(out, "quorvale", "bench");
    Player player(recorder);
    Maze maze(player);
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> every(0, 76);
    std::uniform_int_distribution<int> arrow(vbKeyLeft, vbKeyDown);
    for (int tick = 0; tick < 230'400; ++tick) {
        if (maze.control(Element::cmdstart).visible() && maze.click(Clickable::cmdstart))
            recorder.click(Clickable::cmdstart);
        if (every(random) == 0) {
            const auto key = static_cast<std::int16_t>(arrow(random));
            if (maze.keyDown(key))
                recorder.key(key);
        }
        for (const Element timer : timers)
            maze.tick(timer);
        recorder.clockTick();
    }
    recorder.finish();
    if (maze.ended())
        std::abort(); // the hour must be played to its end
    return out.str();
}

void run(benchmark::State &state, const std::string &script)
{
    for (auto _ : state) {
        std::istringstream in(script);
        std::ostringstream out;
        std::ostringstream err;
        if (script::run(in, out, err) != 0)
            state.SkipWithError("the script did not run to its end");
        benchmark::DoNotOptimize(out.str().size());
    }
}

void replayRecordedHour(benchmark::State &state)
{
    const std::string script = recordedHour();
    std::size_t lines = 0;
    for (const char c : script)
        lines += c == '\n' ? 1 : 0;
    state.SetLabel(std::to_string(lines) + " lines");
    run(state, script);
}
BENCHMARK(replayRecordedHour)->Unit(benchmark::kMillisecond);

// The hour made into a link; its length is the label.
void linkRecordedHour(benchmark::State &state)
{
    const std::string script = recordedHour();
    std::size_t length = 0;
    for (auto _ : state) {
        const auto link = script::makeLink(script, script::defaultLinkBase);
        if (!std::holds_alternative<std::string>(link)) {
            state.SkipWithError("the hour makes no link");
            break;
        }
        length = std::get<std::string>(link).size();
    }
    state.SetLabel(std::to_string(length) + " characters");
}
BENCHMARK(linkRecordedHour)->Unit(benchmark::kMillisecond);

// The hour's link read back into its script, checked line by line as it is before a replay.
void readRecordedHourLink(benchmark::State &state)
{
    const std::string script = recordedHour();
    const auto link = script::makeLink(script, script::defaultLinkBase);
    if (!std::holds_alternative<std::string>(link)) {
        state.SkipWithError("the hour makes no link");
        return;
    }
    for (auto _ : state) {
        const auto text = script::readLink(std::get<std::string>(link));
        if (!std::holds_alternative<std::string>(text) || std::get<std::string>(text) != script) {
            state.SkipWithError("the link does not read back as the hour");
            break;
        }
    }
}
BENCHMARK(readRecordedHourLink)->Unit(benchmark::kMillisecond);

// One million characters typed into the cheat box, one change each.
void typeMillionCharacters(benchmark::State &state)
{
    run(state, "type \"" + std::string(1'000'000, 'k') + "\"\n");
}
BENCHMARK(typeMillionCharacters)->Unit(benchmark::kMillisecond);

// A mebibyte pasted into the cheat box at once, a NUL first: one change, which must pass
// unnoticed by the player.
void pasteMebibyte(benchmark::State &state)
{
    std::string text = "text \"";
    text.push_back('\0');
    text.append(std::size_t{1} << 20, 'g');
    run(state, text + "\"\n");
}
BENCHMARK(pasteMebibyte)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
