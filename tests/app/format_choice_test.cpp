#include "format_choice.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(FormatChoice, AWhiteStripShowsWhenThePhotosShapeDiffersByMoreThanTwoPercent)
{
    const TSheetFormat france = FormatList({})[0];   // 35 x 45 mm: 0.7778
    const TSheetFormat square = FormatList({})[1];   // 50 x 50 mm
    const struct {
        int w, h;
        const TSheetFormat& format;
        bool strip;
    } cases[] = {
        {700, 900, france, false},    // the cell's own shape
        {714, 900, france, false},    // 2.0 % wider
        {715, 900, france, true},     // 2.1 % wider
        {700, 883, france, false},    // 1.9 % lower
        {700, 882, france, true},     // 2.04 % lower
        {600, 800, france, true},     // 3:4
        {1000, 1000, square, false},
        {1000, 1021, square, true},
        {1021, 1000, square, true},
        {0, 0, france, false},        // no photo
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " in " << c.format.WidthMm << " x " << c.format.HeightMm);
        EXPECT_EQ(LeavesWhiteStrip(c.w, c.h, c.format), c.strip);
    }
}

TEST(FormatChoice, TheStatusLineSaysWhatThePhotoWillLookLikeInPlaceOfThePrinter)
{
    const QString strip = "A white strip will be printed; \"Frame...\" fills the photo.";
    const QString blur = "51 pixels per inch printed: the photo may look blurred.";
    const struct {
        bool strip;
        QString lowResolution;
        TStatusLine line;
    } cases[] = {
        {false, {}, {"Laser", {}}},
        {true, {}, {strip, strip + "\nLaser"}},
        {false, blur, {blur, blur + "\nLaser"}},
        {true, blur, {strip + ' ' + blur, strip + '\n' + blur + "\nLaser"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.Text.toStdString());
        const TStatusLine line = StatusLineFor("Laser", c.strip, c.lowResolution, "&Frame...");
        EXPECT_EQ(line.Text, c.line.Text);
        EXPECT_EQ(line.ToolTip, c.line.ToolTip);
    }
}

TEST(FormatChoice, FormatTextsSayTheOwnNameAndThePrintedSizeInTheInterfacesNumbers)
{
    const std::vector<TSheetFormat> list = FormatList({{42, 52}, {44, 60, {}, {}, "Visa NL"}});
    EXPECT_EQ(FormatItemText(list[3]), "40 x 50 mm");
    EXPECT_EQ(FormatItemText(list[6]), "42 x 52 mm (own)");
    EXPECT_EQ(FormatItemText(list[7]), "Visa NL (44 x 60 mm)");
    EXPECT_EQ(PrintedSizeText(list[1]), QString::fromUtf8("prints 50.8 × 50.8 mm"));
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(PrintedSizeText(list[7]), QString::fromUtf8("prints ٤٤ × ٦٠ mm"));
    QLocale::setDefault(saved);
}

}  // namespace
