#include "U_DigitalPhotoDlg.h"

#include "jpeg_codec.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A preset fills the size and locks it; the own size takes the fields; Save
// writes the file the name says (.jpg added) and reports it in the dialog.
TEST(DigitalPhotoDlgTest, SavesThePresetOrTheOwnSize)
{
    TBitmap32 photo;
    photo.SetStretchFilter(sfMitchell);
    photo.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
    const QTemporaryDir dir;
    TFaceModels models;
    TDigitalPhotoDlg dlg{models};
    dlg.Start(photo, std::nullopt, dir.filePath(QStringLiteral("me.jpg")));
    auto* presets = dlg.findChild<QComboBox*>(QStringLiteral("preset_cmb"));
    auto* width = dlg.findChild<QSpinBox*>(QStringLiteral("width_edt"));
    const int own = static_cast<int>(DigitalPresets().size());   // after every online form
    ASSERT_EQ(presets->count(), own + 1);

    presets->setCurrentIndex(1);   // us-visa
    EXPECT_EQ(dlg.ChosenSize(), DigitalPresets()[1].Size);
    EXPECT_FALSE(width->isEnabled());
    presets->setCurrentIndex(own);
    width->setValue(300);
    dlg.findChild<QSpinBox*>(QStringLiteral("height_edt"))->setValue(400);
    dlg.findChild<QSpinBox*>(QStringLiteral("maxkb_edt"))->setValue(20);
    dlg.findChild<QLineEdit*>(QStringLiteral("file_edt"))->setText(dir.filePath(QStringLiteral("own")));
    dlg.findChild<QPushButton*>(QStringLiteral("save_btn"))->click();

    QFile file(dir.filePath(QStringLiteral("own.jpg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray jpeg = file.readAll();
    EXPECT_LE(jpeg.size(), 20000);
    EXPECT_EQ(ReadJPEGHeader(jpeg).Width, 300);
    EXPECT_EQ(ReadJPEGHeader(jpeg).Height, 400);
    const QString status = dlg.findChild<QLabel*>(QStringLiteral("status_lbl"))->text();
    EXPECT_TRUE(status.startsWith("Saved \"own.jpg\": 300 x 400")) << status.toStdString();
    // The written picture's photo check follows, on a line of its own.
    EXPECT_TRUE(status.section(u'\n', 1).startsWith("Photo check: ")) << status.toStdString();
}
