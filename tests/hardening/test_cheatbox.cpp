// Text in the cheat box that only a script can send, never the window: bytes that are not UTF-8,
// NUL, and more than the window's box holds (a 1 MiB paste). The box takes it as it is, nothing
// else in the game changes, the edit is fast, and the codes still work afterwards.

#include "runner.h"
#include "sanitizers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quorvale {
namespace {

using namespace std::string_literals;
using script::Runner;
using script::TextCommand;

// The state as the script driver dumps it, without the cheat box's text.
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

TEST(CheatBox, HostileTextIsKeptAsSentWithNoOtherEffect)
{
    const std::string texts[] = {
        "\0iceclock"s,
        "ghostlike\0"s, // a code beside a NUL
        "\xFF\xFEgusto\xC0\xAF",
        "skip\xE2\x80jump",                     // not UTF-8, a code cut by a broken sequence
        "\xED\xA0\x80",                         // a lone surrogate in UTF-8
        std::string(std::size_t{1} << 20, 'g'), // a 1 MiB paste
    };
    for (const std::string &text : texts) {
        SCOPED_TRACE(::testing::PrintToString(text.substr(0, 32)));
        std::ostringstream out;
        Runner runner(out);
        const std::string before = stateBesidesText(runner, out);
        runner.execute(TextCommand{text});

        EXPECT_EQ(runner.maze().cheatBox().text(), text); // byte for byte
        EXPECT_EQ(out.str(), "") << "no message box, no end";
        EXPECT_FALSE(runner.ended());
        EXPECT_EQ(stateBesidesText(runner, out), before);
        // Nothing is lost: the box still takes a code once the text is replaced.
        runner.execute(TextCommand{"gusto"});
        EXPECT_EQ(runner.maze().cheatBox().text(), " ");
        EXPECT_EQ(runner.maze().shape(Element::shpyou).fillColor(), colours::yellow);
    }
}

} // namespace
} // namespace quorvale
