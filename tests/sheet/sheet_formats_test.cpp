#include "sheet_formats.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// How many printed documents the table lists after the own formats.
std::size_t printedDocuments()
{
    const std::span<const TDocument> rows = Documents();
    return static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [](const TDocument& d) { return !d.Online; }));
}

TEST(SheetFormats, ListIsBuiltInThenShippedThenOwnThenTheDocuments)
{
    const std::vector<TOwnFormat> own = {{40, 60, TRange{28, 33}, std::nullopt}, {22, 30, {}, {}}};
    const std::vector<TSheetFormat> list = FormatList(own);
    struct Expected {
        double w, h;
        TFormatOrigin origin;
        const char* text;
    } expected[] = {
        {35, 45, TFormatOrigin::BuiltIn, "35 x 45 mm (France)"},
        {50.8, 50.8, TFormatOrigin::BuiltIn, "2 x 2 in. (US)"},
        {45.72, 55.88, TFormatOrigin::BuiltIn, "1.8 x 2.2 in. (Canada)"},
        {40, 50, TFormatOrigin::Shipped, "40 x 50 mm"},
        {51, 51, TFormatOrigin::Shipped, "51 x 51 mm (2 x 2 in.)"},
        {50, 70, TFormatOrigin::Shipped, "50 x 70 mm"},
        {40, 60, TFormatOrigin::Own, "40 x 60 mm"},
        {22, 30, TFormatOrigin::Own, "22 x 30 mm"},
    };
    ASSERT_EQ(list.size(), std::size(expected) + printedDocuments());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(list[i].Index, static_cast<int>(i));
        EXPECT_EQ(list[i].WidthMm, expected[i].w) << i;
        EXPECT_EQ(list[i].HeightMm, expected[i].h) << i;
        EXPECT_EQ(list[i].Origin, expected[i].origin) << i;
        EXPECT_EQ(list[i].Text, expected[i].text) << i;
    }
    for (std::size_t i = std::size(expected); i < list.size(); ++i) {
        EXPECT_EQ(list[i].Index, static_cast<int>(i));
        EXPECT_EQ(list[i].Origin, TFormatOrigin::Document) << i;
        ASSERT_TRUE(list[i].Document) << i;
        EXPECT_FALSE(list[i].Document->Online) << i;
    }
}

TEST(SheetFormats, EveryFormatHasTheRuleOfItsSizeExceptOwnOnesWithoutHead)
{
    const std::vector<TSheetFormat> list =
        FormatList({{40, 60, TRange{28, 33}, TRange{36, 40}}, {22, 30, std::nullopt, std::nullopt}});
    for (int i = 0; i < 3; ++i) {
        const THeadRule& table = HeadRule(static_cast<TPhotoFormat>(i));
        ASSERT_TRUE(list[i].Rule);
        EXPECT_EQ(list[i].Rule->Format, table.Format);
        EXPECT_EQ(list[i].Rule->Head.Min, table.Head.Min);
    }
    for (std::size_t i = 3; i < list.size(); ++i) {
        if (i == 7)
            continue;   // the own format without a rule
        ASSERT_TRUE(list[i].Rule) << i;
        // The rule describes the photo as printed in this format.
        EXPECT_EQ(list[i].Rule->PhotoWidthMm, list[i].WidthMm) << i;
        EXPECT_EQ(list[i].Rule->PhotoHeightMm, list[i].HeightMm) << i;
        const TRange head = list[i].Rule->HeadFraction();
        EXPECT_GT(head.Min, 0.4) << i;
        EXPECT_LT(head.Max, 0.9) << i;
    }
    EXPECT_EQ(list[4].Rule->EyeLineMm->Min, HeadRule(TPhotoFormat::US2x2).EyeLineMm->Min);
    EXPECT_NEAR(list[6].Rule->HeadFraction().Min, 28.0 / 60, 1e-12);
    EXPECT_NEAR(list[6].Rule->EyeLineFraction()->Max, 40.0 / 60, 1e-12);
    EXPECT_FALSE(list[7].Rule);
}

TEST(SheetFormats, ASizeFramesByTheFirstListedFormatOfItsSizeWithARule)
{
    const std::vector<TSheetFormat> list =
        FormatList({{22, 30, std::nullopt, std::nullopt}, {40, 60, TRange{28, 33}, std::nullopt}});
    const struct {
        int w, h;
        TPhotoFormat format;
        TRuleUnit unit;
        TRange head;
    } cases[] = {
        {35, 45, TPhotoFormat::France35x45, TRuleUnit::Millimetres, {32, 36}},
        // 2 x 2 in. is 50.8 mm: 51 x 51 mm is the listed size with its rule.
        {51, 51, TPhotoFormat::Other, TRuleUnit::Millimetres, {25, 35}},
        {50, 50, TPhotoFormat::Other, TRuleUnit::PercentOfHeight, {70, 80}},
        {40, 50, TPhotoFormat::Other, TRuleUnit::Millimetres, {30, 34}},
        {40, 60, TPhotoFormat::Other, TRuleUnit::Millimetres, {28, 33}},
        // An own format without a rule, and a size of no format.
        {22, 30, TPhotoFormat::Other, TRuleUnit::PercentOfHeight, {70, 80}},
        {44, 44, TPhotoFormat::Other, TRuleUnit::PercentOfHeight, {70, 80}},
    };
    for (const auto& c : cases) {
        const THeadRule rule = RuleForSize(c.w, c.h, list);
        EXPECT_EQ(rule.Format, c.format) << c.w << " x " << c.h;
        EXPECT_EQ(rule.Unit, c.unit) << c.w << " x " << c.h;
        EXPECT_EQ(rule.Head, c.head) << c.w << " x " << c.h;
        EXPECT_EQ(rule.PhotoWidthMm, c.w);
        EXPECT_EQ(rule.PhotoHeightMm, c.h);
    }
}

