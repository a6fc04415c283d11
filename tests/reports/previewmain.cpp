#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace {

// Widgets need a QApplication, made only when tests run so that listing them works
// without a display.
class WidgetEnvironment : public ::testing::Environment {
public:
    WidgetEnvironment(int& argc, char** argv) : mArgc(argc), mArgv(argv) {}
    void SetUp() override { mApp = std::make_unique<QApplication>(mArgc, mArgv); }
    void TearDown() override { mApp.reset(); }

private:
    int& mArgc;
    char** mArgv;
    std::unique_ptr<QApplication> mApp;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new WidgetEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
