// The script driver's format: what it accepts, what it prints, and how it refuses a bad line.
#include "driver.h"
#include "dump.h"
#include "route.h"
#include "runner.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

namespace {

using quorvale::script::run;

using Outcome = quorvale::testing::DriverRun;
constexpr auto runScript = quorvale::testing::runDriver;

// The value a dump prints for one name, or "" when the name is missing.
std::string dumped(const std::string &output, const std::string &name)
{
    std::istringstream lines(output);
    std::string line;
    std::string value;
    while (std::getline(lines, line)) {
        if (line.rfind(name + " ", 0) == 0)
            value = line.substr(name.size() + 1);
    }
    return value;
}

struct BadLine
{
    const char *name;
    const char *script;
    const char *error;
};

void PrintTo(const BadLine &line, std::ostream *os)
{
    *os << line.name;
}

class ScriptErrors : public testing::TestWithParam<BadLine>
{};

TEST_P(ScriptErrors, BadLineStopsWithItsNumberAndReason)
{
    const auto outcome = runScript(GetParam().script);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Format, ScriptErrors,
    testing::Values(
        BadLine{"UnknownCommand", "jump\n", "quorvale-script: line 1: unknown command 'jump'\n"},
        BadLine{"CommandsAreCaseSensitive", "# fine\n\nKEY 38\n",
                "quorvale-script: line 3: unknown command 'KEY'\n"},
        BadLine{"MissingArgument", "key\n",
                "quorvale-script: line 1: 'key' is missing its argument\n"},
        BadLine{"ExtraToken", "key 38 40\n",
                "quorvale-script: line 1: unexpected '40' after 'key'\n"},
        BadLine{"KeyCodeOutOfRange", "key 32768\n",
                "quorvale-script: line 1: bad key code '32768': expected a whole "
                "number from -32768 to 32767\n"},
        // The lower bound one step past: a bound moved by one would contradict its message.
        BadLine{"KeyCodeBelowRange", "key -32769\n",
                "quorvale-script: line 1: bad key code '-32769': expected a whole "
                "number from -32768 to 32767\n"},
        BadLine{"KeyCodeNotDecimal", "key 0x26\n",
                "quorvale-script: line 1: bad key code '0x26': expected a whole "
                "number from -32768 to 32767\n"},
        BadLine{"KeyCodeQuoted", "key \"38\"\n",
                "quorvale-script: line 1: bad key code '38': expected a whole "
                "number from -32768 to 32767\n"},
        BadLine{"NotClickable", "click shp5\n",
                "quorvale-script: line 1: nothing clickable is called 'shp5'\n"},
        BadLine{"MenuThatOnlyOpens", "click mnuedit\n",
                "quorvale-script: line 1: nothing clickable is called 'mnuedit'\n"},
        BadLine{
            "UnknownTimer", "tick Timer3\n",
            "quorvale-script: line 1: no timer is called 'Timer3': expected Timer1 or Timer2\n"},
        BadLine{"TextUnquoted", "text gusto\n",
                "quorvale-script: line 1: 'text' takes a string in double quotes\n"},
        BadLine{"UnterminatedString", "type \"gusto\n",
                "quorvale-script: line 1: unterminated string\n"},
        BadLine{"NoSpaceAfterString", "text \"a\"b\n",
                "quorvale-script: line 1: no space after a string\n"},
        BadLine{"InvalidUtf8", "text \"\xC3\"\n",
                "quorvale-script: line 1: a string that is not valid UTF-8\n"},
        // Each bound of UTF-8 one step past: an overlong '/', the last surrogate, and the first
        // code point past U+10FFFF.
        BadLine{"OverlongUtf8", "text \"\xC0\xAF\"\n",
                "quorvale-script: line 1: a string that is not valid UTF-8\n"},
        BadLine{"SurrogateInUtf8", "text \"\xED\xBF\xBF\"\n",
                "quorvale-script: line 1: a string that is not valid UTF-8\n"},
        BadLine{"PastTheLastCodePoint", "text \"\xF4\x90\x80\x80\"\n",
                "quorvale-script: line 1: a string that is not valid UTF-8\n"},
        BadLine{"AnswerWithoutAnswers", "answer\n",
                "quorvale-script: line 1: 'answer' needs at least one yes, no or close\n"},
        BadLine{"AnswerNotYesOrNo", "answer yes maybe\n",
                "quorvale-script: line 1: bad answer 'maybe': expected yes, no or close\n"},
        BadLine{"WaitNegative", "wait -1\n",
                "quorvale-script: line 1: bad number of ticks '-1': expected a whole number "
                "from 0 to 2147483647\n"},
        BadLine{"WaitTooLong", "wait 2147483648\n",
                "quorvale-script: line 1: bad number of ticks '2147483648': expected a whole "
                "number from 0 to 2147483647\n"},
        BadLine{"DumpWithArgument", "dump now\n",
                "quorvale-script: line 1: unexpected 'now' after 'dump'\n"},
        // A bad word is shown whole up to 40 characters, and cut after the 40th.
        BadLine{"UnknownCommandOf40Characters", "abcdefghijklmnopqrstuvwxyzabcdefghijklmn\n",
                "quorvale-script: line 1: unknown command "
                "'abcdefghijklmnopqrstuvwxyzabcdefghijklmn'\n"},
        BadLine{"UnknownCommandOf41Characters", "abcdefghijklmnopqrstuvwxyzabcdefghijklmno\n",
                "quorvale-script: line 1: unknown command "
                "'abcdefghijklmnopqrstuvwxyzabcdefghijklmn...'\n"},
        BadLine{"BinaryGarbage", "\x01\x7F\xFFgarbage\n",
                "quorvale-script: line 1: unknown command '\\x01\\x7F\\xFFgarbage'\n"}),
    [](const testing::TestParamInfo<BadLine> &info) { return std::string(info.param.name); });

TEST(Script, LinesBeforeABadLineHaveRun)
{
    const auto outcome = runScript("key 38\ndump\nbogus\ndump\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(dumped(outcome.out, "shpyou.Top"), "40");
    EXPECT_EQ(outcome.out.find("--"), outcome.out.rfind("--")) << "the second dump must not run";
}

TEST(Script, AfterTheEndEventsDoNothingAndDumpShowsTheEndState)
{
    const auto ended =
        runScript("key 40\nclick cmdstart\nclick mnufilequit\nkey 40\nclick mnufilestart\ndump\n");
    EXPECT_EQ(ended.status, 0);
    EXPECT_EQ(ended.out.substr(0, 4), "end\n");
    EXPECT_EQ(dumped(ended.out, "shpyou.Top"), "440");
    EXPECT_EQ(dumped(ended.out, "cmdstart.Visible"), "false");
    EXPECT_EQ(ended.err, "");
}

TEST(Script, LinesAfterTheEndAreStillChecked)
{
    const auto outcome = runScript("close\nbogus line\ndump\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "end\n");
    EXPECT_EQ(outcome.err, "quorvale-script: line 2: unknown command 'bogus'\n");
}

TEST(Script, CloseEndsTheProgram)
{
    EXPECT_EQ(runScript("close\nkey 40\n").out, "end\n");
}

// Each tick of the clock reaches Timer1 and then Timer2, and a stopped timer takes none.
TEST(Script, WaitIsTicksOfTimer1ThenTimer2)
{
    for (const std::string prefix : {"", "key 40\n", "text \"iceclock\"\n",
                                     "click cmdstart\ntext \"iceclock\"\nclick mnufilestart\n"}) {
        const int n = 150;
        std::string ticks;
        std::string waits;
        std::string pairs;
        for (int i = 0; i < n; ++i) {
            ticks += "tick Timer1\ntick Timer2\ndump\n";
            waits += "wait 1\ndump\n";
            pairs += "tick Timer1\ntick Timer2\n";
        }
        EXPECT_EQ(runScript(prefix + waits).out, runScript(prefix + ticks).out) << prefix;
        EXPECT_EQ(runScript(prefix + "wait 150\ndump\n").out,
                  runScript(prefix + pairs + "dump\n").out)
            << prefix;
    }
    EXPECT_EQ(runScript("wait 0\ndump\n").out, runScript("dump\n").out);
    // Ball 2 alone stopped, on its marker: ball 1 goes on, tick after tick, through a wait as
    // through its own ticks.
    std::string onMarker2;
    for (const std::int16_t key : quorvale::testing::routeFromStart([](quorvale::testing::Point p) {
             return p == quorvale::testing::Point{6760, 2040};
         }))
        onMarker2 += "key " + std::to_string(key) + "\n";
    onMarker2 += "tick Timer2\n";
    ASSERT_EQ(dumped(runScript(onMarker2 + "dump\n").out, "Timer2.Enabled"), "false");
    ASSERT_EQ(dumped(runScript(onMarker2 + "dump\n").out, "Timer1.Enabled"), "true");
    std::string ball1Ticks;
    for (int i = 0; i < 30; ++i)
        ball1Ticks += "tick Timer1\n";
    EXPECT_EQ(runScript(onMarker2 + "wait 30\ndump\n").out,
              runScript(onMarker2 + ball1Ticks + "dump\n").out);
    // Stopped for good: a long wait is over at once.
    EXPECT_EQ(runScript("text \"iceclock\"\nwait 2147483647\ndump\n").out,
              runScript("text \"iceclock\"\ndump\n").out);
}

TEST(Script, ByteOrderMarkAtTheStartIsSkipped)
{
    const auto outcome = runScript("\xEF\xBB\xBFkey 38\ndump\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(dumped(outcome.out, "shpyou.Top"), "40");
    EXPECT_EQ(runScript("key 38\n\xEF\xBB\xBFkey 38\n").status, 2) << "only at the very start";
}

TEST(Script, AnswerQueueHasALimit)
{
    std::string many = "answer";
    for (std::size_t i = 0; i < quorvale::script::maxQueuedAnswers / 2; ++i)
        many += " no";
    many += "\n";
    EXPECT_EQ(runScript(many + many).status, 0);
    const auto outcome = runScript(many + many + "answer yes\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err,
              "quorvale-script: line 3: more than 1000000 answers waiting for message boxes\n");
    EXPECT_EQ(runScript(many + many + "key 38\nkey 32\nanswer yes yes\n").status, 0)
        << "answers taken by boxes make room";
}

// The other side of every refusal above: each bound itself is read, so a bound moved by one
// fails here.
TEST(Script, ValuesAtEachBoundAreAccepted)
{
    for (const std::string line :
         {"key -32768", "key 32767", "wait 0", "text \"\xC2\x80\"", "text \"\xEE\x80\x80\"",
          "text \"\xF4\x8F\xBF\xBF\"", "text \"\xED\x9F\xBF\""}) {
        const auto outcome = runScript(line + "\n");
        EXPECT_EQ(outcome.status, 0) << line;
        EXPECT_EQ(outcome.err, "") << line;
    }
    std::string answers = "answer";
    for (std::size_t i = 0; i < quorvale::script::maxQueuedAnswers; ++i)
        answers += " no";
    EXPECT_EQ(runScript(answers + "\n").status, 0) << "one line of exactly the most answers";
    EXPECT_EQ(runScript(answers + " no\n").err,
              "quorvale-script: line 1: more than 1000000 answers waiting for message boxes\n");
}

TEST(Script, AnswersAreQueuedAndAnEmptyQueueAnswersYes)
{
    const auto outcome = runScript("answer no\nkey 38\nkey 32\nanswer yes no\nkey 38\nkey 32\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "msgbox 52 \"GAME OVER\" \"Please Try Again\" -> no\n"
                           "msgbox 52 \"GAME OVER\" \"Please Try Again\" -> yes\n"
                           "msgbox 52 \"GAME OVER\" \"Please Try Again\" -> yes\n"
                           "msgbox 52 \"GAME OVER\" \"Please Try Again\" -> no\n"
                           "end\n");
}

TEST(Script, StringsKeepEscapedQuotesBackslashesAndSpaces)
{
    const auto outcome = runScript("text \"  a \\\"b\\\" \\\\ \\n\"\ndump\n");
    EXPECT_EQ(dumped(outcome.out, "txtcheat.Text"), R"("  a \"b\" \\ \\n")");
}

TEST(Script, TypeMakesOneChangePerCodePoint)
{
    // "gustö" never matches; typing "gusto" after clearing shows the match on the fifth change.
    auto outcome = runScript("type \"gust\xC3\xB6\"\ndump\n");
    EXPECT_EQ(dumped(outcome.out, "txtcheat.Text"), "\"gust\xC3\xB6\"");
    outcome = runScript("type \"gus\"\ntype \"to\"\ndump\n");
    EXPECT_EQ(dumped(outcome.out, "txtcheat.Text"), "\" \"");
    EXPECT_EQ(dumped(outcome.out, "shpyou.FillColor"), "0x0000FFFF");
}

TEST(Script, TextIsIgnoredWhileTheCheatBoxIsHidden)
{
    const auto outcome = runScript("click cmdstart\ntext \"iceclock\"\ndump\n");
    EXPECT_EQ(dumped(outcome.out, "txtcheat.Text"), "\"\"");
    EXPECT_EQ(dumped(outcome.out, "Timer1.Enabled"), "true");
}

TEST(Script, CommentsBlankLinesAndWindowsLineEndingsAreAccepted)
{
    const auto outcome = runScript("  # a comment\r\n\r\n\t\r\nkey\t38\r\ndump\r\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(dumped(outcome.out, "shpyou.Top"), "40");
}

TEST(Script, LastLineNeedsNoLineBreak)
{
    EXPECT_EQ(dumped(runScript("key 40\ndump").out, "shpyou.Top"), "440");
}

// One byte past the limit: a bound moved by one reads it.
TEST(Script, LineOneByteLongerThanTheLimitIsRefused)
{
    std::string script = "text \"";
    script.append(quorvale::script::maxLineLength + 1 - script.size() - 1, 'a');
    script += "\"\n";
    const auto outcome = runScript(script);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "quorvale-script: line 1: line longer than 16 MiB\n");
}

TEST(Script, LineOfExactlyTheLimitIsRead)
{
    std::string script = "text \"";
    script.append(quorvale::script::maxLineLength - script.size() - 1, 'a');
    script += "\"\ndump\n";
    const auto outcome = runScript(script);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(dumped(outcome.out, "txtcheat.Text").size(), quorvale::script::maxLineLength - 5);
}

TEST(Script, DumpListsEveryValueInOrder)
{
    const auto outcome = runScript("dump\n");
    std::istringstream lines(outcome.out);
    std::string line;
    std::string names;
    while (std::getline(lines, line))
        names += line.substr(0, line.find(' ')) + ",";
    EXPECT_EQ(names, "frmmaze.BackColor,shpborder.FillColor,shpborder.BorderColor,shpyou.Left,"
                     "shpyou.Top,shpyou.Shape,shpyou.FillColor,shpyou.BorderColor,shpball1.Top,"
                     "shpball2.Top,cmdstart.Visible,cmdstart.Enabled,txtcheat.Visible,"
                     "txtcheat.Text,fraborder.Visible,optred.Visible,optred.Value,"
                     "optgreen.Visible,optgreen.Value,optblue.Visible,optblue.Value,"
                     "optyellow.Visible,optyellow.Value,lblabout.Caption,Timer1.Enabled,"
                     "Timer2.Enabled,ball1down,ball2down,youleft,youright,youtop,youbottom,"
                     "goalleft,goalright,goaltop,goalbottom,--,");
}

TEST(Script, ValuesAreFormattedAsDumpsPrintThem)
{
    using quorvale::script::formatColour;
    using quorvale::script::formatGeometry;
    EXPECT_EQ(formatColour(quorvale::Colour{0x80000012}), "0x80000012");
    EXPECT_EQ(formatColour(quorvale::Colour{0x00abcdef}), "0x00ABCDEF");
    EXPECT_EQ(formatGeometry(5760.0F), "5760");
    EXPECT_EQ(formatGeometry(-200.0F), "-200");
    EXPECT_EQ(formatGeometry(-0.0F), "0");
    EXPECT_EQ(formatGeometry(0.5F), "0.5");
    EXPECT_EQ(formatGeometry(1.0F / 3.0F), "0.333333343");
}

} // namespace
