// Every row of the table of documents, walked once: what the framing, the
// check, the sheet and the online photo make of it must be possible.
#include "country_names.h"
#include "digital_photo.h"
#include "documents.h"
#include "frame.h"
#include "photo_check.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString text(std::string_view v)
{
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

TEST(DocumentTable, EveryRowIsSaneAndItsOnlineFormCanBeWritten)
{
    TBitmap32 portrait;
    portrait.SetStretchFilter(sfMitchell);
    portrait.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
    ASSERT_FALSE(portrait.Empty());
    const QRegularExpression date(QStringLiteral("^20[0-9]{2}-[01][0-9](-[0-3][0-9])?$"));
    QSet<QString> ids;
    for (const TDocument& d : Documents()) {
        const QString id = text(d.Id);
        SCOPED_TRACE(id.toStdString());
        EXPECT_FALSE(ids.contains(id)) << "a second row of this id";
        ids.insert(id);
        // The id starts with the country's code; an online form's ends so.
        EXPECT_TRUE(id.startsWith(text(d.Country).toLower() + u'-'));
        EXPECT_EQ(id.endsWith(QLatin1String("-online")), d.Online.has_value());
        EXPECT_NE(CountryName(d.Country), text(d.Country)) << "a country the locale data names";
        EXPECT_TRUE(d.Name && *d.Name);
        EXPECT_FALSE(d.Source.empty());
        EXPECT_TRUE(date.match(text(d.Read)).hasMatch()) << d.Read;

        // A photo a sheet can hold, the head inside it, the eyes inside the
        // head's bands, the background among the accepted colours.
        EXPECT_GE(d.WidthMm, 20);
        EXPECT_LE(d.WidthMm, 60);
        EXPECT_GE(d.HeightMm, d.WidthMm);
        EXPECT_LE(d.HeightMm, 80);
        const THeadRule rule = DocumentRule(d);
        EXPECT_EQ(rule.Document, &d);
        const TRange head = rule.HeadFraction();
        EXPECT_GT(head.Min, 0.4);
        EXPECT_LE(head.Min, head.Max);
        EXPECT_LT(head.Max, 0.9);
        const TGuides guides = GuidesFor(rule);
        if (d.EyeLine) {
            ASSERT_TRUE(guides.EyeBand);
            EXPECT_LT(guides.CrownBand.Min, guides.EyeBand->Min);
            EXPECT_LT(guides.EyeBand->Max, guides.ChinBand.Max);
        }
        if (d.TopMargin) {
            // The margin above the crown leaves room for the smallest head.
            const double mm = d.Unit == TRuleUnit::Millimetres ? 1 : d.HeightMm / 100;
            EXPECT_LT((d.TopMargin->Max + d.Head.Min) * mm, d.HeightMm);
        }
        EXPECT_TRUE(d.Backdrops & BackdropBit(d.Backdrop));

        // A head framed automatically meets the row's framing lines (its
        // height, eye line, top margin), which cite the office's page.
        TPhotoFacts facts;
        facts.PhotoWidth = 3000;
        facts.PhotoHeight = 4000;
        facts.Head = {1000, 1600, 1500, 1300};
        facts.Faces = {QRectF(1250, 1100, 500, 500)};
        TPhotoMeasures measured;
        measured.HasFace = true;
        for (const TMeasure& m : CheckPhoto(facts, measured, *FrameForHead(facts.Head, rule), rule)) {
            if (m.Id == QLatin1String("head_height") || m.Id == QLatin1String("eye_line")
                || m.Id == QLatin1String("top_margin")) {
                EXPECT_EQ(m.Verdict, TVerdict::Pass) << m.Id.toStdString() << ": " << m.Text.toStdString();
            }
            if (m.Id == QLatin1String("head_height")) {
                EXPECT_TRUE(m.Source.contains(text(d.Source))) << m.Source.toStdString();
            }
        }

        if (!d.Online)
            continue;
        // The file the form takes: its shape the rule's, its pixels within
        // the form's and Quorlo's limits, a portrait's JPEG at some quality
        // within its bytes.
        const TOnlineForm& form = *d.Online;
        EXPECT_NEAR(static_cast<double>(form.Width) / form.Height, rule.Aspect(), 0.01);
        EXPECT_GE(form.Width, form.LeastWidth);
        EXPECT_GE(form.Height, form.LeastHeight);
        EXPECT_GE(form.LeastWidth, kMinDigitalSide);
        EXPECT_LE(form.Width, kMaxDigitalSide);
        const TDigitalSize size = ParseDigitalSize(text(OnlineKey(d)));
        EXPECT_EQ(size.Width, form.Width);
        EXPECT_EQ(DigitalHeadRule(size).Document, &d);
        TBitmap32 pixels;
        pixels.SetStretchFilter(sfMitchell);
        RenderDigitalPhoto(portrait, std::nullopt, size, pixels);
        const TDigitalJpeg jpeg = EncodeDigitalPhoto(pixels, size);
        EXPECT_GE(jpeg.Bytes.size(), form.MinBytes);
        if (form.MaxBytes > 0) {
            EXPECT_LE(jpeg.Bytes.size(), form.MaxBytes);
        }
    }
    EXPECT_GE(ids.size(), 30);
}

// The online file is framed in its form's own shape and by its form's rule,
// whatever format the window's frame was made for: the UK file from a square
// 2 x 2 in. frame gets the head where the UK rule wants it.
TEST(DigitalFrame, TakesTheFormsShapeAndHeadRule)
{
    const THead head{400, 800, 1000, 600};   // crown, chin, centre, eyes
    const THeadRule us = DocumentRule(*FindDocument("us-passport"));
    const TDigitalSize uk = ParseDigitalSize(QStringLiteral("uk"));
    const std::optional<TFrame> square = FrameForHead(head, us);
    ASSERT_TRUE(square);
    const std::optional<TFrame> frame = DigitalFrame(square, us, uk);
    ASSERT_TRUE(frame);
    EXPECT_NEAR(frame->Width / frame->Height, 700.0 / 900, 1e-9);
    const THeadRule ukRule = DigitalHeadRule(uk);
    EXPECT_EQ(ukRule.Head, (TRange{29, 34}));
    const THeadCheck check = CheckHead(*frame, head, ukRule);
    EXPECT_NEAR(check.Head, 31.5, 1e-9);
    EXPECT_TRUE(check.Passes());
    EXPECT_FALSE(DigitalFrame(std::nullopt, us, uk));
}

}  // namespace
