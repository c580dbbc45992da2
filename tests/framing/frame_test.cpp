#include "frame.h"
#include "sheet_formats.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const TPhotoFormat kFormats[] = {TPhotoFormat::France35x45, TPhotoFormat::US2x2, TPhotoFormat::Canada18x22};

// A head as a detector might place it in a 3000 x 4000 photo, off centre.
THead someHead()
{
    return THead{1210.5, 2033.25, 1377.75, 1210.5 + kEyeDepth * 822.75};
}

}  // namespace

TEST(HeadRule, TableOfFormats)
{
    struct Case {
        TPhotoFormat format;
        double widthMm, heightMm;
        double headMin, headMax;   // fractions of the photo's height
        double eyeMin, eyeMax;     // 0 where the rule has no eye line
    };
    const Case cases[] = {
        {TPhotoFormat::France35x45, 35, 45, 32.0 / 45, 36.0 / 45, 0, 0},
        // The inch formats at their exact sizes.
        {TPhotoFormat::US2x2, 50.8, 50.8, 25 / 50.8, 35 / 50.8, 28 / 50.8, 35 / 50.8},
        {TPhotoFormat::Canada18x22, 45.72, 55.88, 0.71, 0.80, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        const THeadRule& rule = HeadRule(c.format);
        EXPECT_EQ(rule.PhotoWidthMm, c.widthMm);
        EXPECT_EQ(rule.PhotoHeightMm, c.heightMm);
        EXPECT_DOUBLE_EQ(rule.HeadFraction().Min, c.headMin);
        EXPECT_DOUBLE_EQ(rule.HeadFraction().Max, c.headMax);
        EXPECT_EQ(rule.EyeLineFraction().has_value(), c.eyeMax > 0);
        if (c.eyeMax > 0) {
            EXPECT_DOUBLE_EQ(rule.EyeLineFraction()->Min, c.eyeMin);
            EXPECT_DOUBLE_EQ(rule.EyeLineFraction()->Max, c.eyeMax);
        }
    }
}

TEST(FrameForHead, PutsTheHeadInTheMiddleOfEachRule)
{
    struct Case {
        TPhotoFormat format;
        double head;        // expected, in the rule's unit
        double eyeLineMm;   // expected, 0 where the rule has none
    };
    const Case cases[] = {
        {TPhotoFormat::France35x45, 34.0, 0},
        {TPhotoFormat::US2x2, 30.0, 31.5},
        {TPhotoFormat::Canada18x22, 75.5, 0},
    };
    const THead head = someHead();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        const THeadRule& rule = HeadRule(c.format);
        const std::optional<TFrame> frame = FrameForHead(head, rule);
        ASSERT_TRUE(frame);
        EXPECT_NEAR(frame->Width / frame->Height, rule.Aspect(), 1e-12);
        EXPECT_NEAR(frame->CentreX(), head.CentreX, 1e-9);
        const THeadCheck check = CheckHead(*frame, head, rule);
        EXPECT_NEAR(check.Head, c.head, 1e-9);
        EXPECT_TRUE(check.Passes());
        if (c.eyeLineMm > 0) {
            ASSERT_TRUE(check.EyeLineMm);
            EXPECT_NEAR(*check.EyeLineMm, c.eyeLineMm, 1e-9);
        } else {
            // Equal space above the crown and below the chin.
            EXPECT_NEAR(head.CrownY - frame->Y, frame->Bottom() - head.ChinY, 1e-9);
        }
        // The head lies inside the guides drawn for the rule.
        const TGuides guides = GuidesFor(rule);
        EXPECT_TRUE(guides.CrownBand.Contains((head.CrownY - frame->Y) / frame->Height));
        EXPECT_TRUE(guides.ChinBand.Contains((head.ChinY - frame->Y) / frame->Height));
    }
    EXPECT_FALSE(FrameForHead(THead{500, 500, 300, 500}, HeadRule(TPhotoFormat::France35x45)));
    EXPECT_FALSE(FrameForHead(THead{600, 500, 300, 550}, HeadRule(TPhotoFormat::France35x45)));
}

