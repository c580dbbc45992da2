#include "app_fixture.h"

#include "U_CheckDlg.h"
#include "messages.h"
#include "application_events.h"
#include "string_list.h"
#include "image_view.h"
#include "sheet_printer.h"
#include "ui_U_MainDlg.h"
#include "work_progress.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <QUrl>

namespace {

bool allWhite(const TBitmap32& page)
{
    for (int y = 0; y < page.Height(); ++y)
        for (int x = 0; x < page.Width(); ++x)
            if (page.Pixel(x, y) != clWhite32)
                return false;
    return true;
}

}  // namespace

TEST_F(AppTest, FirstActivationSetsUpTheWindow)
{
    start();
    EXPECT_EQ(main->windowTitle(), "Quorlo v1.0.0.0");
    ASSERT_NE(main->SheetPrinter(), nullptr);
    EXPECT_EQ(main->StatusText(), "Test Printer");
    EXPECT_EQ(main->img().Bitmap().StretchFilter(), sfMitchell);
    EXPECT_EQ(main->Form().num_trk->maximum(), 30);
    EXPECT_EQ(main->Form().num_trk->value(), 30);
    EXPECT_EQ(main->Form().dynnum_lbl->text(), "30");

    QSettings machine(dir.filePath("machine/Varnel.conf"), QSettings::IniFormat);
    EXPECT_EQ(machine.value("Quorlo").toString(), QCoreApplication::applicationFilePath());

    // Activations after the first change nothing.
    main->Form().num_trk->setValue(3);
    TApplicationEvents::Activate();
    EXPECT_EQ(main->Form().num_trk->value(), 3);
}

TEST_F(AppTest, FormatChangeFollowsTheMaximumOnlyFromTheMaximum)
{
    start();
    QSlider* trk = main->Form().num_trk;
    main->Form().format_cmb->setCurrentIndex(1);   // 2 x 2 in.: 600 x 600 cells
    EXPECT_EQ(main->SheetPrinter()->PhotoWidthMm(), 50.8);
    EXPECT_EQ(main->SheetPrinter()->Cell().Width(), 600);
    EXPECT_EQ(trk->maximum(), 15);
    EXPECT_EQ(trk->value(), 15) << "at the maximum: follows it";

    trk->setValue(7);
    main->Form().format_cmb->setCurrentIndex(2);   // 1.8 x 2.2 in.: 540 x 660
    EXPECT_EQ(main->SheetPrinter()->PhotoHeightMm(), 55.88);
    EXPECT_EQ(trk->maximum(), 16);
    EXPECT_EQ(trk->value(), 7) << "below the maximum: stays";

    trk->setValue(19);
    printer->SetCaps(TDeviceCap::HorzRes, 1200);    // 2 columns
    main->Form().format_cmb->setCurrentIndex(0);
    EXPECT_EQ(trk->maximum(), 2 * 6);
    EXPECT_EQ(trk->value(), 12) << "lowered to a smaller maximum";
    EXPECT_EQ(main->Form().dynnum_lbl->text(), "12");
}

TEST_F(AppTest, NoCapacityLeavesTheCountLabelEmpty)
{
    printer->SetCaps(TDeviceCap::HorzRes, 400);   // narrower than one cell
    start();
    EXPECT_EQ(main->Form().num_trk->maximum(), 0);
    EXPECT_EQ(main->Form().dynnum_lbl->text(), "");
}

