#include "photo_check.h"

#include "check_limits.h"
#include "documents.h"
#include "messages.h"
#include "sheet_formats.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A head of 600 pixels in a 3000 x 4000 photo, framed in the middle of the
// rule, with a mesh whose eyes lie 250 pixels apart.
struct TCase {
    TPhotoFacts Facts;
    TPhotoMeasures Measured;
    TFrame Frame;
};

TCase wellTaken(const THeadRule& rule)
{
    TCase c;
    c.Facts.PhotoWidth = 3000;
    c.Facts.PhotoHeight = 4000;
    c.Facts.Head = {1000, 1600, 1500, 1300};
    c.Facts.Faces = {QRectF(1250, 1100, 500, 500)};
    c.Facts.Landmarks.Points.resize(Landmark::kCount);
    c.Facts.Landmarks.Depth.resize(Landmark::kCount);
    c.Frame = *FrameForHead(c.Facts.Head, rule);
    TPhotoMeasures& m = c.Measured;
    m.HasFace = true;
    m.EyeOpening = 0.3;
    m.MouthOpening = 0.01;
    m.EyePixels = 250;
    m.Background = {2, 5, 80, 0.6};
    m.Light = {3, 65, 0, 50, 20};
    m.Sharpness = 2;
    m.Compression = 1.05;
    m.Gaze = TGaze{0.02, 0.01};
    m.NeutralCast = 5;
    return c;
}

const TMeasure& measure(const TMeasures& measures, const char* id)
{
    const auto it = std::find_if(measures.begin(), measures.end(), [&](const TMeasure& m) { return m.Id == id; });
    if (it == measures.end())
        throw std::runtime_error(std::string("no measure ") + id);
    return *it;
}

}  // namespace

TEST(PhotoCheck, AWellTakenPhotoPassesEveryMeasureInTableOrder)
{
    for (TPhotoFormat format : {TPhotoFormat::France35x45, TPhotoFormat::US2x2, TPhotoFormat::Canada18x22}) {
        const THeadRule& rule = HeadRule(format);
        const TCase c = wellTaken(rule);
        const TMeasures measures = CheckPhoto(c.Facts, c.Measured, c.Frame, rule);
        QStringList ids;
        for (const TMeasure& m : measures) {
            ids << m.Id;
            EXPECT_EQ(m.Verdict, TVerdict::Pass) << m.Id.toStdString() << ": " << m.Text.toStdString();
        }
        // The lines only some rules have: an eye line, the colours of an
        // office's row; nothing was edited.
        QStringList expected = CheckIds();
        if (!rule.EyeLineMm)
            expected.removeOne(QStringLiteral("eye_line"));
        if (!rule.Document)
            expected.removeOne(QStringLiteral("background_colour"));
        expected.removeOne(QStringLiteral("unedited"));
        EXPECT_EQ(ids, expected);
    }
}