TEST(GuidesFor, CrownAndChinBandsSpanTheHeadRange)
{
    for (TPhotoFormat format : kFormats) {
        SCOPED_TRACE(static_cast<int>(format));
        const THeadRule& rule = HeadRule(format);
        const TGuides g = GuidesFor(rule);
        EXPECT_NEAR(g.ChinBand.Max - g.CrownBand.Min, rule.HeadFraction().Max, 1e-12);
        EXPECT_NEAR(g.ChinBand.Min - g.CrownBand.Max, rule.HeadFraction().Min, 1e-12);
        EXPECT_GT(g.CrownBand.Min, 0);
        EXPECT_LT(g.ChinBand.Max, 1);
        EXPECT_EQ(g.EyeBand.has_value(), rule.EyeLineMm.has_value());
    }
    // 2 x 2 in.: eyes 28-35 mm above the bottom of 50.8 mm, so 15.8-22.8 mm below the top.
    const TGuides us = GuidesFor(HeadRule(TPhotoFormat::US2x2));
    EXPECT_NEAR(us.EyeBand->Min, 15.8 / 50.8, 1e-12);
    EXPECT_NEAR(us.EyeBand->Max, 22.8 / 50.8, 1e-12);
}

TEST(CheckHead, VerdictsAndTheirWords)
{
    struct Case {
        TPhotoFormat format;
        double headPixels;    // in a frame 900 pixels high
        double eyeFromBottom; // pixels above the frame's bottom edge
        THeadVerdict head;
        THeadVerdict eye;
        const char* text;
    };
    // France: 900 px = 45 mm, 20 px per mm. US: 900 px = 50.8 mm. Canada: 9 px per percent.
    constexpr double us = 900 / 50.8;
    const Case cases[] = {
        {TPhotoFormat::France35x45, 680, 0, THeadVerdict::Within, THeadVerdict::Within,
         "Head height 34.0 mm: within the rule (32-36 mm)."},
        {TPhotoFormat::France35x45, 720.9, 0, THeadVerdict::Within, THeadVerdict::Within,
         "Head height 36.0 mm: within the rule (32-36 mm)."},
        {TPhotoFormat::France35x45, 724, 0, THeadVerdict::TooLarge, THeadVerdict::Within,
         "Head height 36.2 mm: too large, the rule asks for 32-36 mm."},
        {TPhotoFormat::France35x45, 590, 0, THeadVerdict::TooSmall, THeadVerdict::Within,
         "Head height 29.5 mm: too small, the rule asks for 32-36 mm."},
        {TPhotoFormat::US2x2, 30 * us, 31.5 * us, THeadVerdict::Within, THeadVerdict::Within,
         "Head height 30.0 mm: within the rule (25-35 mm)."},
        {TPhotoFormat::US2x2, 30 * us, 25 * us, THeadVerdict::Within, THeadVerdict::TooSmall,
         "Head height 30.0 mm: within the rule (25-35 mm). Eyes 25.0 mm above the bottom: too low, the rule asks for 28-35 mm."},
        {TPhotoFormat::US2x2, 36 * us, 36 * us, THeadVerdict::TooLarge, THeadVerdict::TooLarge,
         "Head height 36.0 mm: too large, the rule asks for 25-35 mm. Eyes 36.0 mm above the bottom: too high, the rule asks for 28-35 mm."},
        {TPhotoFormat::Canada18x22, 630, 0, THeadVerdict::TooSmall, THeadVerdict::Within,
         "Head height 70.0 % of the photo: too small, the rule asks for 71-80 %."},
        {TPhotoFormat::Canada18x22, 700, 0, THeadVerdict::Within, THeadVerdict::Within,
         "Head height 77.8 % of the photo: within the rule (71-80 %)."},
    };
    const TFrame frame{-40.5, 100.25, 0, 900};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const THeadRule& rule = HeadRule(c.format);
        const TFrame f{frame.X, frame.Y, frame.Height * rule.Aspect(), frame.Height};
        const THead head{f.Y + 50, f.Y + 50 + c.headPixels, f.CentreX(), f.Bottom() - c.eyeFromBottom};
        const THeadCheck check = CheckHead(f, head, rule);
        EXPECT_EQ(check.HeadVerdict, c.head);
        EXPECT_EQ(check.EyeVerdict, c.eye);
        EXPECT_EQ(check.Passes(), c.head == THeadVerdict::Within && c.eye == THeadVerdict::Within);
        EXPECT_EQ(HeadSizeText(check, rule), QString::fromUtf8(c.text));
    }
}

