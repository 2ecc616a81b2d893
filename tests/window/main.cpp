// A QApplication for the window, then the tests.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // CTest sets this too; listing the tests at build time runs without the test environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
