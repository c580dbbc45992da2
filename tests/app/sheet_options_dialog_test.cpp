#include "U_SheetOptionsDlg.h"

#include "calibration.h"
#include "settings_fixture.h"
#include "sheet_settings.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
    addFormat(40, 50, TRange{30, 34});
    addFormat(45, 60, TRange{36, 40}, TRange{30, 36});
    addFormat(40, 50, TRange{30, 34});  // the same again: listed once
    addFormat(20, 25);
    control<QListWidget>("formats_lst")->setCurrentRow(2);
    control<QPushButton>("remove_btn")->click();
    EXPECT_EQ(control<QListWidget>("formats_lst")->count(), 2);
    control<QCheckBox>("cutmarks_chk")->setChecked(true);
    control<QDoubleSpinBox>("across_edt")->setValue(101.2);
    control<QDoubleSpinBox>("down_edt")->setValue(99.6);
    control<QPushButton>("ok_btn")->click();

    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const std::vector<TOwnFormat> expected = {{40, 50, TRange{30, 34}, {}}, {45, 60, TRange{36, 40}, TRange{30, 36}}};
    EXPECT_EQ(LoadOwnFormats(), expected);
    EXPECT_TRUE(LoadCutMarks());
    EXPECT_EQ(LoadCalibration("laser"), (TCalibration{101.2, 99.6}));
    EXPECT_FALSE(LoadCalibration("other"));
}

TEST_F(SheetOptionsDlgTest, UnusableRulesAreNamedAndNotAdded)
{
    dlg.Start("laser");
    addFormat(40, 50, TRange{34, 30});
    EXPECT_TRUE(control<QLabel>("status_lbl")->text().startsWith("The head height from 34 to 30 mm"));
    addFormat(40, 50, std::nullopt, TRange{28, 35});
    EXPECT_EQ(control<QLabel>("status_lbl")->text(), "An eye-line rule needs a head-height rule beside it.");
    EXPECT_EQ(control<QListWidget>("formats_lst")->count(), 0);
    addFormat(40, 50);
    EXPECT_TRUE(control<QLabel>("status_lbl")->text().isEmpty());
}

TEST_F(SheetOptionsDlgTest, CancelAndUntouchedRulersChangeNothing)
{
    SaveCalibration("laser", {102, 102});
    dlg.Start("inkjet");
    addFormat(40, 50);
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

}  // namespace
