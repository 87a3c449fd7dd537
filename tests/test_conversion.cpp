// Captured bounds are Integers made from single-precision geometry.
#include "conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using quorvale::roundToInteger;

struct Rounding
{
    float value;
    int expected;
};

class RoundsToNearestHalvesToEven : public testing::TestWithParam<Rounding>
{};

TEST_P(RoundsToNearestHalvesToEven, givesTheNearestEvenOnATie)
{
    const auto result = roundToInteger(GetParam().value);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Conversion, RoundsToNearestHalvesToEven,
                         testing::Values(Rounding{6135.0F, 6135}, Rounding{0.5F, 0},
                                         Rounding{1.5F, 2}, Rounding{2.5F, 2}, Rounding{2.5001F, 3},
                                         Rounding{-0.5F, 0}, Rounding{-1.5F, -2},
                                         Rounding{-2.5F, -2}, Rounding{-2.6F, -3},
                                         Rounding{32767.4F, 32767}, Rounding{-32768.5F, -32768}));

TEST(Conversion, valuesOutsideSixteenBitsHaveNoInteger)
{
    EXPECT_FALSE(roundToInteger(32767.5F));
    EXPECT_FALSE(roundToInteger(-32768.6F));
    EXPECT_FALSE(roundToInteger(1e9F));
    EXPECT_FALSE(roundToInteger(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(roundToInteger(std::nanf("")));
}

} // namespace
