#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>

namespace {

// The application is made only when tests run: listing the tests at build time must
// work without a display, and fonts need it.
class GuiEnvironment : public ::testing::Environment {
public:
    GuiEnvironment(int& argc, char** argv) : mArgc(argc), mArgv(argv) {}
    void SetUp() override { mApp = std::make_unique<QGuiApplication>(mArgc, mArgv); }
    void TearDown() override { mApp.reset(); }

private:
    int& mArgc;
    char** mArgv;
    std::unique_ptr<QGuiApplication> mApp;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
