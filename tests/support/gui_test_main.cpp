// Test entry for drawing tests: a QGuiApplication on the offscreen platform,
// with the program's font substitutes installed.
#include "render/fonts.hpp"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();
    return RUN_ALL_TESTS();
}
