#include "calibration.h"

#include "calibration_page.h"
#include "sheet_printer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(CalibratedCell, WithoutCalibrationIsExactlyTheSheetPrintersSize)
{
    for (const int dpi : {0, 1, 72, 96, 150, 300, 360, 600, 1200, 2400, -300})
        for (const int mm : {0, 1, 5, 35, 45, 50, 51, 55, 70, 300})
            EXPECT_EQ(CalibratedMmToPixels(mm, dpi, std::nullopt), TIDPrinter::MmToPixels(mm, dpi))
                << mm << " mm at " << dpi;
}

TEST(CalibratedCell, PrintsTheFormatsSizeWithinATenthOfAMillimetre)
{
    // Printers that stretch or shrink: what they print for 100 mm.
    for (const double printedPer100 : {101.0, 99.0, 100.6, 90.0, 110.0})
        for (const int dpi : {300, 600, 1200})
            for (const int mm : {35, 40, 45, 50, 70}) {
                const TCalibration c{printedPer100, printedPer100};
                const int pixels = CalibratedMmToPixels(mm, dpi, c.FactorX());
                const double onPaper = pixels * 25.4 / dpi * printedPer100 / 100;
                EXPECT_NEAR(onPaper, mm, 0.1) << mm << " mm at " << dpi << " dpi, printer " << printedPer100;
                EXPECT_LE(onPaper, mm) << "never rounded up";
            }
    // A 101 mm printer gets a 35 mm cell 100/101 as wide as an uncalibrated one.
    const int plain = TIDPrinter::MmToPixels(35, 600);
    const int corrected = CalibratedMmToPixels(35, 600, TCalibration{101, 100}.FactorX());
    EXPECT_NEAR(static_cast<double>(corrected) / plain, 100.0 / 101, 1.5 / plain);
}

// First and last dark column of row y, and of column x.
std::pair<int, int> DarkSpan(const QImage& img, int fixed, bool alongRow)
{
    int first = -1;
    int last = -1;
    const int n = alongRow ? img.width() : img.height();
    for (int i = 0; i < n; ++i) {
        const QRgb p = alongRow ? img.pixel(i, fixed) : img.pixel(fixed, i);
        if (qGray(p) < 64) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return {first, last};
}

TEST(CalibrationPage, RulersAreAHundredMillimetresAtTheGivenResolutions)
{
    struct Case {
        int dpiX, dpiY, offX, offY;
    } cases[] = {{300, 300, 0, 0}, {600, 300, 25, 40}, {150, 150, 12, 12}};
    for (const Case& c : cases) {
        QImage page(c.dpiX * 6, c.dpiY * 6, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        const TCalibrationRulers r = DrawCalibrationPage(painter, c.dpiX, c.dpiY, c.offX, c.offY);
        painter.end();
        EXPECT_NEAR(r.Corner.x() - c.offX, 10 * c.dpiX / 25.4, 0.5);
        EXPECT_NEAR(r.Corner.y() - c.offY, 10 * c.dpiY / 25.4, 0.5);
        EXPECT_NEAR(r.AcrossEnd.x() - r.Corner.x(), 100 * c.dpiX / 25.4, 0.5);
        EXPECT_NEAR(r.DownEnd.y() - r.Corner.y(), 100 * c.dpiY / 25.4, 0.5);
        // The base lines on the page run from the corner to the 100 mm tick.
        const auto [x0, x1] = DarkSpan(page, r.Corner.y(), true);
        EXPECT_EQ(x0, r.Corner.x());
        EXPECT_GE(x1, r.AcrossEnd.x());
        EXPECT_LE(x1, r.AcrossEnd.x() + c.dpiX / 50);
        const auto [y0, y1] = DarkSpan(page, r.Corner.x(), false);
        EXPECT_EQ(y0, r.Corner.y());
        EXPECT_GE(y1, r.DownEnd.y());
        // Below the ruler the hint text follows; the ruler itself ends at its tick.
        EXPECT_EQ(qGray(page.pixel(r.Corner.x(), r.DownEnd.y() + c.dpiY * 3 / 25)), 255);
    }
}

}  // namespace
