// Test entry point for code that paints or shows widgets: QPainter, QPdfWriter,
// QPicture and widgets want an application object. The offscreen platform
// needs no display, also when the tests are listed outside scripts/test.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
