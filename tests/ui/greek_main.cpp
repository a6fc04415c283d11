#include <gtest/gtest.h>

#include <QApplication>

// The tests of this program see the system an engineer in Greece has.
int main(int argc, char** argv) {
    qputenv("LC_ALL", "el_GR.UTF-8");
    qputenv("LANG", "el_GR.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
