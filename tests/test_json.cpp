#include "json.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

using quorvale::web::JsonWriter;

namespace {

struct StringCase
{
    std::string_view text;
    std::string_view written;
};

// Whatever the rules hold (a cheat box's text, a script's error) reaches the page as the same
// string, and the page's parser takes it: a quote or a control character left raw would end the
// string early or make the whole description unreadable.
TEST(JsonWriter, StringsReadBackExactlyWithEveryQuoteAndControlEscaped)
{
    using namespace std::string_view_literals;
    const StringCase cases[] = {
        {"plain", R"("plain")"},
        {"", R"("")"},
        {"say \"yes\"", R"("say \"yes\"")"},
        {"C:\\maze\\", R"("C:\\maze\\")"},
        {"line\nbreak\ttab\r", R"("line\u000abreak\u0009tab\u000d")"},
        {"\x01\x1f\x7f", "\"\\u0001\\u001f\x7f\""},
        {"a\0b"sv, R"("a\u0000b")"},
        // UTF-8 as it is, whatever its length.
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
    };
    for (const StringCase &c : cases) {
        const std::string json = JsonWriter().string(c.text).take();
        EXPECT_EQ(json, c.written) << c.written;
        EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), c.text) << c.written;
    }
}

TEST(JsonWriter, MembersAndElementsAreSeparatedByCommasAtEveryDepth)
{
    JsonWriter json;
    json.beginObject();
    json.key("a").beginArray().number(1).beginObject().key("b").boolean(true);
    json.key("c").null().endObject().beginArray().endArray().number(-2).endArray();
    json.key("d").beginObject().endObject();
    json.key("e\"").string("x").key("f").boolean(false);
    json.endObject();
    const std::string text = json.take();
    EXPECT_EQ(text, R"({"a":[1,{"b":true,"c":null},[],-2],"d":{},"e\"":"x","f":false})");
    const auto parsed = nlohmann::json::parse(text);
    EXPECT_EQ(parsed["a"][1]["b"], true);
    EXPECT_EQ(parsed["e\""], "x");
}

// The pictures' points and widths: short enough to read, and exactly the numbers the rules hold.
TEST(JsonWriter, DecimalsReadBackExactlyInTheFewestDigits)
{
    struct Case
    {
        double x;
        std::string_view written;
    };
    const Case cases[] = {
        {14.2, "14.2"},
        {0.1, "0.1"},
        {229, "229"},
        {-0.5, "-0.5"},
        {1e-7, "1e-07"},
        {1.0 / 3, "0.3333333333333333"},
        {123456789.125, "123456789.125"},
    };
    for (const Case &c : cases) {
        const std::string json = JsonWriter().beginArray().decimal(c.x).endArray().take();
        EXPECT_EQ(json, "[" + std::string(c.written) + "]");
        EXPECT_EQ(nlohmann::json::parse(json)[0].get<double>(), c.x) << c.written;
    }
    // JSON has no word for these: the page reads null rather than failing on the whole text.
    for (const double x : {std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_EQ(JsonWriter().beginArray().decimal(x).endArray().take(), "[null]");
}

} // namespace
