// "Add to sheet": photos kept in the main window's list share the pages of
// the preview, the saved files and the print job.
#include "app_fixture.h"

#include "messages.h"
#include "cut_marks.h"
#include "image_view.h"
#include "pdf_printer.h"
#include "pdf_tools.h"
#include "sheet_printer.h"
#include "sheet_settings.h"
#include "ui_U_MainDlg.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <vector>

namespace {

const QColor kRed(200, 30, 30);
const QColor kGreen(30, 160, 60);
const QColor kBlue(30, 60, 200);
const QColor kYellow(230, 200, 30);

bool near(QRgb a, const QColor& b, int tolerance = 40)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance
           && std::abs(qBlue(a) - b.blue()) <= tolerance;
}

QStringList lineTexts(TMainDlg& main)
{
    QStringList texts;
    for (int i = 0; i < main.Form().sheet_lst->count(); ++i)
        texts << main.Form().sheet_lst->item(i)->text();
    return texts;
}

class SheetListTest : public AppTest {
protected:
    // Loads a photo of one colour, sets its count, and adds it to the list.
    void addPhoto(const QString& name, const QColor& colour, int count)
    {
        main->LoadPhoto(writePhoto(name, 300, 400, colour));
        main->Form().num_trk->setValue(count);
        QTest::mouseClick(main->Form().add_btn, Qt::LeftButton);
    }

    // The colour in the middle of the photo of place `index` on `page`.
    QRgb atPlace(const QImage& page, int index)
    {
        const QPoint at = main->SheetPrinter()->Grid().Place(index).topLeft();
        return page.pixel(at.x() + 100, at.y() + 250);
    }

    // Runs Print Now; `inPreview` acts in the open preview, whose page it
    // gets, and closes it.
    void printNow(const std::function<void()>& inPreview)
    {
        onNextModal([&](QDialog&) { inPreview(); });
        QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    }

    QImage previewPage() { return preview->Page().Handle()->copy(); }
};

}  // namespace

