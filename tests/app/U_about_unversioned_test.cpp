// This test program carries no version block: the About window says so
// where the version would stand.
#include "U_about.h"

#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

TEST(TAboutDlg, ProgramWithoutVersionBlock)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorlo"));
    TAboutDlg AboutDlg;
    AboutDlg.UpdateTexts();
    EXPECT_EQ(AboutDlg.windowTitle(), QStringLiteral("About Quorlo"));
    EXPECT_EQ(AboutDlg.findChild<QLabel*>(QStringLiteral("version_lbl"))->text(),
              QStringLiteral("Version : Unable to retrieve file version info"));
}
