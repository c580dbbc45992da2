// Test entry point for code that paints: QPainter, QPdfWriter and QPicture
// want a QGuiApplication. The offscreen platform needs no display, also when
// the build lists the tests outside scripts/test.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