TEST_F(SheetListTest, TwoPhotosFillTheFollowingPlacesOverTwoPagesInOneJob)
{
    start();
    addPhoto("red.jpg", kRed, 20);
    EXPECT_EQ(lineTexts(*main), QStringList{QString::fromUtf8("red.jpg \u00D7 20")});
    EXPECT_TRUE(main->img().Bitmap().Empty()) << "the view is free for the next photo";
    // The current photo comes last: 15 copies after the 20, 35 of 30 places.
    main->LoadPhoto(writePhoto("blue.jpg", 300, 400, kBlue));
    main->Form().num_trk->setValue(15);

    const QString saveAs = dir.filePath("family.jpg");
    std::vector<QImage> pages;
    QString pageLabel;
    printNow([&] {
        pages.push_back(previewPage());
        pageLabel = preview->findChild<QLabel*>("page_lbl")->text();
        QTest::mouseClick(preview->findChild<QToolButton*>("next_btn"), Qt::LeftButton);
        pages.push_back(previewPage());
        preview->JOD().setOption(QFileDialog::DontUseNativeDialog);
        onNextModal([&](QDialog& fileDialog) {
            fileDialog.findChild<QLineEdit*>("fileNameEdit")->setText(saveAs);
            fileDialog.accept();
        });
        preview->saveimg_btnClick();
        QTest::mouseClick(preview->findChild<QPushButton*>("print_btn"), Qt::LeftButton);
    });
    EXPECT_EQ(pageLabel, "Page 1 of 2");
    ASSERT_EQ(pages.size(), 2u);
    struct Place {
        int page;
        int index;
        QColor colour;
    };
    const QColor white(255, 255, 255);
    for (const Place& p : std::vector<Place>{{0, 0, kRed}, {0, 19, kRed}, {0, 20, kBlue}, {0, 29, kBlue},
                                             {1, 0, kBlue}, {1, 4, kBlue}, {1, 5, white}}) {
        EXPECT_TRUE(near(atPlace(pages[static_cast<std::size_t>(p.page)], p.index), p.colour))
            << "page " << p.page + 1 << ", place " << p.index;
        EXPECT_TRUE(near(atPlace(printer->PrintedPages().at(static_cast<std::size_t>(p.page)), p.index), p.colour))
            << "printed page " << p.page + 1 << ", place " << p.index;
    }
    EXPECT_EQ(printer->PrintedJobs(), std::vector<int>{2}) << "one job of both pages";

    // Each page a file of its own, which the status line names.
    for (const char* name : {"family-1.jpg", "family-2.jpg"}) {
        TBitmap32 saved;
        saved.LoadFromFile(dir.filePath(name));
        EXPECT_EQ(saved.Width(), kPageWidth) << name;
    }
    EXPECT_EQ(main->StatusText(), "Saved as family-1.jpg, family-2.jpg.");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(SheetListTest, RemovedAndClearedLinesLeaveTheSheet)
{
    start();
    addPhoto("red.jpg", kRed, 1);
    addPhoto("green.jpg", kGreen, 1);
    addPhoto("blue.jpg", kBlue, 1);
    main->Form().sheet_lst->setCurrentRow(1);
    QTest::mouseClick(main->Form().remove_btn, Qt::LeftButton);
    EXPECT_EQ(lineTexts(*main), (QStringList{QString::fromUtf8("red.jpg \u00D7 1"), QString::fromUtf8("blue.jpg \u00D7 1")}));

    // No photo in the view: the list alone, on one page without page buttons.
    QImage page;
    bool pageButtons = true;
    printNow([&] {
        page = previewPage();
        pageButtons = preview->findChild<QToolButton*>("next_btn")->isVisible();
        preview->reject();
    });
    EXPECT_FALSE(pageButtons);
    EXPECT_TRUE(near(atPlace(page, 0), kRed));
    EXPECT_TRUE(near(atPlace(page, 1), kBlue));
    EXPECT_TRUE(near(atPlace(page, 2), Qt::white));

    QTest::mouseClick(main->Form().clear_btn, Qt::LeftButton);
    EXPECT_TRUE(lineTexts(*main).isEmpty());
    EXPECT_EQ(main->SheetLines().Count(), 0);
    bool previewShown = false;
    printNow([&] {
        previewShown = true;
        preview->reject();
    });
    EXPECT_FALSE(previewShown) << "nothing left to print";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(SheetListTest, ADoubleClickedLineIsFramedAgainAndOnlyRemoveOrDeleteTakesItOff)
{
    start();
    addPhoto("red.jpg", kRed, 3);
    addPhoto("green.jpg", kGreen, 2);
    main->LoadPhoto(writePhoto("blue.jpg", 300, 400, kBlue));
    QListWidget* list = main->Form().sheet_lst;
    const QStringList both = {QString::fromUtf8("red.jpg \u00D7 3"), QString::fromUtf8("green.jpg \u00D7 2")};
    const auto doubleClick = [&](int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };

    // The framing window gets the line's photo; OK frames the line in its place.
    QRgb shown = 0;
    bool ok = true;
    main->RunFrameDialog = [&](TBitmap32& photo, const THeadRule&, std::optional<TFrame>& frame,
                               std::optional<TColor32>&, double&) {
        shown = photo.Pixel(150, 200);
        frame = TFrame{10, 10, 210, 270};
        return ok;
    };
    doubleClick(1);
    EXPECT_TRUE(near(shown, kGreen));
    EXPECT_EQ(main->SheetLines().Frame(1), (TFrame{10, 10, 210, 270}));
    EXPECT_EQ(lineTexts(*main), both);
    EXPECT_TRUE(near(main->img().Bitmap().Pixel(150, 200), kBlue)) << "the window's photo stays";

    ok = false;   // Cancel
    doubleClick(0);
    EXPECT_FALSE(main->SheetLines().Frame(0));
    EXPECT_EQ(lineTexts(*main), both);

    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(lineTexts(*main), QStringList{both[1]});
    QTest::mouseClick(main->Form().remove_btn, Qt::LeftButton);
    EXPECT_TRUE(lineTexts(*main).isEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(SheetListTest, AFullListRefusesAnotherPhotoAndKeepsIt)
{
    start();
    const QString photo = writePhoto("face.jpg", 60, 80);
    for (int i = 0; i < TSheetLines::kMaxLines; ++i) {
        main->LoadPhoto(photo);
        QTest::mouseClick(main->Form().add_btn, Qt::LeftButton);
    }
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    main->LoadPhoto(photo);
    QTest::mouseClick(main->Form().add_btn, Qt::LeftButton);
    EXPECT_EQ(errors, QStringList{MessageText(Msg::kSheetListFull).arg(TSheetLines::kMaxLines)});
    EXPECT_EQ(main->Form().sheet_lst->count(), TSheetLines::kMaxLines);
    EXPECT_EQ(main->img().Bitmap().Width(), 60) << "the refused photo stays in the view";
}

TEST_F(SheetListTest, LinesAreRenderedAgainAtANewFormatsCellSize)
{
    start();
    addPhoto("red.jpg", kRed, 1);
    // A framed photo's frame takes the new shape, as the window's own does.
    main->LoadPhoto(writePhoto("framed.jpg", 300, 400, kRed));
    main->RunFrameDialog = [](TBitmap32&, const THeadRule&, std::optional<TFrame>& frame, std::optional<TColor32>&,
                              double&) {
        frame = TFrame{50, 50, 175, 225};
        return true;
    };
    main->frame_btnClick();
    QTest::mouseClick(main->Form().add_btn, Qt::LeftButton);
    main->Form().format_cmb->setCurrentIndex(1);   // 50 x 50 mm: 590 x 590 cells, not 413 x 531
    ASSERT_TRUE(main->SheetLines().Frame(1));
    EXPECT_DOUBLE_EQ(main->SheetLines().Frame(1)->Width, main->SheetLines().Frame(1)->Height);
    QImage page;
    printNow([&] {
        page = previewPage();
        preview->reject();
    });
    const QPoint at = main->SheetPrinter()->Grid().Place(0).topLeft();
    // The photo fills the new cell's height, past where the old one ended.
    EXPECT_TRUE(near(page.pixel(at.x() + 10, at.y() + 580), kRed));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

// A family's four photos on one A4 sheet with cut marks, through the
// built-in PDF printer and read back.
TEST_F(SheetListTest, AFamilyOfFourPrintsOnOneSheetWithCutMarks)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    SaveCutMarks(true);
    SetPrinter(std::make_unique<TPdfPrinter>(QPageSize::A4));
    const QString file = dir.filePath("family.pdf");
    main->AskPdfFileName = [&](QWidget*, const QString&) { return file; };
    start();
    addPhoto("mother.jpg", kRed, 3);
    addPhoto("father.jpg", kGreen, 2);
    addPhoto("daughter.jpg", kBlue, 2);
    main->LoadPhoto(writePhoto("son.jpg", 300, 400, kYellow));
    main->Form().num_trk->setValue(1);
    printNow([&] { QTest::mouseClick(preview->findChild<QPushButton*>("print_btn"), Qt::LeftButton); });
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    ASSERT_EQ(pdf_tools::pageCount(file), 1);

    // 826 x 1062 cells, 207 and 129 pixels apart, from the page's corner.
    const int stepX = 826 + 207;
    const int stepY = 1062 + 129;
    const QImage page = pdf_tools::render(file, 60);
    const std::vector<QColor> expected = {kRed, kRed, kRed, kGreen, kGreen, kBlue, kBlue, kYellow, Qt::white};
    for (std::size_t index = 0; index < expected.size(); ++index) {
        const int x = static_cast<int>(index % 5) * stepX + 300;
        const int y = static_cast<int>(index / 5) * stepY + 500;
        EXPECT_TRUE(near(page.pixel(x / 10, y / 10), expected[index])) << "place " << index;
    }
    // Around place 6 (row 2, column 2) at full resolution: a mark leaving its
    // top-left corner to the left, paper beside it, and the outline where
    // the narrower photo leaves the cell white.
    const QImage corner = pdf_tools::render(file, 600, QRect(stepX - 100, stepY - 100, 1000, 700));
    const auto markedAt = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (near(corner.pixel(x + dx + 100, y + dy + 100), kCutMarkColour, 40))
                    return true;
        return false;
    };
    EXPECT_TRUE(markedAt(-20, 0));
    EXPECT_TRUE(near(corner.pixel(100 - 20, 100 + 8), Qt::white));
    EXPECT_TRUE(markedAt(825, 500));
    EXPECT_TRUE(near(corner.pixel(100 + 815, 100 + 500), Qt::white));
}

TEST_F(SheetListTest, FramingAndKeepingAreEnabledOnlyWithAPhotoInTheView)
{
    start();
    struct Step {
        const char* what;
        std::function<void()> act;
        bool photo;
    };
    const Step steps[] = {
        {"nothing loaded", [] {}, false},
        {"a photo loaded", [&] { main->LoadPhoto(writePhoto("red.jpg", 300, 400, kRed)); }, true},
        {"the photo kept in the list", [&] { QTest::mouseClick(main->Form().add_btn, Qt::LeftButton); }, false},
        {"a photo that fails to load", [&] { main->LoadPhoto(dir.filePath("missing.jpg")); }, false},
        {"another photo loaded", [&] { main->LoadPhoto(writePhoto("green.jpg", 300, 400, kGreen)); }, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(main->Form().frame_btn->isEnabled(), step.photo);
        EXPECT_EQ(main->Form().Frame1->isEnabled(), step.photo);
        EXPECT_EQ(main->Form().add_btn->isEnabled(), step.photo);
        EXPECT_EQ(main->Form().AddToSheet1->isEnabled(), step.photo);
        EXPECT_TRUE(main->Form().print_btn->isEnabled());
    }
}
