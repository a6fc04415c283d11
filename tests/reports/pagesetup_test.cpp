#include "reports/engine/pagesetup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "data/errors.h"

namespace dravin {
namespace {

struct PaperCase {
    const char* label;
    PageSetup setup;
    double width;
    double height;
};

std::ostream& operator<<(std::ostream& os, const PaperCase& c) {
    return os << c.label;
}

class PaperSizeTest : public ::testing::TestWithParam<PaperCase> {};

TEST_P(PaperSizeTest, TurnsWithTheOrientation) {
    const PaperCase& c = GetParam();
    EXPECT_NEAR(c.setup.paperSize().width(), c.width, 0.01);
    EXPECT_NEAR(c.setup.paperSize().height(), c.height, 0.01);
}

constexpr auto kPortrait = QPageLayout::Portrait;
constexpr auto kLandscape = QPageLayout::Landscape;

INSTANTIATE_TEST_SUITE_P(
    Papers, PaperSizeTest,
    ::testing::Values(PaperCase{"A4Portrait", PageSetup::a4(kPortrait), 210, 297},
                      PaperCase{"A4Landscape", PageSetup::a4(kLandscape), 297, 210},
                      PaperCase{"A3Portrait", PageSetup::a3(kPortrait), 297, 420},
                      PaperCase{"A3Landscape", PageSetup::a3(kLandscape), 420, 297},
                      PaperCase{"CustomPortrait", PageSetup::custom(420, 594, kPortrait), 420, 594},
                      PaperCase{"CustomLandscape", PageSetup::custom(100, 150, kLandscape), 150,
                                100}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PageSetupTest, PrintableAreaIsThePaperLessTheMargins) {
    PageSetup page = PageSetup::a3(kLandscape);
    page.setMargins(10, 10, 20, 25);  // top, bottom, left, right
    EXPECT_EQ(page.printableRect(), QRectF(20, 10, 375, 277));
}

TEST(PageSetupTest, MarginsWiderThanThePaperLeaveAnEmptyArea) {
    PageSetup page = PageSetup::a4(kPortrait);
    page.setMargins(200, 200, -5, 300);
    EXPECT_EQ(page.margins().left(), 0);
    EXPECT_EQ(page.printableRect().width(), 0);
    EXPECT_EQ(page.printableRect().height(), 0);
}

class BadCustomSizeTest : public ::testing::TestWithParam<double> {};

TEST_P(BadCustomSizeTest, IsRefused) {
    PageSetup page;
    EXPECT_THROW(page.setCustomSize(GetParam(), 594), RangeError);
    EXPECT_THROW(page.setCustomSize(420, GetParam()), RangeError);
    EXPECT_EQ(page.paper(), Paper::A4);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BadCustomSizeTest,
                         ::testing::Values(0.0, -1.0, std::nan(""),
                                           std::numeric_limits<double>::infinity()));

}  // namespace
}  // namespace dravin
