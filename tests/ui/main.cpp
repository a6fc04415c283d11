#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Listing the tests at build time runs this too, without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
