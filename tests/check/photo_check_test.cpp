#include "photo_check.h"

#include "check_limits.h"
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
        QStringList expected = CheckIds();
        if (!rule.EyeLineMm)
            expected.removeOne(QStringLiteral("eye_line"));
        EXPECT_EQ(ids, expected);
    }
}

TEST(PhotoCheck, EachMeasureJudgesItsValueAndSaysWhatToDo)
{
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    const struct {
        const char* id;
        std::function<void(TCase&)> change;
        TVerdict verdict;
        const char* text;
    } cases[] = {
        {"roll", [](TCase& c) { c.Measured.Pose.Roll = 7.6; }, TVerdict::Pass, "The head is upright."},
        {"roll", [](TCase& c) { c.Measured.Pose.Roll = 10; }, TVerdict::Warn,
         "Tilt your head 10° toward your right shoulder."},
        {"roll", [](TCase& c) { c.Measured.Pose.Roll = -13; }, TVerdict::Fail,
         "Tilt your head 13° toward your left shoulder."},
        {"yaw", [](TCase& c) { c.Measured.Pose.Yaw = 6; }, TVerdict::Warn, "Turn your face 6° to your right."},
        {"pitch", [](TCase& c) { c.Measured.Pose.Pitch = -9; }, TVerdict::Fail, "Lower your chin by 9°."},
        {"eyes_open", [](TCase& c) { c.Measured.EyeOpening = 0.05; }, TVerdict::Fail,
         "An eye looks closed: keep both eyes wide open."},
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
        {"lighting_even", [](TCase& c) { c.Measured.Light.HalvesApart = 20; }, TVerdict::Fail,
         "One side of the face is darker: light the face evenly from the front."},
        {"exposure", [](TCase& c) { c.Measured.Light.Lightness = 30; }, TVerdict::Fail,
         "The face is too dark: take the photo in more light."},
        {"exposure", [](TCase& c) { c.Measured.Light.BurntShare = 0.05; }, TVerdict::Warn,
         "The face is too bright or burnt out: avoid direct flash and strong light."},
        {"colour", [](TCase& c) { c.Measured.Light.SkinHue = 120; }, TVerdict::Fail,
         "The skin shows a colour cast: take the photo in daylight or white light."},
        {"colour", [](TCase& c) { c.Measured.Light.SkinChroma = 2; }, TVerdict::Warn,
         "The photo looks black and white: offices ask for a colour photo."},
        {"sharpness", [](TCase& c) { c.Measured.Sharpness = 0.3; }, TVerdict::Fail,
         "The face is blurred: hold the camera still and focus on the eyes."},
        {"resolution", [](TCase& c) { c.Measured.EyePixels = 100; }, TVerdict::Warn,
         "The photo has too few pixels for a sharp print: 448 ppi printed, 100 pixels between the eyes; use a "
         "larger photo."},
        {"glasses", [](TCase& c) { c.Measured.Glasses.BridgeEdge = 15; }, TVerdict::Warn,
         "Glasses seen: many offices ask for a photo without them."},
        {"glasses", [](TCase& c) { c.Measured.Glasses.GlareShare = 0.05; }, TVerdict::Warn,
         "Glasses seen: many offices ask for a photo without them."},
        {"centred", [](TCase& c) { c.Frame.X += 0.08 * c.Frame.Width; }, TVerdict::Warn,
         "The face is 8 % off the middle: move the frame to the left."},
        {"crown_visible", [](TCase& c) { c.Facts.CrownCut = true; }, TVerdict::Fail,
         "The top of the head is cut off: take the photo with space above the hair."},
        {"crown_visible", [](TCase& c) { c.Frame.Y = 1100; }, TVerdict::Fail,
         "The head reaches past the frame: make the frame larger."},
        {"one_face", [](TCase& c) { c.Facts.Faces.push_back(QRectF(c.Frame.X, c.Frame.Y, 10, 10)); },
         TVerdict::Fail, "2 faces were found: only one person may be in the photo."},
        {"one_face", [](TCase& c) { c.Facts.Faces.push_back(QRectF(0, 0, 100, 100)); }, TVerdict::Pass,
         "One face."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TCase photo = wellTaken(rule);
        c.change(photo);
        const TMeasures measures = CheckPhoto(photo.Facts, photo.Measured, photo.Frame, rule);
        const TMeasure& m = measure(measures, c.id);
        EXPECT_EQ(m.Verdict, c.verdict);
        EXPECT_EQ(m.Text.toStdString(), c.text);
        // The change shows in its own measure only; unseen background
        // leaves both of its measures open.
        const int flagged = c.verdict == TVerdict::Pass ? 0 : photo.Measured.Background.SeenShare < 0.1 ? 2 : 1;
        EXPECT_EQ(CountVerdict(measures, TVerdict::Pass), static_cast<int>(measures.size()) - flagged);
    }
}

TEST(PhotoCheck, GlassesFailOnlyWhereTheOfficeRefusesThem)
{
    for (TPhotoFormat format : {TPhotoFormat::France35x45, TPhotoFormat::US2x2, TPhotoFormat::Canada18x22}) {
        const THeadRule& rule = HeadRule(format);
        TCase c = wellTaken(rule);
        c.Measured.Glasses.BridgeEdge = 15;
        const TVerdict expected = format == TPhotoFormat::US2x2 ? TVerdict::Fail : TVerdict::Warn;
        EXPECT_EQ(measure(CheckPhoto(c.Facts, c.Measured, c.Frame, rule), "glasses").Verdict, expected);
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
