#pragma once

#include "clickable.h"
#include "elementid.h"
#include "platform.h"
#include "play.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// Writes a game as it is played, as a script that the driver replays exactly. It is told each
// event that reached the rules, right after the rules handled it, and each answer given to a
// message box while they did; any front end of the game can use it, as an observer of its Play.
namespace quorvale::script {

class Recorder final : public PlayObserver
{
public:
    // Writes the heading at once: comment lines naming the program and its version.
    Recorder(std::ostream &out, std::string_view program, std::string_view version);
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    void key(std::int16_t keyCode);
    void click(Clickable target);
    // The player made the cheat box's whole text `text` (UTF-8), in one change.
    void text(std::string_view text);
    // One code point typed at the end of the cheat box. Code points typed one after another
    // are written as one `type` line.
    void typed(std::string_view codePoint);
    // One tick of the clock: to every timer in the list's order, as far as each was running.
    void clockTick();
    // One tick of one timer alone.
    void tick(Element timer);
    // The window was closed. While a message box is open it ends the event that opened the box:
    // that event is written when it returns, its box answered `close`.
    void close(bool boxOpen);
    // A message box of the event being handled was answered Yes or No.
    void answered(MsgBoxResult answer);
    // The program has ended: whatever is pending, then `dump`.
    void finish();
    // What finish() would write now, without finishing: a copy of the recording taken while the
    // game goes on is then a whole script that ends in the game's present state. Empty once
    // finished or failed.
    std::string ending() const;

    // False once a write has failed; nothing more is written after that.
    bool good() const { return !m_failed; }

    // The most clock ticks one `wait` line holds, ten seconds: a game that is killed loses at
    // most this much of its last ticks, and an hour of play is still only a few thousand lines.
    static constexpr std::uint32_t maxTicksPerLine = 640;
    // The most bytes of typed text one `type` line holds, for the same reason.
    static constexpr std::size_t maxTypedPerLine = 4096;

    // PlayObserver
    void keyDelivered(std::int16_t keyCode) override { key(keyCode); }
    void clickDelivered(Clickable target) override { click(target); }
    void textDelivered(std::string_view whole) override { text(whole); }
    void codePointTyped(std::string_view codePoint) override { typed(codePoint); }
    void clockTicked() override { clockTick(); }
    void timerTicked(Element timer) override { tick(timer); }
    void closeDelivered(bool boxOpen) override { close(boxOpen); }
    void boxAnswered(MsgBoxResult answer) override { answered(answer); }

private:
    void event(const std::string &line);
    std::string pending() const;
    std::string pendingLine();
    std::string answerLine();
    void write(const std::string &lines);

    std::ostream &m_out;
    std::vector<MsgBoxResult> m_answers;
    // At most one of these waits to be written: the ticks since the last event, or the code
    // points typed since it.
    std::uint32_t m_ticks = 0;
    std::string m_typed;
    bool m_finished = false;
    bool m_failed = false;
};

} // namespace quorvale::script
