// The sheet options as the main window uses them: opened from the menu,
// their choices reaching the format list, the sheet and the printer.
#include "app_fixture.h"

#include "U_SheetOptionsDlg.h"
#include "photo_lab_printer.h"
#include "printer.h"
#include "cut_marks.h"
#include "sheet_printer.h"
#include "sheet_settings.h"
#include "ui_U_MainDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class SheetOptionsWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        options = std::make_unique<TSheetOptionsDlg>(main.get());
        main->SetSheetOptionsDialog(options.get());
    }
    void TearDown() override
    {
        options.reset();
        AppTest::TearDown();
    }

    // Opens the sheet options from the menu and lets `change` work in them.
    void useSheetOptions(std::function<void(QDialog&)> change)
    {
        onNextModal(std::move(change));
        main->Form().SheetOptions1->trigger();
    }

    static void clickOk(QDialog& d) { d.findChild<QPushButton*>("ok_btn")->click(); }

    std::unique_ptr<TSheetOptionsDlg> options;
};

TEST_F(SheetOptionsWindowTest, CutMarksChosenInTheMenuAreOnThePreviewPage)
{
    start();
    main->LoadPhoto(writePhoto("square.jpg", 400, 400));   // leaves white in a 35 x 45 mm cell
    useSheetOptions([](QDialog& d) {
        d.findChild<QCheckBox*>("cutmarks_chk")->setChecked(true);
        clickOk(d);
    });
    ASSERT_TRUE(main->SheetPrinter()->CutMarks());

    onNextModal([](QDialog& d) { d.reject(); });   // the preview
    main->print_btnClick();
    const TCutMarks marks = main->SheetPrinter()->SheetCutMarks();
    ASSERT_FALSE(marks.Marks.empty());
    ASSERT_FALSE(marks.Outlines.empty());
    const TColor32 grey = kCutMarkColour.rgb();
    for (const std::vector<QRect>* rects : {&marks.Marks, &marks.Outlines})
        for (const QRect& r : *rects)
            EXPECT_EQ(preview->Page().Pixel(r.left(), r.top()), grey) << r.x() << "," << r.y();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(SheetOptionsWindowTest, CalibrationPagePrintsOnTheCurrentPrinterOrSaysWhyNot)
{
    struct Case {
        bool printerRefuses;
        std::size_t pages;
        bool error;
    };
    for (const Case c : {Case{false, 1, false}, Case{true, 0, true}}) {
        SCOPED_TRACE(c.printerRefuses);
        TearDown();
        SetUp();
        start();
        printer->SetFailBeginDoc(c.printerRefuses);
        useSheetOptions([](QDialog& d) {
            d.findChild<QPushButton*>("calibprint_btn")->click();
            d.reject();
        });
        EXPECT_EQ(printer->PrintedPages().size(), c.pages);
        EXPECT_EQ(errors.size(), c.error ? 1 : 0);
        if (c.error) {
            EXPECT_TRUE(errors.front().contains("Test Printer")) << errors.front().toStdString();
        }
    }
}

TEST_F(SheetOptionsWindowTest, RemovingOrChangingTheChosenOwnFormatFallsBackSafely)
{
    const TOwnFormat small{33, 44, {}, {}};
    const TOwnFormat visa{45, 60, TRange{36, 40}, {}};
    const TOwnFormat large{60, 80, {}, {}};
    struct Case {
        const char* what;
        int chosen;      // in the list: 3 built-in, 3 shipped, then small, visa, large
        int row;         // in the dialog's own list
        bool remove;     // or give it a name, which changes it
        int index;
        int widthMm;
        int heightMm;
    };
    for (const Case c : {Case{"an own format before it: it moves up", 8, 0, true, 7, 60, 80},
                         Case{"the chosen one changed: the one of its size", 7, 1, false, 7, 45, 60},
                         Case{"the chosen one, no other of its size: the first", 8, 2, true, 0, 35, 45},
                         Case{"one after it: it stays", 6, 2, true, 6, 33, 44}}) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        SaveOwnFormats({small, visa, large});
        start();
        // The table's documents follow the own formats.
        const int documents = static_cast<int>(FormatList({}).size()) - 6;
        ASSERT_EQ(main->Form().format_cmb->count(), 9 + documents);
        main->Form().format_cmb->setCurrentIndex(c.chosen);
        useSheetOptions([&](QDialog& d) {
            d.findChild<QListWidget*>("formats_lst")->setCurrentRow(c.row);
            if (c.remove) {
                d.findChild<QPushButton*>("remove_btn")->click();
            } else {
                qobject_cast<QLineEdit*>(d.findChild<QLabel*>("name_lbl")->buddy())->setText("Visa");
                d.findChild<QPushButton*>("add_btn")->click();
            }
            clickOk(d);
        });
        const int count = (c.remove ? 8 : 9) + documents;
        EXPECT_EQ(main->Form().format_cmb->count(), count);
        EXPECT_EQ(main->Formats().size(), static_cast<std::size_t>(count));
        EXPECT_EQ(main->Form().format_cmb->currentIndex(), c.index);
        EXPECT_EQ(main->SheetPrinter()->PhotoWidthMm(), c.widthMm);
        EXPECT_EQ(main->SheetPrinter()->PhotoHeightMm(), c.heightMm);
        EXPECT_EQ(main->Rule().PhotoHeightMm, c.heightMm);
        EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    }
}

}  // namespace

// A new start comes back with the format, the photo lab "Print on" chose and
// the window's size of the last one.
TEST_F(SheetOptionsWindowTest, TheFormatPrintOnAndWindowSizeAreThereAtTheNextStart)
{
    start();
    main->Form().format_cmb->setCurrentIndex(1);
    useSheetOptions([](QDialog& d) {
        d.findChild<QComboBox*>("printon_cmb")->setCurrentIndex(1);
        clickOk(d);
    });
    const QString lab = Printer().Name();
    ASSERT_EQ(lab, PhotoLabPrinterNames().front());
    main->resize(700, 640);
    main->close();

    TearDown();   // a new process: a new window, the system's printer
    SetUp();
    start();
    EXPECT_EQ(main->Form().format_cmb->currentIndex(), 1);
    EXPECT_DOUBLE_EQ(main->SheetPrinter()->PhotoWidthMm(), 50.8);
    EXPECT_EQ(Printer().Name(), lab);
    EXPECT_EQ(main->size(), QSize(700, 640));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}
