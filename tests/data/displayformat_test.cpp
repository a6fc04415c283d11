#include "data/displayformat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

namespace dravin {
namespace {

struct RealCase {
    double value;
    const char* picture;
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const RealCase& c) {
    return os << "formatNumber(" << c.value << ", \"" << c.picture << "\")";
}

class FormatRealTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(FormatRealTest, Formats) {
    const RealCase& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.picture), c.expected);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    FieldPictures, FormatRealTest,
    ::testing::Values(
        RealCase{0.0, "#0.00", "0.00"}, RealCase{1.5, "#0.00", "1.50"},
        RealCase{-3.2, "#0.00", "-3.20"}, RealCase{-0.5, "#0.00", "-0.50"},
        RealCase{1234567.0, "#0.00", "1234567.00"}, RealCase{12.345, "###0.00", "12.35"},
        RealCase{98765.4, "###0.00", "98765.40"}, RealCase{1.5, "###0.00  ", "1.50  "},
        RealCase{-12.5, "###0.00  ", "-12.50  "}, RealCase{0.5, "####.00", ".50"},
        RealCase{0.0, "####.00", ".00"}, RealCase{-0.5, "####.00", "-.50"},
        RealCase{1000.255, "####.00", "1000.26"}, RealCase{0.0, "##", ""}, RealCase{7.0, "##", "7"},
        RealCase{123.0, "##", "123"}, RealCase{0.5, "##", "1"}, RealCase{-0.5, "##", "-1"},
        RealCase{42.0, "00000", "00042"}, RealCase{-42.0, "00000", "-00042"},
        RealCase{123456.0, "00000", "123456"}, RealCase{1000.0, "####0.000", "1000.000"},
        RealCase{0.0005, "####0.000", "0.001"}));

// Half away from zero on the shortest decimal form, not on the binary value below it.
INSTANTIATE_TEST_SUITE_P(
    Rounding, FormatRealTest,
    ::testing::Values(RealCase{2.675, "#0.00", "2.68"}, RealCase{-2.675, "#0.00", "-2.68"},
                      RealCase{0.125, "#0.00", "0.13"}, RealCase{1.005, "#0.00", "1.01"},
                      RealCase{0.285, "#0.00", "0.29"}, RealCase{2.674999, "#0.00", "2.67"},
                      RealCase{0.1 + 0.2, "#0.00", "0.30"}, RealCase{9.995, "#0.00", "10.00"},
                      RealCase{99.995, "####.00", "100.00"}, RealCase{0.995, "####.00", "1.00"},
                      RealCase{0.4, "##", ""}, RealCase{-0.4, "##", ""},
                      RealCase{-0.004, "###0.00  ", "0.00  "}, RealCase{-1e-10, "####.00", ".00"},
                      RealCase{-0.0, "#0.00", "0.00"},
                      RealCase{1e20, "#0.00", "100000000000000000000.00"},
                      RealCase{1.23456789e-300, "#0.00", "0.00"}));

INSTANTIATE_TEST_SUITE_P(
    Notation, FormatRealTest,
    ::testing::Values(
        // Optional decimals drop trailing zeros, and the point with them.
        RealCase{1.0, "0.##", "1"}, RealCase{1.5, "0.##", "1.5"}, RealCase{1.256, "0.##", "1.26"},
        RealCase{1.0, "0.0#", "1.0"}, RealCase{1.25, "0.0#", "1.25"}, RealCase{0.0, "#.##", ""},
        // Grouping by three with a space.
        RealCase{1234567.891, "#,##0.00", "1 234 567.89"},
        RealCase{999.999, "#,##0.00", "1 000.00"}, RealCase{-1234.0, "#,##0.00", "-1 234.00"},
        RealCase{12.0, "#,##0.00", "12.00"}, RealCase{5.0, "0,000", "0 005"},
        // Literals stay where they stand; a '0' forces every integer position after it.
        RealCase{1.5, "0.00 m", "1.50 m"}, RealCase{-5.0, "x#0", "x-5"}, RealCase{5.0, "#0#", "05"},
        RealCase{12.5, ".00", "12.50"}, RealCase{std::nan(""), "#0.00", "NAN"},
        RealCase{kInf, "#0.00", "INF"}, RealCase{-kInf, "###0.00  ", "-INF"}));

// No picture: the shortest round-trip form, scientific outside the readable range.
INSTANTIATE_TEST_SUITE_P(
    NoPicture, FormatRealTest,
    ::testing::Values(RealCase{0.0, "", "0"}, RealCase{-0.0, "", "0"}, RealCase{100.0, "", "100"},
                      RealCase{-2.5, "", "-2.5"}, RealCase{0.1 + 0.2, "", "0.30000000000000004"},
                      RealCase{0.0001, "", "0.0001"}, RealCase{0.00001, "", "1E-5"},
                      RealCase{-1.5e-7, "", "-1.5E-7"},
                      RealCase{123456789012345.0, "", "123456789012345"},
                      RealCase{1e15, "", "1E15"}, RealCase{std::nan(""), "", "NAN"}));

struct IntegerCase {
    std::int32_t value;
    const char* picture;
    const char* expected;
};

std::ostream& operator<<(std::ostream& os, const IntegerCase& c) {
    return os << "formatNumber(" << c.value << ", \"" << c.picture << "\")";
}

class FormatIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(FormatIntegerTest, Formats) {
    const IntegerCase& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.picture), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Integers, FormatIntegerTest,
                         ::testing::Values(IntegerCase{0, "##", ""}, IntegerCase{7, "##", "7"},
                                           IntegerCase{42, "00000", "00042"},
                                           IntegerCase{-42, "00000", "-00042"},
                                           IntegerCase{5, "#0.00", "5.00"},
                                           IntegerCase{0, "####.00", ".00"},
                                           IntegerCase{3, "0.##", "3"}, IntegerCase{-12, "", "-12"},
                                           IntegerCase{INT32_MIN, "#0", "-2147483648"},
                                           IntegerCase{INT32_MAX, "#,##0", "2 147 483 647"}));

// Integer fields hold the same numbers as whole doubles; both paths must agree.
TEST(FormatNumberTest, IntegerAndRealAgreeOnWholeNumbers) {
    const char* pictures[] = {"#0.00",     "###0.00  ", "####.00", "##", "00000",
                              "####0.000", "#,##0",     "0.##",    ""};
    const std::int32_t values[] = {0, 1, -1, 9, 10, 999, -1000, 123456, INT32_MAX, INT32_MIN};
    for (const char* picture : pictures) {
        for (std::int32_t v : values) {
            EXPECT_EQ(formatNumber(v, picture), formatNumber(static_cast<double>(v), picture))
                << v << " with \"" << picture << "\"";
        }
    }
}

TEST(FormatValueTest, BlankShowsNothing) {
    EXPECT_EQ(formatValue(Value(), "#0.00"), "");
    EXPECT_EQ(formatValue(Value(), "00000"), "");
}

TEST(FormatValueTest, NumbersUseThePicture) {
    EXPECT_EQ(formatValue(Value::integer(42), "00000"), "00042");
    EXPECT_EQ(formatValue(Value::real(2.675), "#0.00"), "2.68");
    EXPECT_EQ(formatValue(Value::real(0.0), "##"), "");
}

TEST(FormatValueTest, TextIsDecodedAndIgnoresThePicture) {
    // "Αθ" in code page 1253.
    EXPECT_EQ(formatValue(Value::bytes("\xC1\xE8"), "#0.00"), "\xCE\x91\xCE\xB8");
    EXPECT_EQ(formatValue(Value::bytes(""), "##"), "");
}

}  // namespace
}  // namespace dravin
