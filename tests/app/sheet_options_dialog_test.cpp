#include "U_SheetOptionsDlg.h"

#include "calibration.h"
#include "packed_layout.h"
#include "pdf_printer.h"
#include "photo_lab_printer.h"
#include "printer.h"
#include "settings_fixture.h"
#include "sheet_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>

namespace {

class SheetOptionsDlgTest : public SheetSettingsTest {
protected:
    template <typename T>
    T* control(const char* name)
    {
        T* c = dlg.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void addFormat(int w, int h, std::optional<TRange> head = {}, std::optional<TRange> eye = {})
    {
        control<QSpinBox>("width_edt")->setValue(w);
        control<QSpinBox>("height_edt")->setValue(h);
        control<QCheckBox>("head_chk")->setChecked(head.has_value());
        control<QCheckBox>("eye_chk")->setChecked(eye.has_value());
        if (head) {
            control<QDoubleSpinBox>("headmin_edt")->setValue(head->Min);
            control<QDoubleSpinBox>("headmax_edt")->setValue(head->Max);
        }
        if (eye) {
            control<QDoubleSpinBox>("eyemin_edt")->setValue(eye->Min);
            control<QDoubleSpinBox>("eyemax_edt")->setValue(eye->Max);
        }
        control<QPushButton>("add_btn")->click();
    }

    TSheetOptionsDlg dlg;
};

TEST_F(SheetOptionsDlgTest, OkStoresFormatsCutMarksAndThePrintersCalibration)
{
    dlg.Start("laser");
    EXPECT_FALSE(control<QCheckBox>("cutmarks_chk")->isChecked());
    addFormat(42, 52, TRange{30, 34});
    addFormat(45, 60, TRange{36, 40}, TRange{30, 36});
    addFormat(42, 52, TRange{30, 34});  // the same again: listed once
    addFormat(20, 25);
    control<QListWidget>("formats_lst")->setCurrentRow(2);
    control<QPushButton>("remove_btn")->click();
    EXPECT_EQ(control<QListWidget>("formats_lst")->count(), 2);
    control<QCheckBox>("cutmarks_chk")->setChecked(true);
    control<QDoubleSpinBox>("across_edt")->setValue(101.2);
    control<QDoubleSpinBox>("down_edt")->setValue(99.6);
    control<QPushButton>("ok_btn")->click();

    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const std::vector<TOwnFormat> expected = {{42, 52, TRange{30, 34}, {}}, {45, 60, TRange{36, 40}, TRange{30, 36}}};
    EXPECT_EQ(LoadOwnFormats(), expected);
    EXPECT_TRUE(LoadCutMarks());
    EXPECT_EQ(LoadCalibration("laser"), (TCalibration{101.2, 99.6}));
    EXPECT_FALSE(LoadCalibration("other"));
}

TEST_F(SheetOptionsDlgTest, UnusableRulesAreNamedAndNotAdded)
{
    dlg.Start("laser");
    addFormat(42, 52, TRange{34, 30});
    EXPECT_TRUE(control<QLabel>("status_lbl")->text().startsWith("The head height from 34 to 30 mm"));
    addFormat(42, 52, std::nullopt, TRange{28, 35});
    EXPECT_EQ(control<QLabel>("status_lbl")->text(), "An eye-line rule needs a head-height rule beside it.");
    EXPECT_EQ(control<QListWidget>("formats_lst")->count(), 0);
    addFormat(42, 52);
    EXPECT_TRUE(control<QLabel>("status_lbl")->text().isEmpty());
}

TEST_F(SheetOptionsDlgTest, CancelAndUntouchedRulersChangeNothing)
{
    SaveCalibration("laser", {102, 102});
    dlg.Start("inkjet");
    addFormat(42, 52);
    control<QPushButton>("cancel_btn")->click();
    EXPECT_TRUE(LoadOwnFormats().empty());

    dlg.Start("inkjet");
    EXPECT_FALSE(control<QPushButton>("calibforget_btn")->isEnabled());
    control<QPushButton>("ok_btn")->click();
    EXPECT_FALSE(LoadCalibration("inkjet")) << "rulers left at 100 mm";

    dlg.Start("laser");
    EXPECT_EQ(control<QDoubleSpinBox>("across_edt")->value(), 102);
    control<QPushButton>("calibforget_btn")->click();
    control<QPushButton>("ok_btn")->click();
    EXPECT_FALSE(LoadCalibration("laser"));
}

TEST_F(SheetOptionsDlgTest, CalibrationPageIsAskedOfTheOwner)
{
    QSignalSpy asked(&dlg, &TSheetOptionsDlg::CalibrationPageRequested);
    dlg.Start("");
    EXPECT_FALSE(control<QPushButton>("calibprint_btn")->isEnabled()) << "no printer";
    dlg.Start("laser");
    control<QPushButton>("calibprint_btn")->click();
    EXPECT_EQ(asked.count(), 1);
}

TEST_F(SheetOptionsDlgTest, OwnFormatsTakeANameAndNeverRepeatASize)
{
    dlg.Start("laser");
    auto* name = qobject_cast<QLineEdit*>(control<QLabel>("name_lbl")->buddy());
    ASSERT_TRUE(name);
    name->setText("  Visa NL; 2024  ");
    addFormat(42, 52, TRange{30, 34});
    name->setText("Schengen");
    addFormat(42, 52);   // the same size: takes the first one's place
    name->clear();
    addFormat(51, 51);   // shipped
    EXPECT_EQ(control<QLabel>("status_lbl")->text(),
              "The format list already has a photo of 51 x 51 mm: choose it there instead of adding it.");
    name->setText("a\tb");
    addFormat(44, 55);
    EXPECT_TRUE(control<QLabel>("status_lbl")->text().startsWith("\"a\tb\" cannot name a format"));
    ASSERT_EQ(control<QListWidget>("formats_lst")->count(), 1);
    EXPECT_EQ(control<QListWidget>("formats_lst")->item(0)->text(), "Schengen (42 x 52 mm)");
    control<QPushButton>("ok_btn")->click();
    EXPECT_EQ(LoadOwnFormats(), std::vector<TOwnFormat>{TOwnFormat(42, 52, {}, {}, "Schengen")});

    // The keyboard reaches every control in reading order.
    const char* const order[] = {"cutmarks_chk", "even_rdo", "packed_rdo", "gap_edt", "printon_cmb", "labmargin_edt", "formats_lst", "", "width_edt", "height_edt", "head_chk",
                                 "headmin_edt", "headmax_edt", "eye_chk", "eyemin_edt", "eyemax_edt", "add_btn",
                                 "remove_btn", "calibprint_btn", "calibforget_btn", "across_edt", "down_edt",
                                 "ok_btn", "cancel_btn"};
    QWidget* w = control<QWidget>(order[0]);
    for (const char* expected : order) {
        EXPECT_EQ(w->objectName().toStdString(), expected);
        if (!*expected) {
            EXPECT_EQ(w, name);
        }
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().startsWith("qt_"));
    }
}

}  // namespace

