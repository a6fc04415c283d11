#include <gtest/gtest.h>

#include "compute/numeric.h"
#include "data/errors.h"

namespace dravin {
namespace {

struct RoundingCase {
    int n;
    double x;
    double expected;
};

class RoundDecimalsTest : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(RoundDecimalsTest, RoundsTheDoubleItIsGiven) {
    const auto& c = GetParam();
    EXPECT_EQ(static_cast<double>(RoundDecimals(c.n, c.x)), c.expected)
        << "RoundDecimals(" << c.n << ", " << c.x << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundDecimalsTest,
    ::testing::Values(
        // The double nearest 2.675 (and 1.005) lies just below it.
        RoundingCase{2, 2.675, 2.67}, RoundingCase{2, -1.005, -1.00},
        // Exact halves go to the even neighbour, on either side of zero.
        RoundingCase{2, 0.125, 0.12}, RoundingCase{2, 0.375, 0.38}, RoundingCase{2, -0.125, -0.12},
        RoundingCase{0, 2.5, 2.0}, RoundingCase{0, 3.5, 4.0}, RoundingCase{6, 1.23456789, 1.234568},
        RoundingCase{2, 16.666666, 16.67},
        // From 2147483647 / 10^n on, the value comes back unchanged.
        RoundingCase{2, 3.0e7, 3.0e7}, RoundingCase{2, 21474836.125, 21474836.12},
        RoundingCase{2, 21474836.5, 21474836.5}, RoundingCase{0, -3.0e9 - 0.5, -3.0e9 - 0.5}));

TEST(RoundDecimalsTest, DecimalsOutsideZeroToSixAreARangeError) {
    EXPECT_THROW(RoundDecimals(-1, 1.0), RangeError);
    EXPECT_THROW(RoundDecimals(7, 1.0), RangeError);
    EXPECT_NO_THROW(RoundDecimals(0, 1.0));
    EXPECT_NO_THROW(RoundDecimals(6, 1.0));
}

struct ToleranceCase {
    long double x;
    bool significant;
};

class SignificanceTest : public ::testing::TestWithParam<ToleranceCase> {};

TEST_P(SignificanceTest, IsNegligibleIsTheOppositeOfIsSignificant) {
    const auto& c = GetParam();
    EXPECT_EQ(IsSignificant(c.x), c.significant) << static_cast<double>(c.x);
    EXPECT_EQ(IsNegligible(c.x), !c.significant) << static_cast<double>(c.x);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SignificanceTest,
    ::testing::Values(ToleranceCase{0.00011L, true}, ToleranceCase{-0.00011L, true},
                      ToleranceCase{0.00009L, false}, ToleranceCase{-0.00009L, false},
                      ToleranceCase{0.0L, false},
                      // The double nearest 0.0001 lies above the extended threshold.
                      ToleranceCase{static_cast<long double>(0.0001), true},
                      ToleranceCase{-static_cast<long double>(0.0001), true},
                      ToleranceCase{0.0001L, false}));

}  // namespace
}  // namespace dravin