// Values on either side of each band, and the sentence each verdict says;
// for the 35 x 45 mm size, or a document's row where the row sets the band.
// A case without a sentence is one where the measure has no line.
TEST(PhotoCheck, EachMeasureJudgesItsValueAndSaysWhatToDo)
{
    const struct {
        const char* id;
        std::function<void(TCase&)> change;
        TVerdict verdict;
        const char* text;
        const char* document = nullptr;
    } cases[] = {
        {"roll", [](TCase& c) { c.Measured.Pose.Roll = 5.8; }, TVerdict::Pass, "The head is upright."},
        {"roll", [](TCase& c) { c.Measured.Pose.Roll = 7.5; }, TVerdict::Warn,
         "Tilt your head 8° toward your right shoulder."},
        {"roll", [](TCase& c) { c.Measured.Pose.Roll = -12; }, TVerdict::Fail,
         "Tilt your head 12° toward your left shoulder."},
        {"yaw", [](TCase& c) { c.Measured.Pose.Yaw = 4.5; }, TVerdict::Warn, "Turn your face 5° to your right."},
        {"yaw", [](TCase& c) { c.Measured.Pose.Yaw = -6; }, TVerdict::Fail, "Turn your face 6° to your left."},
        {"pitch", [](TCase& c) { c.Measured.Pose.Pitch = -9; }, TVerdict::Fail, "Lower your chin by 9°."},
        {"eyes_open", [](TCase& c) { c.Measured.EyeOpening = 0.12; }, TVerdict::Warn,
         "An eye looks closed: keep both eyes wide open."},
        {"eyes_open", [](TCase& c) { c.Measured.EyeOpening = 0.05; }, TVerdict::Fail,
         "An eye looks closed: keep both eyes wide open."},
        {"gaze", [](TCase& c) { c.Measured.Gaze = TGaze{-0.3, 0}; }, TVerdict::Fail,
         "The eyes look aside: look straight into the camera."},
        {"gaze", [](TCase& c) { c.Measured.Gaze = TGaze{0.02, 0.07}; }, TVerdict::Warn,
         "The eyes look down: look straight into the camera."},
        {"gaze", [](TCase& c) { c.Measured.Gaze.reset(); }, TVerdict::Warn,
         "The eyes cannot be seen well enough to tell where they look."},
        {"mouth_closed", [](TCase& c) { c.Measured.MouthOpening = 0.2; }, TVerdict::Fail,
         "The mouth is open: close it and keep a neutral expression."},
        {"background_plain", [](TCase& c) { c.Measured.Background.Texture = 12; }, TVerdict::Fail,
         "The background is not plain: stand before a light, plain wall."},
        {"background_plain", [](TCase& c) { c.Measured.Background.Slope = 20; }, TVerdict::Warn,
         "The background is shaded: light the wall evenly or stand farther from it."},
        {"background_light", [](TCase& c) { c.Measured.Background.SeenShare = 0.05; }, TVerdict::Warn,
         "Too little background is visible beside the head to judge it."},
        {"background_light", [](TCase& c) { c.Measured.Background.Lightness = 30; }, TVerdict::Fail,
         "The background is too dark: stand before a light wall."},
        {"background_light",
         [](TCase& c) {
             c.Measured.Background.Lightness = 30;
             c.Measured.Background.Chosen = true;
         },
         TVerdict::Fail, "The chosen background colour is too dark: choose a lighter one."},
        {"lighting_even", [](TCase& c) { c.Measured.Light.HalvesApart = 25; }, TVerdict::Fail,
         "One side of the face is darker: light the face evenly from the front."},
        {"exposure", [](TCase& c) { c.Measured.Light.Lightness = 30; }, TVerdict::Fail,
         "The face is too dark: take the photo in more light."},
        // Too bright without a burnt pixel.
        {"exposure", [](TCase& c) { c.Measured.Light.Lightness = 91; }, TVerdict::Warn,
         "The face is too bright or burnt out: avoid direct flash and strong light."},
        {"exposure", [](TCase& c) { c.Measured.Light.BurntShare = 0.05; }, TVerdict::Warn,
         "The face is too bright or burnt out: avoid direct flash and strong light."},
        // A face of dark skin is no darker for it; a photo without any light tone is.
        {"exposure", [](TCase& c) { c.Measured.Light.Highlights = 50; }, TVerdict::Fail,
         "The face is too dark: take the photo in more light."},
        {"colour", [](TCase& c) { c.Measured.NeutralCast = 18; }, TVerdict::Fail,
         "The skin shows a colour cast: take the photo in daylight or white light."},
        {"colour", [](TCase& c) { c.Measured.Light.SkinHue = 120; }, TVerdict::Fail,
         "The skin shows a colour cast: take the photo in daylight or white light."},
        {"colour", [](TCase& c) { c.Measured.NeutralCast.reset(); }, TVerdict::Warn,
         "No white of the eyes is seen to judge the colour against."},
        {"colour", [](TCase& c) { c.Measured.Light.SkinChroma = 2; }, TVerdict::Warn,
         "The photo looks black and white: offices ask for a colour photo."},
        {"sharpness", [](TCase& c) { c.Measured.Sharpness = 0.6; }, TVerdict::Warn,
         "The face is blurred: hold the camera still and focus on the eyes."},
        {"sharpness", [](TCase& c) { c.Measured.Sharpness.reset(); }, TVerdict::Warn,
         "The face is too small in the photo to judge this."},
        {"compression", [](TCase& c) { c.Measured.Compression = 2.4; }, TVerdict::Fail,
         "The photo shows JPEG blocks: use the camera's own file, or save it at a higher quality."},
        {"resolution", [](TCase& c) { c.Measured.EyePixels = 100; }, TVerdict::Warn,
         "The photo has too few pixels for a sharp print: 448 ppi printed, 100 pixels between the eyes; use a "
         "larger photo."},
        // About 250 printed pixels per inch, then under 225.
        {"resolution", [](TCase& c) { c.Frame.Width = 345; }, TVerdict::Warn,
         "The photo has too few pixels for a sharp print: 250 ppi printed, 250 pixels between the eyes; use a "
         "larger photo."},
        {"resolution", [](TCase& c) { c.Frame.Width = 300; }, TVerdict::Fail,
         "The photo has too few pixels for a sharp print: 218 ppi printed, 250 pixels between the eyes; use a "
         "larger photo."},
        {"glasses", [](TCase& c) { c.Measured.Glasses.Frame = 0.8; }, TVerdict::Warn,
         "Glasses seen: many offices ask for a photo without them."},
        {"centred", [](TCase& c) { c.Frame.X += 0.08 * c.Frame.Width; }, TVerdict::Warn,
         "The face is 8 % off the middle: move the frame to the left."},
        // The hair runs on past the photo's top, the estimated crown inside it.
        {"crown_visible", [](TCase& c) { c.Facts.CrownCut = true; }, TVerdict::Fail,
         "The top of the head is cut off: take the photo with space above the hair."},
        {"crown_visible", [](TCase& c) { c.Frame.Y = 1100; }, TVerdict::Fail,
         "The head reaches past the frame: make the frame larger."},
        // The chin below the frame.
        {"crown_visible", [](TCase& c) { c.Frame.Y = 1600 - c.Frame.Height - 20; }, TVerdict::Fail,
         "The head reaches past the frame: make the frame larger."},
        {"top_margin", [](TCase& c) { c.Frame.Y = 1000 - 0.03 * c.Frame.Height; }, TVerdict::Warn,
         "The head is too close to the top edge: move the frame up or make it larger."},
        {"top_margin", [](TCase& c) { c.Frame.Y = 1000; }, TVerdict::Fail,
         "The head is too close to the top edge: move the frame up or make it larger."},
        {"frame_filled", [](TCase& c) { c.Frame.X = -0.01 * c.Frame.Width; }, TVerdict::Warn,
         "The frame reaches past the photo: a white band of 1 % would print; move the frame inside the photo."},
        {"frame_filled", [](TCase& c) { c.Frame.Y = 4000 - 0.9 * c.Frame.Height; }, TVerdict::Fail,
         "The frame reaches past the photo: a white band of 10 % would print; move the frame inside the photo."},
        // A second face whose middle lies just below the frame, in its columns.
        {"one_face",
         [](TCase& c) { c.Facts.Faces.push_back(QRectF(c.Frame.X + 50, c.Frame.Bottom() - 100, 250, 250)); },
         TVerdict::Fail, "2 faces were found: only one person may be in the photo."},
        {"one_face", [](TCase& c) { c.Facts.Faces.push_back(QRectF(0, 0, 100, 100)); }, TVerdict::Pass, "One face."},
        {"one_face",
         [](TCase& c) {
             c.Facts.Faces.push_back(QRectF(c.Frame.X, c.Frame.Y, 10, 10));
             c.Facts.MoreFaces = true;
         },
         TVerdict::Fail, "At least 2 faces were found: only one person may be in the photo."},
        // The background's colour against the row's: light blue where only
        // white is taken, and where light blue is.
        {"background_colour", [](TCase& c) { c.Measured.Background.A = -2.6, c.Measured.Background.B = -13.7; },
         TVerdict::Fail, "The background's colour is not one the office takes; it takes white.", "us-visa"},
        {"background_colour", [](TCase& c) { c.Measured.Background.A = -2.6, c.Measured.Background.B = -13.7; },
         TVerdict::Pass, "The background has a colour the office takes.", "cn-visa"},
        {"background_colour", [](TCase& c) { c.Measured.Background.B = 9; }, TVerdict::Warn,
         "The background's colour is not one the office takes; it takes white, light blue.", "cn-visa"},
        // China's 3-5 mm above the crown, in a frame 48 mm high.
        {"top_margin", [](TCase& c) { c.Frame.Y = 1000 - 2.0 / 48 * c.Frame.Height; }, TVerdict::Fail,
         "The head is too close to the top edge: move the frame up or make it larger.", "cn-visa"},
        {"top_margin", [](TCase& c) { c.Frame.Y = 1000 - 6.5 / 48 * c.Frame.Height; }, TVerdict::Fail,
         "There is too much space above the head: move the frame down.", "cn-visa"},
        {"top_margin", [](TCase& c) { c.Frame.Y = 1000 - 4.8 / 48 * c.Frame.Height; }, TVerdict::Pass,
         "There is room above the head.", "cn-visa"},
        // A plain background put in where the office refuses edits; none
        // where it takes them, or where nothing was edited.
        {"unedited", [](TCase& c) { c.Measured.BackgroundReplaced = true; }, TVerdict::Fail,
         "us-passport: the office refuses photos whose background was changed.", "us-passport"},
        {"unedited", [](TCase& c) { c.Measured.BackgroundReplaced = true; }, TVerdict::Pass, nullptr, "fr-passport"},
        {"unedited", [](TCase&) {}, TVerdict::Pass, nullptr, "us-passport"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.id) + ": " + (c.text ? c.text : "no line") + " " + (c.document ? c.document : ""));
        const THeadRule rule = c.document ? DocumentRule(*FindDocument(c.document)) : HeadRule(TPhotoFormat::France35x45);
        TCase photo = wellTaken(rule);
        c.change(photo);
        const TMeasures measures = CheckPhoto(photo.Facts, photo.Measured, photo.Frame, rule);
        if (!c.text) {
            EXPECT_FALSE(std::any_of(measures.begin(), measures.end(), [&](const TMeasure& m) { return m.Id == c.id; }));
            continue;
        }
        const TMeasure& m = measure(measures, c.id);
        EXPECT_EQ(m.Verdict, c.verdict);
        EXPECT_EQ(m.Text.toStdString(), c.text);
        // The change shows in its own measure only (a frame moved may also
        // move the other framing measures); unseen background leaves both
        // of its measures open.
        int others = 0;
        for (const TMeasure& other : measures)
            others += other.Id != QLatin1String(c.id) && other.Verdict != TVerdict::Pass
                      && !(other.Id.startsWith(QLatin1String("background")) && photo.Measured.Background.SeenShare < 0.1)
                      && !(QStringList{"centred", "crown_visible", "top_margin", "frame_filled", "head_height"}.contains(
                               other.Id)
                           && QStringList{"centred", "crown_visible", "top_margin", "frame_filled", "resolution"}.contains(
                               QLatin1String(c.id)));
        EXPECT_EQ(others, 0);
    }
}

