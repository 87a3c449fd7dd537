// Arbitrary bytes become a game: key presses with any code, clicks of everything clickable,
// ticks, edits of the cheat box with any text, any answers to the message boxes, and the window
// closed at any moment, even while a box is open. After every event the state must be one the
// rules can produce; anything else stops the run with a description of what went wrong.

#include "fakeplatform.h"
#include "invariants.h"
#include "maze.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace quorvale;
using testing::FakePlatform;
using testing::MessageBoxShown;
using testing::Point;

[[noreturn]] void violated(std::string_view what)
{
    std::fprintf(stderr, "invariant violated: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

// Answers as the player would give them in the window, taken from the fuzz input: the boxes are
// modal, so while one is open the player can only answer it or close the window, and the window
// holds the timers back.
MsgBoxResult answerFromInput(FuzzedDataProvider &input, Maze &maze, const FakePlatform &platform,
                             const MessageBoxShown &box)
{
    if (platform.endCalls > 0)
        violated("a message box after the program ended");
    if (box != testing::gameOverBox && box != testing::youWinBox)
        violated("a message box the game never shows");
    if (platform.openBoxes > 1)
        violated("a second message box opened while one was open");

    switch (input.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: // the default button, also what an exhausted input gives
    case 1:
    case 2:
    case 3:
        return MsgBoxResult::Yes;
    case 4:
    case 5:
        return MsgBoxResult::No;
    case 6: // the box went away with the window
        return MsgBoxResult::Closed;
    default: // the player closes the main window while the box is open, then the box returns
        maze.close();
        return input.ConsumeBool() ? MsgBoxResult::Yes : MsgBoxResult::Closed;
    }
}

// A text for the cheat box: a code, a code slightly off, or anything at all.
std::string cheatText(FuzzedDataProvider &input)
{
    const auto code =
        cheatCodes[input.ConsumeIntegralInRange<std::size_t>(0, cheatCodes.size() - 1)];
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return std::string(code);
    case 1: {
        std::string s(code);
        s.insert(input.ConsumeIntegralInRange<std::size_t>(0, s.size()), 1,
                 static_cast<char>(input.ConsumeIntegral<std::uint8_t>()));
        return s;
    }
    case 2:
        return std::string(
            code.substr(0, input.ConsumeIntegralInRange<std::size_t>(0, code.size())));
    default:
        return input.ConsumeRandomLengthString(4096);
    }
}

class Session
{
public:
    explicit Session(FuzzedDataProvider &input) : m_input(input)
    {
        m_platform.answerWith([this](const MessageBoxShown &box) {
            return answerFromInput(m_input, m_maze, m_platform, box);
        });
        m_platform.onRuntimeError([](int number, std::string_view description) {
            // Every position the rules allow fits a 16-bit Integer, so nothing here can overflow.
            std::string what = "run-time error " + std::to_string(number) + ": ";
            what += description;
            violated(what);
        });
    }

    void play()
    {
        while (m_input.remaining_bytes() > 0 && !m_maze.ended())
            step();
        // Whatever comes after the end reaches nothing.
        if (m_maze.ended()) {
            for (int i = 0; i < 4 && m_input.remaining_bytes() > 0; ++i) {
                if (deliverOne())
                    violated("an event was delivered after the program ended");
            }
        }
    }

private:
    void step()
    {
        const Point before{static_cast<int>(m_maze.shape(Element::shpyou).left()),
                           static_cast<int>(m_maze.shape(Element::shpyou).top())};
        const std::size_t boxesBefore = m_platform.boxes.size();
        const FormVariables captured = m_maze.variables();
        const float ball1 = m_maze.shape(Element::shpball1).top();
        const float ball2 = m_maze.shape(Element::shpball2).top();

        m_lastKind = Kind::Other;
        m_lastTicks1 = m_lastTicks2 = 0;
        const bool delivered = deliverOne();
        const std::vector<MessageBoxShown> boxes(m_platform.boxes.begin() +
                                                     static_cast<std::ptrdiff_t>(boxesBefore),
                                                 m_platform.boxes.end());

        if (m_platform.endCalls > 1)
            violated("the program ended twice");
        if (m_platform.noticesAfterEnd > 0)
            violated("a property changed after the program ended");
        if (m_maze.ended() != (m_platform.endCalls > 0))
            violated("the game and its platform disagree on whether the program ended");
        if (m_maze.ended())
            return;
        if (!delivered && !boxes.empty())
            violated("an event that was not delivered showed a box");

        // Every question is asked twice, and only a finished pair lets the game go on.
        if (boxes.size() % 2 != 0)
            violated("a question was asked only once");
        for (std::size_t i = 0; i + 1 < boxes.size(); i += 2) {
            if (boxes[i] != boxes[i + 1])
                violated("the two boxes of one question differ");
        }

        const std::string wrong = testing::checkState(m_maze, reachable());
        if (!wrong.empty())
            violated(wrong);

        // Only a key press captures; it captures where the piece stood before its step.
        const FormVariables now = m_maze.variables();
        const bool keyed = m_lastKind == Kind::Key && delivered;
        if (keyed) {
            if (now.youleft != before.left || now.youtop != before.top)
                violated("the captured bounds are not where the piece stood at the key press");
        } else if (now.youleft != captured.youleft || now.youright != captured.youright ||
                   now.youtop != captured.youtop || now.youbottom != captured.youbottom ||
                   now.goalleft != captured.goalleft || now.goaltop != captured.goaltop) {
            violated("the captured bounds changed without a key press");
        }
        // A ball moves only on its own timer's ticks, one step a tick.
        const auto moved = [](float from, float to, int ticks, float step) {
            return std::fabs(to - from) <= static_cast<float>(ticks) * step;
        };
        if (!moved(ball1, m_maze.shape(Element::shpball1).top(), m_lastTicks1, 100.0F) ||
            !moved(ball2, m_maze.shape(Element::shpball2).top(), m_lastTicks2, 200.0F))
            violated("a ball moved further than its ticks take it");
        if (now.ball1down != captured.ball1down && m_lastTicks1 == 0)
            violated("ball 1 turned without a tick");
        if (now.ball2down != captured.ball2down && m_lastTicks2 == 0)
            violated("ball 2 turned without a tick");

        // The cheat box holds what the player wrote, or a single space after a code.
        if (m_lastKind == Kind::Edit && delivered) {
            const std::string &text = m_maze.cheatBox().text();
            if (text != m_lastText && text != " ")
                violated("the cheat box holds neither the edit nor a space");
        }
    }

    // Delivers one event taken from the input; whether it reached a procedure.
    bool deliverOne()
    {
        switch (m_input.ConsumeIntegralInRange<int>(0, 15)) {
        case 0:
        case 1:
        case 2:
        case 3: // an arrow key, the common case
            m_lastKind = Kind::Key;
            return m_maze.keyDown(
                static_cast<std::int16_t>(vbKeyLeft + m_input.ConsumeIntegralInRange(0, 3)));
        case 4: // any key code and shift state at all
            m_lastKind = Kind::Key;
            return m_maze.keyDown(m_input.ConsumeIntegral<std::int16_t>(),
                                  m_input.ConsumeIntegral<std::int16_t>());
        case 5:
        case 6: {
            const auto target = static_cast<Clickable>(
                m_input.ConsumeIntegralInRange<std::size_t>(0, clickableCount - 1));
            const bool allowed = m_maze.canClick(target);
            const bool delivered = m_maze.click(target);
            if (allowed != delivered)
                violated("canClick and click disagree");
            return delivered;
        }
        case 7:
        case 8:
        case 9:
        case 10: { // a burst of ticks, so that the balls get around their tracks
            const bool first = m_input.ConsumeBool();
            const int count = m_input.ConsumeIntegralInRange(1, 80);
            bool any = false;
            for (int i = 0; i < count && !m_maze.ended(); ++i) {
                const bool delivered = m_maze.tick(first ? Element::Timer1 : Element::Timer2);
                (first ? m_lastTicks1 : m_lastTicks2) += delivered ? 1 : 0;
                any = any || delivered;
            }
            return any;
        }
        case 11:
        case 12:
            m_lastKind = Kind::Edit;
            m_lastText = cheatText(m_input);
            return m_maze.editText(m_lastText);
        case 13: { // typing: the current text and one more byte, which may cut a character
            m_lastKind = Kind::Edit;
            m_lastText = m_maze.cheatBox().text();
            m_lastText += static_cast<char>(m_input.ConsumeIntegral<std::uint8_t>());
            return m_maze.editText(m_lastText);
        }
        case 14: { // a tick asked of any element: only the two timers have any
            const auto e = static_cast<Element>(
                m_input.ConsumeIntegralInRange<std::size_t>(0, elementCount - 1));
            const bool delivered = m_maze.tick(e);
            if (delivered && e != Element::Timer1 && e != Element::Timer2)
                violated("an element that is no timer ticked");
            (e == Element::Timer1 ? m_lastTicks1 : m_lastTicks2) += delivered ? 1 : 0;
            return delivered;
        }
        default:
            // Closing runs no procedure of the game, so it never counts as delivered.
            if (m_input.ConsumeIntegralInRange(0, 7) == 0)
                m_maze.close();
            return false;
        }
    }

    static const std::set<Point> &reachable()
    {
        static const std::set<Point> positions = testing::reachablePositions();
        return positions;
    }

    enum class Kind { Key, Edit, Other };

    FuzzedDataProvider &m_input;
    FakePlatform m_platform;
    Maze m_maze{m_platform};
    Kind m_lastKind = Kind::Other;
    int m_lastTicks1 = 0;
    int m_lastTicks2 = 0;
    std::string m_lastText;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    Session session(input);
    session.play();
    return 0;
}
