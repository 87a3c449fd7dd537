// Captured bounds are Integers made from single-precision geometry.
#include "conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>

namespace {

using quorvale::roundToInteger;

struct RoundingCase
{
    float value;
    int expected;

    friend void PrintTo(const RoundingCase &c, std::ostream *os)
    {
        *os << c.value << " -> " << c.expected;
    }
};

class Rounding : public testing::TestWithParam<RoundingCase>
{};

TEST_P(Rounding, GivesTheNearestWholeNumberAndTheEvenOneOnATie)
{
    const auto result = roundToInteger(GetParam().value);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, GetParam().expected);
}

// Names a case after its value: 2.5 is Of2_5, -2.5 is OfMinus2_5.
std::string caseName(const testing::TestParamInfo<RoundingCase> &info)
{
    std::ostringstream text;
    text << info.param.value;
    std::string name = "Of";
    for (const char c : text.str())
        name += c == '-' ? std::string("Minus") : c == '.' ? std::string("_") : std::string(1, c);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Conversion, Rounding,
                         testing::Values(RoundingCase{6135.0F, 6135}, RoundingCase{0.5F, 0},
                                         RoundingCase{1.5F, 2}, RoundingCase{2.5F, 2},
                                         RoundingCase{2.5001F, 3}, RoundingCase{-0.5F, 0},
                                         RoundingCase{-1.5F, -2}, RoundingCase{-2.5F, -2},
                                         RoundingCase{-2.6F, -3}, RoundingCase{32767.4F, 32767},
                                         RoundingCase{-32768.5F, -32768}),
                         caseName);

TEST(Conversion, ValuesOutsideSixteenBitsHaveNoInteger)
{
    EXPECT_FALSE(roundToInteger(32767.5F));
    EXPECT_FALSE(roundToInteger(-32768.6F));
    EXPECT_FALSE(roundToInteger(1e9F));
    EXPECT_FALSE(roundToInteger(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(roundToInteger(std::nanf("")));
}

} // namespace