// Every row of the table: its name and source are messages of the catalogue
// (so every language says them), its id is unique, and its look-at-it band
// holds its pass band (a value that passes is never worse elsewhere).
TEST(MeasureTable, EveryRowIsTranslatableWithNestedBands)
{
    const QStringList catalogue = MessageOriginals();
    QStringList ids;
    for (const TMeasureRow& row : MeasureTable()) {
        const QString id = QString::fromLatin1(row.Id.data(), static_cast<qsizetype>(row.Id.size()));
        SCOPED_TRACE(id.toStdString());
        EXPECT_FALSE(ids.contains(id));
        ids << id;
        EXPECT_TRUE(catalogue.contains(QString::fromUtf8(row.Name)));
        EXPECT_TRUE(catalogue.contains(QString::fromUtf8(row.Source)));
        EXPECT_LE(row.LookAt.Low, row.Pass.Low);
        EXPECT_GE(row.LookAt.High, row.Pass.High);
        EXPECT_EQ(FindMeasureRow(id), &row);
    }
}

// Glasses clearly seen, by the office's word: refused (the US passport, the
// built-in 2 x 2 in. among them), taken without glare or tint, or not spoken
// of; a size of no office's leaves them to the user.
TEST(PhotoCheck, GlassesFailOnlyWhereTheOfficeRefusesThem)
{
    const char* const refused = "Glasses seen: photos for this format must be taken without glasses.";
    const char* const withoutGlare = "Glasses seen: the office takes them only without glare or tinted lenses.";
    const char* const look = "Glasses seen: many offices ask for a photo without them.";
    const struct {
        THeadRule rule;
        TVerdict verdict;
        const char* text;
    } cases[] = {
        {HeadRule(TPhotoFormat::France35x45), TVerdict::Warn, look},
        {HeadRule(TPhotoFormat::US2x2), TVerdict::Fail, refused},
        {HeadRule(TPhotoFormat::Canada18x22), TVerdict::Warn, look},
        {DocumentRule(*FindDocument("mx-passport")), TVerdict::Fail, refused},
        {DocumentRule(*FindDocument("de-passport")), TVerdict::Warn, withoutGlare},
        {DocumentRule(*FindDocument("es-dni")), TVerdict::Warn, withoutGlare},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TCase photo = wellTaken(c.rule);
        photo.Measured.Glasses.Frame = 0.8;
        const TMeasures measures = CheckPhoto(photo.Facts, photo.Measured, photo.Frame, c.rule);
        const TMeasure& m = measure(measures, "glasses");
        EXPECT_EQ(m.Verdict, c.verdict);
        EXPECT_EQ(m.Text.toStdString(), c.text);
    }
}

TEST(PhotoCheck, WithoutAFaceOnlyOneFaceIsReported)
{
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    TCase c = wellTaken(rule);
    c.Facts.Faces.clear();
    c.Measured = {};
    const TMeasures measures = CheckPhoto(c.Facts, c.Measured, c.Frame, rule);
    ASSERT_EQ(measures.size(), 1u);
    EXPECT_EQ(measures[0].Id, QStringLiteral("one_face"));
    EXPECT_EQ(measures[0].Verdict, TVerdict::Fail);
}
