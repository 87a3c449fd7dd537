// Text in the cheat box that no player means as a code: huge pastes, control characters, bytes
// that are not UTF-8, right-to-left text. The box takes it as it is, nothing else in the game
// changes, the edit is fast, and the codes still work afterwards.

#include "scriptdriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <string_view>

namespace quorvale {
namespace {

using namespace std::string_literals;
using script::Runner;
using script::TextCommand;

constexpr std::size_t oneMiB = std::size_t{1024} * 1024;

// The state as the script driver dumps it, without the cheat box's text, which may hold line
// breaks of its own; the dump always goes on with the frame after it.
std::string stateBesidesText(Runner &runner, std::ostringstream &out)
{
    out.str("");
    runner.dump();
    std::string state = out.str();
    out.str("");
    const std::size_t from = state.find("txtcheat.Text ");
    const std::size_t to = state.find("\nfraborder.Visible ", from);
    if (from == std::string::npos || to == std::string::npos)
        return "no cheat box text in the dump:\n" + state;
    return state.erase(from, to + 1 - from);
}

struct HostileText
{
    const char *name;
    std::string text;
};

void PrintTo(const HostileText &h, std::ostream *os)
{
    *os << h.name;
}

class CheatBoxHostileText : public ::testing::TestWithParam<HostileText>
{};

TEST_P(CheatBoxHostileText, IsKeptAsTypedWithNoOtherEffectAndNoDelay)
{
    std::ostringstream out;
    Runner runner(out);
    const std::string before = stateBesidesText(runner, out);

    const std::string &text = GetParam().text;
    const auto started = std::chrono::steady_clock::now();
    runner.execute(TextCommand{text});
    const auto elapsed = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(runner.maze().cheatBox().text(), text); // byte for byte
    EXPECT_EQ(out.str(), "") << "no message box, no end";
    EXPECT_FALSE(runner.ended());
    EXPECT_EQ(stateBesidesText(runner, out), before);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 100);

    // Nothing is lost: the box still takes a code once the text is replaced.
    runner.execute(TextCommand{"gusto"});
    EXPECT_EQ(runner.maze().cheatBox().text(), " ");
    EXPECT_EQ(runner.maze().shape(Element::shpyou).fillColor(), colours::yellow);
}

INSTANTIATE_TEST_SUITE_P(
    Pasted, CheatBoxHostileText,
    ::testing::Values(
        HostileText{"OneMiBOfLetters", std::string(oneMiB, 'g')},
        HostileText{"OneMiBEndingInACode", std::string(oneMiB - 5, ' ') + "gusto"},
        HostileText{"OneMiBOfTheCodeRepeated",
                    [] {
                        std::string s;
                        while (s.size() < oneMiB)
                            s += "skipjump";
                        return s;
                    }()},
        HostileText{"CodeWithNewline", "gusto\n"}, HostileText{"CodeAfterTab", "\tKeen"},
        HostileText{"CodeAfterNul", "\0iceclock"s}, HostileText{"CodeBeforeNul", "ghostlike\0"s},
        HostileText{"EveryControlCharacter",
                    [] {
                        std::string s;
                        for (char c = 1; c < 0x20; ++c)
                            s += c;
                        return s + '\x7F';
                    }()},
        HostileText{"BytesThatAreNotUtf8", "\xFF\xFEgusto\xC0\xAF"},
        HostileText{"CodeCutByATruncatedSequence", "skip\xE2\x80jump"},
        HostileText{"LoneSurrogateInUtf8", "\xED\xA0\x80"},
        HostileText{"RightToLeftMarkBeforeCode", "\u200Fskipjump"},
        HostileText{"RightToLeftOverrideShowingTheCode", "\u202Eotsug"},
        HostileText{"HebrewAndArabic", "\u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627"},
        HostileText{"FullWidthLetters", "\uFF47\uFF55\uFF53\uFF54\uFF4F"}),
    [](const ::testing::TestParamInfo<HostileText> &info) { return std::string(info.param.name); });

// Typing on top of a pasted mebibyte: every keystroke copies the whole text, and still each one
// is far below anything a player would notice.
TEST(CheatBox, TypingAfterAOneMiBPasteStaysFast)
{
    std::ostringstream out;
    Runner runner(out);
    runner.execute(TextCommand{std::string(oneMiB, 'k')});

    auto slowest = std::chrono::steady_clock::duration::zero();
    for (const char c : "gusto"s) {
        const auto started = std::chrono::steady_clock::now();
        runner.execute(script::TypeCommand{std::string(1, c)});
        slowest = std::max(slowest, std::chrono::steady_clock::now() - started);
    }
    EXPECT_EQ(runner.maze().cheatBox().text().size(), oneMiB + 5);
    EXPECT_EQ(runner.maze().shape(Element::shpyou).fillColor(), colours::green);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count(), 100);
}

} // namespace
} // namespace quorvale
