#pragma once

#include "maze.h"
#include "play.h"
#include "playtiming.h"
#include "recorder.h"
#include "timing.h"
#include "webplatform.h"

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

// One game of the page, and how its events reach the rules: through the game's Play, as in
// every front end, and into a recording that is what the window's `--record` writes.
namespace quorvale::web {

class Session
{
public:
    Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    Maze &maze() { return m_maze; }
    WebPlatform &platform() { return m_platform; }

    // The page's events, its player's and its replay's alike: each returns whether it reached
    // the rules (the clock's tick, which timers took it).
    int key(std::int16_t keyCode, std::int16_t shift);
    int click(Clickable target);
    int tick(Element timer);
    int clockTick();
    int edit(std::string text);
    int type(std::string_view codePoint);
    int close();
    // The race run from now on is told what reaches the rules too; none with null.
    void timeRace(script::Race *race);
    // Ticks of the clock that passed while no timer ran, which the page counts instead of
    // making: they reach no timer, but the recording keeps the game's pace.
    void ticksPassed(std::uint32_t ticks);

    // The recording so far. While the game goes on it ends as the program's end would end it
    // (the last ticks and `dump`), so a copy taken at any time is a whole script that replays to
    // the state the page shows; only while a box waits for its answer does it stop before the
    // event that opened the box, as a recording cut off there does.
    std::string recording() const;

private:
    // The end of the program closes the recording.
    int delivered(int value);

    std::ostringstream m_recording;
    script::Recorder m_recorder;
    WebPlatform m_platform;
    Maze m_maze{m_platform};
    script::Play m_play{m_maze};
    script::PlayTiming m_timing{m_maze, stopwatch()};
    std::unique_ptr<script::PlayTiming> m_raceTiming;
};

// The page's one game; starting again after the end makes a new one, as starting the program
// again would, with a recording of its own.
Session &session();
void restartSession();

// One call from the page, of one event or of a replay's command. If it showed a box, the call
// returned to the page when the box suspended it, so the page is told here when it has run to
// its end, and its value.
template<typename Call>
int pageCall(Call &&call)
{
    session().platform().boxShown = false;
    const int value = call();
    if (session().platform().boxShown)
        announceEventEnd(value);
    return value;
}

} // namespace quorvale::web
