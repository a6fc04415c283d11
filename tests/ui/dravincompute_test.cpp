#include "entry/dravincompute.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <cstring>

namespace dravin {
namespace {

struct CodeCase {
    const char* name;
    std::int32_t code1;
    std::int32_t code2;
    std::uint8_t embedded;
};

class AccessCodeTest : public ::testing::TestWithParam<CodeCase> {};

int visibleWindows() {
    int n = 0;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        n += w->isVisible() ? 1 : 0;
    }
    return n;
}

// A wrong code ends the call at once: no window, no cursor, the result false.
TEST_P(AccessCodeTest, WrongCodeReturnsAtOnce) {
    const CodeCase c = GetParam();
    unsigned char font[256] = {};
    font[0] = 255;  // the longest font name the host can pass
    std::memset(font + 1, 'F', 255);
    const int before = visibleWindows();

    EXPECT_EQ(DravinCompute(c.code1, c.code2, 0, "/nonexistent/DB2", "/nonexistent/MELETES",
                            "SCRATCH", font, c.embedded),
              0);

    EXPECT_EQ(visibleWindows(), before);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Codes, AccessCodeTest,
                         ::testing::Values(CodeCase{"Reversed", 27406, 51873, 0},
                                           CodeCase{"ReversedEmbedded", 27406, 51873, 1},
                                           CodeCase{"Zero", 0, 0, 0},
                                           CodeCase{"SecondMissing", 51873, 0, 1},
                                           CodeCase{"FirstMissing", 0, 27406, 0},
                                           CodeCase{"SecondOffByOne", 51873, 27407, 0},
                                           CodeCase{"FirstOffByOne", 51872, 27406, 1},
                                           CodeCase{"Negated", -51873, -27406, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DravinComputeTest, MissingTextsAreNoFault) {
    EXPECT_EQ(DravinCompute(1, 2, 0, nullptr, nullptr, nullptr, nullptr, 1), 0);
}

}  // namespace
}  // namespace dravin