namespace {

// The layout and the photo lab printer as chosen, stored on OK and shown
// again at the next start; back to the installed printer from the lab.
TEST_F(SheetOptionsDlgTest, OkStoresThePackedLayoutAndThePhotoLabPrinter)
{
    SetPrinter(std::make_unique<TPdfPrinter>());
    dlg.Start(Printer().Name());
    EXPECT_TRUE(control<QRadioButton>("even_rdo")->isChecked());
    EXPECT_FALSE(control<QDoubleSpinBox>("gap_edt")->isEnabled());
    control<QRadioButton>("packed_rdo")->setChecked(true);
    control<QDoubleSpinBox>("gap_edt")->setValue(1.5);
    control<QComboBox>("printon_cmb")->setCurrentIndex(1);
    control<QPushButton>("ok_btn")->click();
    EXPECT_EQ(LoadSheetLayout(), (TSheetLayout{TSheetArrangement::Packed, 15}));
    EXPECT_EQ(Printer().Name(), QString::fromUtf8("Photo lab 10 \u00d7 15 cm"));

    dlg.Start(Printer().Name());
    EXPECT_TRUE(control<QRadioButton>("packed_rdo")->isChecked());
    EXPECT_EQ(control<QComboBox>("printon_cmb")->currentIndex(), 1);
    control<QComboBox>("printon_cmb")->setCurrentIndex(0);
    control<QPushButton>("ok_btn")->click();
    EXPECT_FALSE(PhotoLabPrinterNames().contains(Printer().Name()));
    SetPrinter(nullptr);
}

}  // namespace