TEST_F(AppTest, PrintNowWithoutAPhotoShowsNoPreview)
{
    start();
    bool previewShown = false;
    onNextModal([&](QDialog& dialog) {
        previewShown = true;
        dialog.reject();
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(previewShown);
    EXPECT_TRUE(printer->PrintedPages().empty());
}

TEST_F(AppTest, PrintRunPreviewsThenPrintsOnConfirmation)
{
    start();
    main->LoadPhoto(writePhoto("face.jpg", 300, 400));
    ASSERT_EQ(main->img().Bitmap().Width(), 300);
    main->Form().num_trk->setValue(2);

    bool pageWasRight = false;
    onNextModal([&](QDialog& dialog) {
        const TBitmap32& page = preview->Page();
        pageWasRight = page.Width() == kPageWidth && page.Height() == kPageHeight
                       && page.Pixel(10, 10) != clWhite32          // first copy
                       && page.Pixel(413 + 83 + 10, 10) != clWhite32   // second copy
                       && page.Pixel(2 * (413 + 83) + 10, 10) == clWhite32;
        dialog.reject();   // closed with the title-bar button: nothing printed
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    EXPECT_TRUE(pageWasRight);
    EXPECT_TRUE(printer->PrintedPages().empty());

    onNextModal([&](QDialog&) {
        QTest::mouseClick(preview->findChild<QPushButton*>("print_btn"), Qt::LeftButton);
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    ASSERT_EQ(printer->PrintedPages().size(), 1u);
    const QImage& paper = printer->PrintedPages().front();
    EXPECT_EQ(paper.pixel(10, 10), preview->Page().Pixel(10, 10) | 0xFF000000u);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(AppTest, CountZeroPreviewsABlankPage)
{
    start();
    main->LoadPhoto(writePhoto("face.jpg", 300, 400));
    main->Form().num_trk->setValue(0);
    bool blank = false;
    onNextModal([&](QDialog& dialog) {
        blank = allWhite(preview->Page());
        dialog.accept();
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    EXPECT_TRUE(blank);
    ASSERT_EQ(printer->PrintedPages().size(), 1u) << "confirming prints the blank page";
}

TEST_F(AppTest, ALoadErrorNamesTheFileAndThePhotoStays)
{
    start();
    main->LoadPhoto(writePhoto("face.jpg", 30, 40));
    QImage(8, 8, QImage::Format_RGB32).save(dir.filePath("fake.jpg"), "PNG");
    QFile(dir.filePath("empty.jpg")).open(QIODevice::WriteOnly);
    {
        QFile damaged(dir.filePath("damaged.jpg"));
        damaged.open(QIODevice::WriteOnly);
        damaged.write("\xFF\xD8\xFF\xE0 not much of a photo");
    }
    QFile(dir.filePath("photo.gif")).open(QIODevice::WriteOnly);
    QFile::copy(dir.filePath("face.jpg"), dir.filePath("photo.txt"));
    const struct {
        const char* Name;
        const char* Message;
    } cases[] = {
        {"fake.jpg", "Cannot open \"fake.jpg\": the file does not hold the kind of photo its name says; JPEG (.jpg, "
                     ".jpeg), PNG (.png) and HEIC (.heic, .heif) photos can be opened (#53)."},
        {"empty.jpg", "Cannot open \"empty.jpg\": the file is empty."},
        {"damaged.jpg", "Cannot open \"damaged.jpg\": the JPEG photo is damaged or cannot be read (#"},
        {"missing.jpg", "Cannot open \"missing.jpg\": the file cannot be read (the file does not exist)."},
        {"photo.txt", "Cannot open \"photo.txt\": only JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, .heif) photos "
                      "can be opened (.txt)."},
    };
    for (const auto& c : cases) {
        errors.clear();
        main->LoadPhoto(dir.filePath(c.Name));
        ASSERT_EQ(errors.size(), 1) << c.Name;
        EXPECT_TRUE(errors.front().startsWith(QString::fromUtf8(c.Message))) << errors.front().toStdString();
        EXPECT_EQ(main->img().Bitmap().Width(), 30) << c.Name << ": the photo stays";
    }
}

TEST_F(AppTest, AForgedPhotoIsRefusedAndTheWaitCursorIsGoneBeforeTheMessage)
{
    start();
    main->LoadPhoto(writePhoto("face.jpg", 30, 40));
    // A real 16 x 16 file whose header claims 16384 x 16384 pixels.
    QFile small(writePhoto("small.jpg", 16, 16));
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    QByteArray forged = small.readAll();
    const qsizetype sof = forged.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    forged.replace(sof + 5, 4, QByteArray("\x40\x00\x40\x00", 4));
    QFile file(dir.filePath("forged.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(forged);
    file.close();

    bool busyDuringMessage = true;
    TErrorDisplay previous = SetErrorDisplay([&](QWidget*, const QString& message) {
        errors << message;
        busyDuringMessage = QGuiApplication::overrideCursor() != nullptr;
    });
    main->LoadPhoto(file.fileName());
    dropUrls(*main, {QUrl::fromLocalFile(file.fileName())});
    SetErrorDisplay(std::move(previous));

    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors.front(), "Cannot open \"forged.jpg\": the JPEG photo is damaged or cannot be read.");
    EXPECT_FALSE(busyDuringMessage);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(main->img().Bitmap().Width(), 30);
}

TEST_F(AppTest, DroppedFilesLoadOnlyAFirstPhotoName)
{
    start();
    const QString upper = writePhoto("PHOTO.JPG", 20, 30);
    const QString png = dir.filePath("picture.txt");
    QImage(4, 4, QImage::Format_RGB32).save(png, "PNG");

    dropUrls(*main, {QUrl::fromLocalFile(png)});
    EXPECT_EQ(main->img().Bitmap().Width(), 0) << ".txt is not taken";
    EXPECT_EQ(main->DroppedFiles()->Count(), 0) << "the list is emptied";

    dropUrls(*main, {QUrl::fromLocalFile(upper)});
    EXPECT_EQ(main->img().Bitmap().Width(), 20) << ".JPG is taken";

    const QString second = writePhoto("second.jpg", 50, 60);
    dropUrls(*main, {QUrl::fromLocalFile(png), QUrl::fromLocalFile(second),
                     QUrl::fromLocalFile(second)});
    EXPECT_EQ(main->img().Bitmap().Width(), 20) << "only the first of three counts";
    EXPECT_EQ(main->DroppedFiles()->Count(), 0);

    const QString broken = dir.filePath("broken.jpg");
    QFile f(broken);
    f.open(QIODevice::WriteOnly);
    f.write("not a jpeg");
    f.close();
    errors.clear();
    dropUrls(*main, {QUrl::fromLocalFile(broken)});
    EXPECT_EQ(errors.size(), 1) << "a load error is shown";
    EXPECT_EQ(main->DroppedFiles()->Count(), 0);
}

TEST_F(AppTest, DragOverOffersCopyOnlyWhenTheSourceDoes)
{
    start();
    QMimeData data;
    data.setText("just text");
    // The toolkit routes moves and drops to the window that took the enter.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(main.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent copyable(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
    QApplication::sendEvent(main.get(), &copyable);
    EXPECT_TRUE(copyable.isAccepted());
    EXPECT_EQ(copyable.dropAction(), Qt::CopyAction);

    QDragMoveEvent moveOnly(QPoint(5, 5), Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
    QApplication::sendEvent(main.get(), &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
    EXPECT_EQ(moveOnly.dropAction(), Qt::IgnoreAction);

    // Dropping text does nothing.
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.get(), &drop);
    EXPECT_EQ(main->DroppedFiles()->Count(), 0);
    EXPECT_EQ(main->img().Bitmap().Width(), 0);
}

TEST_F(AppTest, PrinterSetupConfirmedOrCancelled)
{
    start();
    main->Form().num_trk->setValue(4);
    main->RunPrinterSetup = [](QWidget*) { return false; };
    printer->SetName("Renamed");
    main->opt_btnClick();
    EXPECT_EQ(main->Form().num_trk->value(), 4) << "cancelled: only the status text";
    EXPECT_EQ(main->StatusText(), "Renamed");

    main->RunPrinterSetup = [](QWidget*) {
        SetPrinter(std::make_unique<TTestPrinter>(1200, 1700, 300, 300));
        return true;
    };
    main->opt_btnClick();
    EXPECT_EQ(main->Form().num_trk->maximum(), 2 * 3);
    EXPECT_EQ(main->Form().num_trk->value(), 6) << "confirmed: count to the full page";
    EXPECT_EQ(main->StatusText(), "Test Printer");
}

TEST_F(AppTest, SaveAsImageExtendsTheNameAndKeepsThePreviewOpen)
{
    EXPECT_EQ(JpegSaveName("/tmp/photo"), "/tmp/photo.jpg");
    EXPECT_EQ(JpegSaveName("/tmp/sheet.png"), "/tmp/sheet.png.jpg");
    EXPECT_EQ(JpegSaveName("/tmp/PAGE.JPEG"), "/tmp/PAGE.JPEG");
    EXPECT_EQ(JpegSaveName("/tmp/my.dir/page"), "/tmp/my.dir/page.jpg");

    start();
    main->LoadPhoto(writePhoto("face.jpg", 300, 400));
    const QString target = dir.filePath("sheet");
    bool saved = false;
    bool stillOpen = false;
    QString offered;
    QString said;
    onNextModal([&](QDialog& previewWindow) {
        QFileDialog& jod = preview->JOD();
        jod.setOption(QFileDialog::DontUseNativeDialog);
        // The save dialog is modal on top of the preview: answer it next.
        onNextModal([&](QDialog& fileDialog) {
            // Typed into the name field, as a user does, over the name offered.
            auto* name = fileDialog.findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            offered = name->text();
            name->setText(target);
            fileDialog.accept();
        });
        preview->saveimg_btnClick();
        saved = QFile::exists(target + ".jpg");
        stillOpen = previewWindow.isVisible();
        said = previewWindow.findChild<QLabel*>("status_lbl")->text();
        previewWindow.reject();
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(offered, "face-sheet.jpg") << "named after the photo";
    EXPECT_EQ(said, "Saved as " + QDir::toNativeSeparators(target) + ".jpg.") << "says where";
    EXPECT_EQ(preview->LastSaveName(), target + ".jpg") << "offered next time";
    TBitmap32 back;
    back.LoadFromFile(target + ".jpg");
    EXPECT_EQ(back.Width(), kPageWidth);
    EXPECT_EQ(back.Height(), kPageHeight);
}

TEST_F(AppTest, LongWorkShowsABusyCursorAndProgressWhileTheWindowRepaints)
{
    start();
    // Paint events reaching the main window while the work runs.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    main->installEventFilter(&counter);
    bool cursorWasBusy = false;
    bool dialogShown = false;
    QString label;
    {
        TWorkProgress progress(main.get());
        progress.Stage(QStringLiteral("Building the page..."));
        TProgress step = progress.Reporter();
        for (int done = 1; done <= 12; ++done) {
            QThread::msleep(60);   // a slice of long work
            main->update();
            step(done, 30);
        }
        cursorWasBusy = QApplication::overrideCursor()
            && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        dialogShown = progress.Dialog().isVisible();
        label = progress.Dialog().labelText();
        if (const QByteArray folder = qgetenv("QRL_SCREENSHOTS"); !folder.isEmpty())
            QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(folder) + "/progress.png");
        EXPECT_EQ(progress.Dialog().value(), 12);
    }
    EXPECT_TRUE(cursorWasBusy);
    EXPECT_TRUE(dialogShown) << "work beyond the threshold shows its progress";
    EXPECT_EQ(label, QStringLiteral("Building the page..."));
    EXPECT_GT(counter.paints, 0) << "the window repainted during the work";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor goes with the work";
    EXPECT_EQ(main->findChild<QProgressDialog*>(), nullptr);
}

TEST_F(AppTest, ThePreviewOfAWindowInTheScreensCornerStaysOnTheScreen)
{
    start();
    main->move(0, 0);
    main->LoadPhoto(writePhoto("photo.jpg", 30, 40));
    QRect shown;
    onNextModal([&](QDialog& dialog) {
        shown = dialog.geometry();
        dialog.reject();
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    const QRect area = main->screen()->availableGeometry();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_GE(shown.left(), area.left());
    EXPECT_GE(shown.top(), area.top());
    if (shown.width() <= area.width()) {
        EXPECT_LE(shown.right(), area.right());
    }
    if (shown.height() <= area.height()) {
        EXPECT_LE(shown.bottom(), area.bottom());
    }
}

TEST_F(AppTest, TheCheckSummaryInTheStatusLineOpensEveryMeasure)
{
    TCheckDlg check(main.get());
    main->SetCheckDialog(&check);
    start();
    main->LoadPhoto(QStringLiteral(QRL_TEST_PORTRAIT));
    ASSERT_FALSE(main->Measures().empty());
    QLabel* status = nullptr;
    for (QLabel* label : main->statusBar()->findChildren<QLabel*>())
        if (label->text().contains(QLatin1String("<a href")))
            status = label;
    ASSERT_NE(status, nullptr) << "the summary is a link";
    EXPECT_TRUE(status->textInteractionFlags() & Qt::LinksAccessibleByKeyboard);
    qsizetype rows = 0;
    onNextModal([&](QDialog& dialog) {
        rows = dialog.findChild<QListWidget*>("check_lst")->count();
        dialog.accept();
    });
    emit status->linkActivated(QStringLiteral("check"));
    EXPECT_EQ(rows, static_cast<qsizetype>(main->Measures().size()));
}

// A photo file cut short is used only when the user says so; the default
// keeps the framed photo that was there.
TEST_F(AppTest, APhotoCutShortIsUsedOnlyWhenTheUserSaysSo)
{
    start();
    main->LoadPhoto(writePhoto("whole.jpg", 300, 400));
    main->RunFrameDialog = [](TBitmap32&, const THeadRule&, std::optional<TFrame>& frame, std::optional<TColor32>&,
                              double&) {
        frame = TFrame{10, 10, 140, 180};
        return true;
    };
    main->frame_btnClick();
    QImage big(800, 1000, QImage::Format_RGB32);
    big.fill(QColor(200, 30, 30));
    const QString cut = dir.filePath("cut.jpg");
    ASSERT_TRUE(big.save(cut, "JPEG", 95));
    QFile file(cut);
    ASSERT_TRUE(file.resize(file.size() / 2));

    for (const bool use : {false, true}) {
        SCOPED_TRACE(use);
        QString asked;
        onNextModal([&](QDialog& question) {
            asked = static_cast<QMessageBox&>(question).text();
            question.findChild<QPushButton*>(use ? "yes_btn" : "no_btn")->click();
        });
        main->LoadPhoto(cut);
        EXPECT_TRUE(asked.contains(MessageText(Msg::kPhotoEndsEarly)));
        EXPECT_EQ(main->img().Bitmap().Width(), use ? 800 : 300);
        EXPECT_EQ(main->Frame().has_value(), !use) << "the frame goes with its photo";
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}
