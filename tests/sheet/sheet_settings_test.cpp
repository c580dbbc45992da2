#include "sheet_settings.h"

#include "calibration.h"
#include "packed_layout.h"
#include "settings_fixture.h"
#include "registry.h"

namespace {

using OwnFormats = SheetSettingsTest;
using CutMarksOption = SheetSettingsTest;
using Calibrations = SheetSettingsTest;
using PackedLayoutOption = SheetSettingsTest;

TEST_F(OwnFormats, KeepTheirOrderAndRulesThroughTheSettings)
{
    EXPECT_TRUE(LoadOwnFormats().empty());
    const std::vector<TOwnFormat> formats = {
        {40, 50, TRange{30, 34}, std::nullopt},
        {51, 51, TRange{25.4, 34.9}, TRange{28.6, 34.9}},
        {300, 5, std::nullopt, std::nullopt, QStringLiteral("Fotostreifen für \"Ausweis\"")},
    };
    SaveOwnFormats(formats);
    EXPECT_EQ(LoadOwnFormats(), formats);
    SaveOwnFormats({formats[1]});
    EXPECT_EQ(LoadOwnFormats(), std::vector<TOwnFormat>{formats[1]});
}

TEST_F(OwnFormats, LinesReadBackOrAreRefused)
{
    struct Case {
        const char* text;
        bool reads;
    } cases[] = {
        {"40x50", true},        {"40x50;head=30-34", true}, {"40x50;head=30-34;eye=28-35", true},
        {"40x50;eye=28-35", false}, {"40x50;head=30", false}, {"40x50;head=30-34;head=30-34", false},
        {"40x50;size=3-4", false},  {"4x50", false},          {"40x50;head=a-b", false},
        // The name takes the rest of the line, whatever it holds.
        {"40x50;name=Visa", true}, {"40x50;head=30-34;eye=28-35;name=a;head=1-2 = b", true},
        {"40x50;name=a\tb", false},
    };
    for (const Case& c : cases) {
        if (c.reads)
            EXPECT_EQ(OwnFormatToText(OwnFormatFromText(c.text)), c.text);
        else
            EXPECT_THROW(OwnFormatFromText(c.text), ESheetFormat) << c.text;
    }
}

TEST_F(OwnFormats, UnusableStoredLinesAreLeftOutAndBadListsNotSaved)
{
    SaveOwnFormats({{40, 50, {}, {}}});
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kSheetSettingsKey, false));
        reg.WriteInteger("OwnFormatCount", 3);
        reg.WriteString("OwnFormat2", "400x50");
        reg.WriteString("OwnFormat3", "45x60;head=40-44");
    }
    const std::vector<TOwnFormat> expected = {{40, 50, {}, {}}, {45, 60, TRange{40, 44}, {}}};
    EXPECT_EQ(LoadOwnFormats(), expected);
    EXPECT_THROW(SaveOwnFormats({{50, 50, {}, {}}, {2, 50, {}, {}}}), ESheetFormat);
    EXPECT_EQ(LoadOwnFormats(), expected) << "a refused list leaves the stored one";
}

TEST_F(CutMarksOption, IsOffUntilTurnedOn)
{
    EXPECT_FALSE(LoadCutMarks());
    SaveCutMarks(true);
    EXPECT_TRUE(LoadCutMarks());
    SaveCutMarks(false);
    EXPECT_FALSE(LoadCutMarks());
}

// Every gap from none to the largest reads back as saved, a gap of 0 too.
TEST_F(PackedLayoutOption, IsTheEvenGridUntilChosenAndReadsBackAsSaved)
{
    EXPECT_EQ(LoadSheetLayout(), TSheetLayout{});
    for (const TSheetLayout layout : {TSheetLayout{TSheetArrangement::Packed, 0},
                                      TSheetLayout{TSheetArrangement::Packed, kMaxPackedGap},
                                      TSheetLayout{TSheetArrangement::Even, 15}}) {
        SaveSheetLayout(layout);
        EXPECT_EQ(LoadSheetLayout(), layout) << layout.GapTenthsMm;
    }
}

TEST_F(Calibrations, AreKeptPerPrinterNameWhateverItsCharacters)
{
    const QString names[] = {"Print to PDF", "office/laser", "a\\b=c;d", "Fotodrucker über"};
    for (int i = 0; i < 4; ++i)
        SaveCalibration(names[i], {100.0 + i, 99.5 - i});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(LoadCalibration(names[i]), (TCalibration{100.0 + i, 99.5 - i})) << names[i].toStdString();
    EXPECT_FALSE(LoadCalibration("office"));

    SaveCalibration(names[1], {101.2, 100.4});
    ForgetCalibration(names[0]);
    EXPECT_FALSE(LoadCalibration(names[0]));
    EXPECT_EQ(LoadCalibration(names[1]), (TCalibration{101.2, 100.4}));
    EXPECT_EQ(LoadCalibration(names[3]), (TCalibration{103, 96.5}));
}

TEST_F(Calibrations, LengthsOutsideTheRulersRangeAreRefusedAndChangeNothing)
{
    SaveCalibration("laser", {101, 101});
    struct Case {
        TCalibration c;
        const char* shown;
    } cases[] = {{{89.9, 100}, "89.9"}, {{100, 110.01}, "110.01"}, {{0, 100}, "0"}, {{100, -100}, "-100"}};
    for (const Case& c : cases) {
        try {
            SaveCalibration("laser", c.c);
            ADD_FAILURE() << "saved " << c.shown;
        } catch (const ECalibration& e) {
            EXPECT_EQ(e.Message, QString("A 100 mm ruler cannot measure %1 mm: type a length from 90 to 110 mm, "
                                         "measured on the calibration page.")
                                     .arg(c.shown));
        }
    }
    EXPECT_NO_THROW(CheckRulerLength(90));
    EXPECT_NO_THROW(CheckRulerLength(110));
    EXPECT_EQ(LoadCalibration("laser"), (TCalibration{101, 101}));
}

}  // namespace
