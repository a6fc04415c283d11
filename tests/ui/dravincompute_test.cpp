#include "entry/dravincompute.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <string>
#include <vector>

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

// Notices an event loop run inside a call, as every window of the program runs one, and
// closes what it shows, so that a call that opens windows ends and fails instead of hanging.
class WindowWatch {
public:
    WindowWatch() {
        QObject::connect(&mTimer, &QTimer::timeout, [this] {
            mRan = true;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->isVisible()) {
                    mShown.push_back(w->metaObject()->className());
                    w->close();
                }
            }
        });
        mTimer.start(0);
    }
    bool ran() const { return mRan; }
    std::string shown() const {
        std::string text;
        for (const auto& name : mShown) {
            text += name + " ";
        }
        return text;
    }

private:
    QTimer mTimer;
    bool mRan = false;
    std::vector<std::string> mShown;
};

// A wrong code ends the call at once: no window, no event loop, no cursor, the result false.
TEST_P(AccessCodeTest, WrongCodeReturnsAtOnce) {
    const CodeCase c = GetParam();
    unsigned char font[256] = {};
    font[0] = 255;  // the longest font name the host can pass
    std::memset(font + 1, 'F', 255);
    const int before = visibleWindows();
    std::uint8_t result = 1;
    bool ranEventLoop = false;
    std::string shown;
    {
        WindowWatch watch;
        result = DravinCompute(c.code1, c.code2, 0, "/nonexistent/DB2", "/nonexistent/MELETES",
                               "SCRATCH", font, c.embedded);
        ranEventLoop = watch.ran();
        shown = watch.shown();
    }

    EXPECT_FALSE(ranEventLoop) << "the call showed windows: " << shown;
    EXPECT_EQ(result, 0);
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
