// A recording as a link: what goes in comes out, and what no link we made holds is refused with
// one message before any of it is replayed.
#include "link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using quorvale::script::LinkError;
using quorvale::script::linkFragment;
using quorvale::script::makeLink;
using quorvale::script::maxLinkFragment;
using quorvale::script::maxLinkText;
using quorvale::script::readLink;

constexpr std::string_view base = "http://127.0.0.1:8000/";

std::string linkFor(std::string_view text)
{
    auto made = makeLink(text, base);
    if (const auto *error = std::get_if<LinkError>(&made))
        ADD_FAILURE() << "no link made: " << error->message;
    return std::get_if<std::string>(&made) ? std::get<std::string>(made) : std::string();
}

std::string refusal(const std::variant<std::string, LinkError> &result)
{
    const auto *error = std::get_if<LinkError>(&result);
    return error ? error->message : "(accepted)";
}

TEST(Link, EveryGoldenScriptComesBackUnchanged)
{
    std::vector<std::filesystem::path> scripts;
    for (const auto &entry : std::filesystem::directory_iterator(QUORVALE_GOLDEN_SCRIPTS)) {
        if (entry.path().extension() == ".script")
            scripts.push_back(entry.path());
    }
    ASSERT_GE(scripts.size(), 10U) << "the golden scripts are not where the test looks";
    for (const auto &path : scripts) {
        SCOPED_TRACE(path.filename().string());
        std::ifstream in(path, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        const std::string link = linkFor(text);
        ASSERT_TRUE(link.starts_with(std::string(base) + "#r1:"));
        // base64url without padding: nothing a chat program or an address bar would change.
        EXPECT_EQ(link.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                         "0123456789-_",
                                         base.size() + 4),
                  std::string::npos);
        const auto back = readLink(link);
        ASSERT_TRUE(std::holds_alternative<std::string>(back)) << refusal(back);
        EXPECT_EQ(std::get<std::string>(back), text);
    }
}

struct BadLink
{
    const char *name;
    std::string link;
    const char *message;
};

void PrintTo(const BadLink &bad, std::ostream *os)
{
    *os << bad.name;
}

class LinkRefusals : public testing::TestWithParam<BadLink>
{};

TEST_P(LinkRefusals, BadLinkGivesOneMessageAndNoRecording)
{
    EXPECT_EQ(refusal(readLink(GetParam().link)), GetParam().message);
}

const std::string good = linkFor("click cmdstart\nkey 37\nwait 64\ndump\n");
const std::string goodData = good.substr(good.find("#r1:") + 4);

INSTANTIATE_TEST_SUITE_P(
    Decoding, LinkRefusals,
    testing::Values(
        BadLink{"NoFragment", "http://127.0.0.1:8000/",
                "the link holds no recording: it has no '#r1:'"},
        BadLink{"OtherPage", "http://127.0.0.1:8000/#top",
                "the link holds no recording: it has no '#r1:'"},
        BadLink{"LaterFormat", "http://127.0.0.1:8000/#r2:" + goodData,
                "the link is in format 'r2', which this version does not read"},
        // A format is r and one to seven digits, the longest one too; past that the fragment
        // is not a recording at all.
        BadLink{"LongestOtherFormat", "x#r1234567:" + goodData,
                "the link is in format 'r1234567', which this version does not read"},
        BadLink{"FormatPastSevenDigits", "x#r12345678:" + goodData,
                "the link holds no recording: it has no '#r1:'"},
        BadLink{"PaddedBase64", good + "==", "the link is damaged: it is not valid base64url"},
        BadLink{"PlainBase64Alphabet", "x#r1:ab+/",
                "the link is damaged: it is not valid base64url"},
        BadLink{"LoneLastCharacter", "x#r1:abcde",
                "the link is damaged: it is not valid base64url"},
        BadLink{"Truncated", good.substr(0, good.size() - 4),
                "the link is damaged: its recording is not valid DEFLATE data"},
        // 0xFF: a last block of the reserved type 3, which no compressor writes.
        BadLink{"ReservedBlockType", "x#r1:_w",
                "the link is damaged: its recording is not valid DEFLATE data"},
        BadLink{"TrailingBytes", good + "AAAA",
                "the link is damaged: its recording is not valid DEFLATE data"},
        BadLink{"NotAScript", linkFor("key 38\n# fine\nwait -3\n"),
                "line 3: bad number of ticks '-3': expected a whole number from 0 to 2147483647"},
        BadLink{"FragmentPast1MB", "x#r1:" + std::string(maxLinkFragment - 2, 'A'),
                "the link is longer than 1 MB, more than a link may hold"},
        BadLink{"TextPast16MiB", "x#" + linkFragment(std::string(maxLinkText + 1, '#')),
                "the link's recording is longer than 16 MiB, more than a link may hold"}),
    [](const testing::TestParamInfo<BadLink> &info) { return info.param.name; });

// Just inside each bound the link is read; one past it is refused (above).
TEST(Link, LinkAtEachBoundIsRead)
{
    const std::string longest(maxLinkText, '#');
    const auto text = readLink("x#" + linkFragment(longest));
    ASSERT_TRUE(std::holds_alternative<std::string>(text)) << refusal(text);
    EXPECT_EQ(std::get<std::string>(text).size(), maxLinkText);
    EXPECT_TRUE(std::holds_alternative<std::string>(makeLink(longest, base)))
        << "a recording of exactly 16 MiB makes a link";

    // A fragment of exactly 1 MB is not refused for its length, only for what it holds.
    EXPECT_EQ(refusal(readLink("x#r1:" + std::string(maxLinkFragment - 3, 'A'))),
              "the link is damaged: it is not valid base64url");
}

// A link that no reader would open is not made: the recording says why instead.
TEST(Link, RecordingTooLongForALinkMakesNone)
{
    EXPECT_EQ(refusal(makeLink(std::string(maxLinkText + 1, '#'), base)),
              "the recording is longer than 16 MiB, more than a link may hold");

    // Bytes that do not compress: 800 kB of them make more than 1 MB of base64url.
    std::mt19937 random(19);
    std::string noise(800'000, '\0');
    for (char &c : noise)
        c = static_cast<char>(random());
    const std::string message = refusal(makeLink(noise, base));
    EXPECT_TRUE(message.starts_with("the recording makes a link of ")) << message;
    EXPECT_TRUE(message.ends_with(" characters, more than the 1 MB a link may hold")) << message;
}

} // namespace
