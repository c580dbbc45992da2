#include "U_DigitalPhotoDlg.h"

#include "jpeg_codec.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

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

// The dialog says when the size enlarges the photo's part beyond its pixels,
// asks before it replaces a file, and shows the file it wrote.
TEST(DigitalPhotoDlgTest, SaysWhenItEnlargesAsksBeforeReplacingAndShowsTheFile)
{
    TBitmap32 photo;
    photo.SetStretchFilter(sfMitchell);
    photo.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));   // 512 x 600
    const QTemporaryDir dir;
    TFaceModels models;
    TDigitalPhotoDlg dlg{models};
    const QString name = dir.filePath(QStringLiteral("me.jpg"));
    dlg.Start(photo, std::nullopt, name);
    auto* presets = dlg.findChild<QComboBox*>(QStringLiteral("preset_cmb"));
    auto* note = dlg.findChild<QLabel*>(QStringLiteral("enlarge_lbl"));
    presets->setCurrentIndex(0);   // us-passport, 1200 x 1200
    EXPECT_EQ(note->text(), "Only 512 x 512 pixels of the photo go into it: they are enlarged to 1200 x 1200, "
                            "which adds no detail.");
    presets->setCurrentIndex(presets->count() - 1);   // an own size
    dlg.findChild<QSpinBox*>(QStringLiteral("width_edt"))->setValue(300);
    dlg.findChild<QSpinBox*>(QStringLiteral("height_edt"))->setValue(400);
    EXPECT_TRUE(note->text().isEmpty()) << "450 x 600 pixels reduced";

    QFile existing(name);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace);
        QString asked;
        QTimer::singleShot(0, &dlg, [&] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(question, nullptr);
            asked = question->text();
            question->findChild<QPushButton*>(replace ? "yes_btn" : "no_btn")->click();
        });
        EXPECT_EQ(dlg.SaveChosen(), replace);
        EXPECT_EQ(asked, "\"me.jpg\" exists already. Replace it?");
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll() == "mine", !replace);
        EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("written_img"))->pixmap().isNull(), !replace);
    }
}
