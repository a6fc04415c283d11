#include <gtest/gtest.h>

#include "ui/modelview/columnwidth.h"

namespace dravin {
namespace {

struct WidthCase {
    int width;
    int percent;
    int expected;
};

class ShareOfWidthTest : public ::testing::TestWithParam<WidthCase> {};

// Exact halves go to the even neighbour on the exact share, whatever a double product
// of the share would give (0.07 × 150 = 10.500000000000002).
TEST_P(ShareOfWidthTest, NearestWholePixelHalvesToEven) {
    const WidthCase c = GetParam();
    EXPECT_EQ(shareOfWidth(c.width, c.percent), c.expected);
    EXPECT_EQ(shareOfWidth(c.width, c.percent / 100.0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Widths, ShareOfWidthTest,
                         ::testing::Values(WidthCase{150, 7, 10}, WidthCase{250, 7, 18},
                                           WidthCase{50, 5, 2}, WidthCase{70, 5, 4},
                                           WidthCase{1000, 15, 150}, WidthCase{741, 6, 44},
                                           WidthCase{733, 19, 139}, WidthCase{0, 12, 0},
                                           WidthCase{150, 3, 4}, WidthCase{350, 3, 10}));

}  // namespace
}  // namespace dravin