TEST(FollowFormat, KeepsTheHeadWhereEachRuleWantsIt)
{
    const THead head = someHead();
    for (TPhotoFormat from : kFormats) {
        for (TPhotoFormat to : kFormats) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(from) << " -> " << static_cast<int>(to));
            const THeadRule& a = HeadRule(from);
            const THeadRule& b = HeadRule(to);
            const TFrame start = *FrameForHead(head, a);
            const TFrame moved = FollowFormat(start, a, b);
            EXPECT_NEAR(moved.Width / moved.Height, b.Aspect(), 1e-12);
            EXPECT_NEAR(moved.CentreX(), start.CentreX(), 1e-9);
            // The head is as far into the new range as it was into the old one.
            EXPECT_NEAR(CheckHead(moved, head, b).Head, b.Head.Mid(), 1e-9);
            EXPECT_TRUE(CheckHead(moved, head, b).Passes());
            // Back again gives the frame the user had.
            const TFrame back = FollowFormat(moved, b, a);
            EXPECT_NEAR(back.X, start.X, 1e-9);
            EXPECT_NEAR(back.Y, start.Y, 1e-9);
            EXPECT_NEAR(back.Width, start.Width, 1e-9);
            EXPECT_NEAR(back.Height, start.Height, 1e-9);
        }
    }
}

TEST(PrintedPixelsPerInch, AgainstTheThreeHundredMark)
{
    struct Case {
        TPhotoFormat format;
        double frameWidth;
        double ppi;
    };
    const Case cases[] = {
        {TPhotoFormat::France35x45, 413, 413 / (35 / 25.4)},   // 299.7: just below
        {TPhotoFormat::France35x45, 414, 414 / (35 / 25.4)},   // 300.5
        {TPhotoFormat::US2x2, 600, 300},           // 2 in. exactly
        {TPhotoFormat::Canada18x22, 1600, 1600 / 1.8},
    };
    for (const Case& c : cases) {
        const THeadRule& rule = HeadRule(c.format);
        const TFrame frame{7, -3, c.frameWidth, c.frameWidth / rule.Aspect()};
        EXPECT_NEAR(PrintedPixelsPerInch(frame, rule), c.ppi, 1e-3);
    }
    EXPECT_LT(PrintedPixelsPerInch(TFrame{0, 0, 413, 531}, HeadRule(TPhotoFormat::France35x45)),
              kMinPrintPixelsPerInch);
}

TEST(HasRuleAspect, WithinOnePixel)
{
    const THeadRule& france = HeadRule(TPhotoFormat::France35x45);
    struct Case {
        TFrame frame;
        bool ok;
    };
    const Case cases[] = {
        {{0, 0, 700, 900}, true},
        {{-50, 20, 700.9, 900}, true},
        {{0, 0, 702, 900}, false},
        {{0, 0, 900, 900}, false},
        {{0, 0, 0, 0}, false},
        {{0, 0, -7, -9}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasRuleAspect(c.frame, france), c.ok) << c.frame.Width << " x " << c.frame.Height;
}

TEST(HeadSizeText, WordingComesFromTheLookupForEveryText)
{
    // Every text a check composes is one of the listed originals.
    const QStringList originals = FramingTexts();
    QStringList asked;
    const TWording lookup = [&](const QString& original) {
        asked << original;
        return QStringLiteral("<%1>").arg(original);
    };
    const THeadRule& us = HeadRule(TPhotoFormat::US2x2);
    THeadCheck check;
    check.Head = 40;
    check.HeadVerdict = THeadVerdict::TooLarge;
    check.EyeLineMm = 20;
    check.EyeVerdict = THeadVerdict::TooSmall;
    EXPECT_EQ(HeadSizeText(check, us, lookup),
              QStringLiteral("<Head height 40.0 mm: too large, the rule asks for 25-35 mm.> "
                             "<Eyes 20.0 mm above the bottom: too low, the rule asks for 28-35 mm.>"));
    check = THeadCheck{75, THeadVerdict::Within, std::nullopt, THeadVerdict::Within};
    HeadSizeText(check, HeadRule(TPhotoFormat::Canada18x22), lookup);
    ASSERT_EQ(asked.size(), 3);
    for (const QString& text : asked)
        EXPECT_TRUE(originals.contains(text)) << text.toStdString();
}

TEST(HeadSizeText, NumbersFollowTheLanguagesDecimalStyle)
{
    THeadCheck check;
    check.Head = 33.95;
    check.HeadVerdict = THeadVerdict::Within;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString french = HeadSizeText(check, HeadRule(TPhotoFormat::France35x45));
    QLocale::setDefault(QLocale::c());
    EXPECT_TRUE(french.startsWith(QStringLiteral("Head height 34,0 mm"))) << french.toStdString();
}
