// What a desktop user expects of the main window: a photo from the command
// line, keyboard shortcuts and menu mnemonics, file dialogs that start in
// the folders last used.
#include "app_fixture.h"

#include "C_LangList.h"
#include "image_view.h"
#include "ui_U_MainDlg.h"
#include "desktop_env.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <vector>

class DesktopHabitsTest : public AppTest {
protected:
    // The folder a file dialog shows when it opens from `open`; the dialog is
    // cancelled, or accepted with `name` typed in when one is given.
    QString folderOfNextDialog(const std::function<void()>& open, const QString& name = {})
    {
        QString folder;
        onNextModal([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files) {
                ADD_FAILURE() << "not a file dialog: " << dialog.windowTitle().toStdString();
                dialog.reject();
                return;
            }
            folder = files->directory().absolutePath();
            if (name.isEmpty()) {
                files->reject();
                return;
            }
            files->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            static_cast<QDialog*>(files)->accept();
        });
        open();
        return folder;
    }

    // A key pressed on the main window as the user does: the window active.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        // A dialog that closed may leave the toolkit's focus on its own window.
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        QTest::keyClick(main.get(), key, modifiers);
    }

    QString folder(const QString& name)
    {
        QDir(dir.path()).mkpath(name);
        return dir.filePath(name);
    }
};

TEST_F(DesktopHabitsTest, ThePhotoFromTheCommandLineLoadsAtStart)
{
    main->SetStartPhoto(writePhoto("face.jpg", 30, 40));
    start();
    EXPECT_EQ(main->img().Bitmap().Width(), 30);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(DesktopHabitsTest, ABadPhotoFromTheCommandLineIsReportedAsTheOpenDialogReportsIt)
{
    const QString png = dir.filePath("fake.jpg");
    QImage(8, 8, QImage::Format_RGB32).save(png, "PNG");
    main->SetStartPhoto(png);
    start();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(main->img().Bitmap().Width(), 0);

    main->JOD().setOption(QFileDialog::DontUseNativeDialog);
    folderOfNextDialog([&] { main->open_btnClick(); }, png);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[1], errors[0]);
}

TEST_F(DesktopHabitsTest, ShortcutsAndMenuMnemonics)
{
    start();
    main->JOD().setOption(QFileDialog::DontUseNativeDialog);

    QDialog* opened = nullptr;
    onNextModal([&](QDialog& dialog) { opened = &dialog; dialog.reject(); });
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opened, &main->JOD()) << "Ctrl+O: the open dialog";

    main->LoadPhoto(writePhoto("face.jpg", 30, 40));
    opened = nullptr;
    onNextModal([&](QDialog& dialog) { opened = &dialog; dialog.reject(); });
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(opened, preview.get()) << "Ctrl+P: print now, the preview first";

    // The program's folder as the build leaves it, the guide beside quorlo.
    main->langue->SetProgramDir(QStringLiteral(QRL_LANG_OUTPUT_DIR));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    press(Qt::Key_F1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(catcher.Opened, QStringList{QUrl::fromLocalFile(QStringLiteral(QRL_LANG_OUTPUT_DIR "/guide.html")).toString()})
        << "F1: the user guide";

    const std::pair<Qt::Key, QMenu*> menus[] = {
        {Qt::Key_F, main->Form().File1}, {Qt::Key_O, main->Form().Printer1}};
    for (const auto& [key, menu] : menus) {
        press(key, Qt::AltModifier);
        EXPECT_TRUE(menu->isVisible()) << menu->objectName().toStdString();
        menu->hide();
    }

    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(main->isVisible()) << "Ctrl+Q: exit";
}

TEST_F(DesktopHabitsTest, OpenDialogStartsInPicturesThenWhereTheLastPhotoWas)
{
    const QString pictures = folder("Pictures");
    QFile dirs(dir.filePath("user/user-dirs.dirs"));
    QDir().mkpath(dir.filePath("user"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_PICTURES_DIR=\"" + QFile::encodeName(pictures) + "\"\n");
    dirs.close();
    start();
    main->JOD().setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(folderOfNextDialog([&] { main->open_btnClick(); }), pictures) << "the first time";

    folder("album");
    main->LoadPhoto(writePhoto("album/face.jpg", 30, 40));
    EXPECT_EQ(folderOfNextDialog([&] { main->open_btnClick(); }), dir.filePath("album"));

    TMainDlg nextRun;
    nextRun.JOD().setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(folderOfNextDialog([&] { nextRun.open_btnClick(); }), dir.filePath("album"))
        << "remembered in the settings";
}

TEST_F(DesktopHabitsTest, SaveDialogStartsBesideThePhotoThenWhereTheLastPageWent)
{
    start();
    folder("album");
    main->LoadPhoto(writePhoto("album/face.jpg", 30, 40));
    preview->Page().SetSize(20, 20);
    preview->Page().Clear(clWhite32);
    preview->JOD().setOption(QFileDialog::DontUseNativeDialog);
    const QString pages = folder("pages");
    EXPECT_EQ(folderOfNextDialog([&] { preview->saveimg_btnClick(); }, pages + "/sheet"),
              dir.filePath("album"));
    ASSERT_TRUE(QFile::exists(pages + "/sheet.jpg"));

    Tpreviewdlg nextRun;
    nextRun.SetPhotoFile(dir.filePath("album/face.jpg"));
    nextRun.JOD().setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(folderOfNextDialog([&] { nextRun.saveimg_btnClick(); }), pages)
        << "remembered in the settings";
}


TEST_F(DesktopHabitsTest, TabGoesThroughTheControlsTopDown)
{
    const std::vector<QWidget*> expected = {
        main->Form().frame_btn, main->Form().JvBitBtn1, main->Form().format_cmb,
        main->Form().num_trk,   main->Form().translate_btn, main->Form().opt_btn,
        main->Form().print_btn, main->Form().sheet_lst, main->Form().add_btn,
        main->Form().remove_btn, main->Form().clear_btn};
    std::vector<QWidget*> visited;
    QWidget* w = expected.front();
    do {
        if (std::find(expected.begin(), expected.end(), w) != expected.end())
            visited.push_back(w);
        w = w->nextInFocusChain();
    } while (w != expected.front());
    EXPECT_EQ(visited, expected);
}
