// gtest entry for every test executable: a QApplication on the offscreen
// platform (unless the caller chose one), with the C locale pinned.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