TEST(SheetFormats, SizeTextsThatRead)
{
    struct Case {
        const char* text;
        int w, h;
    } cases[] = {
        {"40x50mm", 40, 50}, {"40 x 50 mm", 40, 50}, {" 40X50 ", 40, 50}, {"5x300", 5, 300}, {"300x5mm", 300, 5},
    };
    for (const Case& c : cases) {
        const TOwnFormat f = ParseSizeMm(c.text);
        EXPECT_EQ(f.WidthMm, c.w) << c.text;
        EXPECT_EQ(f.HeightMm, c.h) << c.text;
        EXPECT_FALSE(f.HeadMm);
    }
}

TEST(SheetFormats, SizeTextsThatAreRefusedSayWhy)
{
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"40x50cm", "\"40x50cm\" is not a photo size: give the width and height in whole millimetres"},
        {"40.5x50mm", "\"40.5x50mm\" is not a photo size"},
        {"40x", "\"40x\" is not a photo size"},
        {"", "\"\" is not a photo size"},
        {"-40x50", "\"-40x50\" is not a photo size"},
        {"12345678901x50", "\"12345678901x50\" is not a photo size"},
        {"4x50mm", "A photo of 4 x 50 mm cannot be made: the width and the height must each be from 5 to 300 mm."},
        {"40x301", "A photo of 40 x 301 mm cannot be made"},
        {"0x0", "A photo of 0 x 0 mm cannot be made"},
        {"999999999x5", "A photo of 999999999 x 5 mm cannot be made"},
    };
    for (const Case& c : cases) {
        try {
            ParseSizeMm(c.text);
            ADD_FAILURE() << "read " << c.text;
        } catch (const ESheetFormat& e) {
            EXPECT_TRUE(e.Message.startsWith(c.message)) << e.Message.toStdString();
        }
    }
}

TEST(SheetFormats, RulesMustLieWithinThePhoto)
{
    struct Case {
        TOwnFormat format;
        const char* message;  // empty: accepted
    } cases[] = {
        {{40, 50, TRange{30, 34}, TRange{28, 35}}, ""},
        {{40, 50, TRange{50, 50}, std::nullopt}, ""},
        {{40, 50, TRange{34, 30}, std::nullopt}, "The head height from 34 to 30 mm does not fit a photo 50 mm high"},
        {{40, 50, TRange{30, 50.5}, std::nullopt}, "The head height from 30 to 50.5 mm does not fit"},
        {{40, 50, TRange{0, 30}, std::nullopt}, "The head height from 0 to 30 mm"},
        {{40, 50, TRange{30, 34}, TRange{35, 28}}, "The eye line from 35 to 28 mm does not fit a photo 50 mm high"},
        {{40, 50, std::nullopt, TRange{28, 35}}, "An eye-line rule needs a head-height rule beside it."},
        // A name of the user's own: any characters but control ones, 40 at most.
        {{40, 50, {}, {}, "Pasfoto; rijbewijs = 35 x 45 – é"}, ""},
        {{40, 50, {}, {}, QString(40, u'n')}, ""},
        {{40, 50, {}, {}, QString(41, u'n')}, "\"nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn\" cannot name a format: give at most 40"},
        {{40, 50, {}, {}, "Visa\nNL"}, "\"Visa\nNL\" cannot name a format"},
    };
    for (const Case& c : cases) {
        if (!*c.message) {
            EXPECT_NO_THROW(CheckOwnFormat(c.format));
            continue;
        }
        try {
            CheckOwnFormat(c.format);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const ESheetFormat& e) {
            EXPECT_TRUE(e.Message.startsWith(c.message)) << e.Message.toStdString();
        }
    }
}

}  // namespace

TEST(SheetFormats, NoTwoEntriesOfOneSizeAndNoOwnFormatOfAShippedSize)
{
    // Stored before repeats were refused: only the first of each size is
    // listed. The inch formats' truncated sizes (50 x 50, 45 x 55) are no
    // longer listed ones.
    const std::vector<TSheetFormat> list =
        FormatList({{35, 45}, {42, 52, {}, {}, "Visa"}, {51, 51}, {42, 52}, {45, 55}, {44, 60}});
    ASSERT_EQ(list.size(), 9u + printedDocuments());
    EXPECT_EQ(list[6].Name, "Visa");
    EXPECT_EQ(list[7].WidthMm, 45);
    EXPECT_EQ(list[8].WidthMm, 44);
    EXPECT_EQ(list[8].Index, 8);

    const struct {
        int w, h;
        bool refused;
    } cases[] = {
        {35, 45, true}, {40, 50, true}, {51, 51, true}, {50, 70, true},
        // A document's size (33 x 48 mm, the Chinese visa) may be an own one.
        {45, 35, false}, {50, 51, false}, {42, 52, false}, {50, 50, false}, {45, 55, false}, {33, 48, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        if (!c.refused) {
            EXPECT_NO_THROW(CheckNotShipped({c.w, c.h}));
            continue;
        }
        try {
            CheckNotShipped({c.w, c.h});
            ADD_FAILURE() << "accepted";
        } catch (const ESheetFormat& e) {
            EXPECT_EQ(e.Message, QStringLiteral("The format list already has a photo of %1 x %2 mm: choose it there "
                                                "instead of adding it.").arg(c.w).arg(c.h));
        }
    }
}
