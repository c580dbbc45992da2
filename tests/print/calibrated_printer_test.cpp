// The sheet printer's cell on a calibrated printer, and the calibration page.
#include "calibration.h"
#include "calibration_print.h"
#include "bitmap32.h"
#include "settings_fixture.h"
#include "sheet_printer.h"
#include "test_printer.h"


namespace {

class CalibratedPrinter : public SheetSettingsTest {
protected:
    void SetUp() override
    {
        SheetSettingsTest::SetUp();
        printer_.SetName(QStringLiteral("Shop Printer"));
    }

    TTestPrinter printer_{4800, 6800, 600, 600, 50, 50};
};

}  // namespace

TEST_F(CalibratedPrinter, CellFollowsTheStoredCalibrationOfThatPrinterOnly)
{
    struct Case {
        const char* stored;   // the printer whose calibration is stored
        int width, height;
    };
    // 101 mm across and 99 mm down for 100: 35 x 100/101 mm is 818.59
    // pixels at 600 dpi, 45 x 100/99 mm 1073.73; uncalibrated 826 x 1062.
    const Case cases[] = {{nullptr, 826, 1062}, {"Other Printer", 826, 1062}, {"Shop Printer", 818, 1073}};
    for (const Case& c : cases) {
        if (c.stored)
            SaveCalibration(QString::fromLatin1(c.stored), {101, 99});
        TIDPrinter sheet(printer_);
        EXPECT_EQ(sheet.Cell().Width(), c.width) << (c.stored ? c.stored : "none");
        EXPECT_EQ(sheet.Cell().Height(), c.height) << (c.stored ? c.stored : "none");
    }
    ForgetCalibration(QStringLiteral("Shop Printer"));
    TIDPrinter sheet(printer_);
    EXPECT_EQ(sheet.Cell().Width(), 826);
    EXPECT_FALSE(sheet.Calibration());
}

TEST_F(CalibratedPrinter, CalibrationPageIsDrawnUncorrectedOnThePrintersPage)
{
    SaveCalibration(QStringLiteral("Shop Printer"), {105, 95});
    TBitmap32 page;
    RenderCalibrationPage(printer_, page);
    ASSERT_EQ(page.Width(), 4800);
    ASSERT_EQ(page.Height(), 6800);
    // The across ruler's ticks hang from the corner 10 mm (236 pixels)
    // inside the offset; the last, at 100 mm (2362 pixels), ends the row
    // just below the corner, whatever the printer's stored calibration.
    const int corner = 50 + 236;
    int lastInk = -1;
    for (int x = 0; x < page.Width(); ++x)
        if ((page.Pixel(x, corner + 1) & 0xFFu) < 128)
            lastInk = x;
    EXPECT_GE(lastInk, corner + 2362);
    EXPECT_LE(lastInk, corner + 2362 + 5);
}
