#include "face_detector.h"

#include "bitmap32.h"
#include "orientation.h"
#include "sheet_formats.h"

#include <gtest/gtest.h>

namespace {

// Measured by hand on the 512 x 600 portrait: the chin's lower edge and the
// pupils' line; the top of the head, hidden under the cap, where the
// temples' hairline and the eyes (half way down the head) put it.
constexpr double kCrownY = 62;
constexpr double kChinY = 320;
constexpr double kEyeY = 190;
constexpr double kFaceCentreX = 262;

const TFaceDetector& detector()
{
    static const TFaceDetector instance;
    return instance;
}

void loadPortrait(TBitmap32& photo)
{
    photo.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
    ASSERT_EQ(photo.Width(), 512);
    ASSERT_EQ(photo.Height(), 600);
}

// Photo enlarged by an integer factor (each pixel a block), like a camera
// photo of the same scene at a higher resolution.
void enlarged(const TBitmap32& photo, int factor, TBitmap32& out)
{
    out.SetSize(photo.Width() * factor, photo.Height() * factor);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetPixel(x, y, photo.Pixel(x / factor, y / factor));
}

}  // namespace

TEST(AutoFrame, HeadOfARealPortraitMeetsEveryRule)
{
    TBitmap32 photo;
    loadPortrait(photo);
    const THead measured{kCrownY, kChinY, kFaceCentreX, kEyeY};
    for (TPhotoFormat format : {TPhotoFormat::France35x45, TPhotoFormat::US2x2, TPhotoFormat::Canada18x22}) {
        SCOPED_TRACE(static_cast<int>(format));
        const THeadRule& rule = HeadRule(format);
        const TAutoFrame result = AutoFrame(detector(), photo, rule);
        ASSERT_TRUE(result.Frame);
        EXPECT_EQ(result.FacesFound, 1);
        EXPECT_TRUE(result.Message.isEmpty()) << result.Message.toStdString();
        const THeadCheck check = CheckHead(*result.Frame, measured, rule);
        EXPECT_TRUE(check.Passes()) << HeadSizeText(check, rule).toStdString();
        // The face is centred across to within a twentieth of the frame.
        EXPECT_NEAR(result.Frame->CentreX(), kFaceCentreX, result.Frame->Width / 20);
    }
}

TEST(AutoFrame, SameFrameAtAHigherResolution)
{
    TBitmap32 photo;
    loadPortrait(photo);
    TBitmap32 large;
    enlarged(photo, 6, large);   // 3072 x 3600, 11 megapixels
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    const TAutoFrame small = AutoFrame(detector(), photo, rule);
    const TAutoFrame big = AutoFrame(detector(), large, rule);
    ASSERT_TRUE(small.Frame);
    ASSERT_TRUE(big.Frame);
    // Detection runs on reduced copies of different sizes: the same frame to
    // within a few percent of its height.
    const double tolerance = 0.05 * small.Frame->Height;
    EXPECT_NEAR(big.Frame->X / 6, small.Frame->X, tolerance);
    EXPECT_NEAR(big.Frame->Y / 6, small.Frame->Y, tolerance);
    EXPECT_NEAR(big.Frame->Height / 6, small.Frame->Height, tolerance);
    const THead measured{kCrownY * 6, kChinY * 6, kFaceCentreX * 6, kEyeY * 6};
    EXPECT_TRUE(CheckHead(*big.Frame, measured, rule).Passes());
}

TEST(AutoFrame, NoFaceLeavesNoFrameAndSaysSo)
{
    TBitmap32 photo;
    loadPortrait(photo);
    // The same portrait upside down: a frontal-face detector finds nobody.
    TBitmap32 upsideDown;
    TurnUpright(photo, TOrientation::BottomRight, upsideDown);
    TBitmap32 empty;
    for (const TBitmap32* p : {&upsideDown, &empty}) {
        const TAutoFrame result = AutoFrame(detector(), *p, HeadRule(TPhotoFormat::France35x45));
        EXPECT_FALSE(result.Frame);
        EXPECT_EQ(result.FacesFound, 0);
        EXPECT_EQ(result.Message, QStringLiteral("No face was found in this photo; the frame stays as it was."));
    }
}

TEST(AutoFrame, SeveralFacesFrameTheLargestAndSaySo)
{
    TBitmap32 photo;
    loadPortrait(photo);
    // The portrait beside a copy at two thirds of its size, on a grey wall.
    TBitmap32 scene;
    scene.SetSize(512 + 360, 600);
    scene.Clear(0xFF808080);
    photo.DrawTo(scene, Rect(0, 0, 512, 600));
    TBitmap32 smaller;
    smaller.SetSize(341, 400);
    photo.SetStretchFilter(sfMitchell);
    photo.DrawTo(smaller, smaller.BoundsRect());
    smaller.DrawTo(scene, Rect(520, 100, 520 + 341, 500));

    const TAutoFrame result = AutoFrame(detector(), scene, HeadRule(TPhotoFormat::France35x45));
    ASSERT_TRUE(result.Frame);
    EXPECT_EQ(result.FacesFound, 2);
    EXPECT_TRUE(result.Message.startsWith(QStringLiteral("2 faces were found"))) << result.Message.toStdString();
    // Framed on the larger face: centred on it, the head near the middle of
    // the rule. The detector's box follows the contrast of the whole scene,
    // so the size is held to a tenth of the range's middle here.
    EXPECT_NEAR(result.Frame->CentreX(), kFaceCentreX, result.Frame->Width / 20);
    const THead measured{kCrownY, kChinY, kFaceCentreX, kEyeY};
    EXPECT_NEAR(CheckHead(*result.Frame, measured, HeadRule(TPhotoFormat::France35x45)).Head, 34, 3.4);
}

TEST(HeadFromFace, RatiosOfTheFaceBox)
{
    const THead withoutEyes = HeadFromFace(TFaceBox{100, 200, 400, 400, std::nullopt});
    EXPECT_DOUBLE_EQ(withoutEyes.CrownY, 200 - 0.22 * 400);
    EXPECT_DOUBLE_EQ(withoutEyes.ChinY, 200 + 0.98 * 400);
    EXPECT_DOUBLE_EQ(withoutEyes.CentreX, 300);
    // The estimated eyes lie half way down the estimated head.
    EXPECT_DOUBLE_EQ(withoutEyes.EyeY - withoutEyes.CrownY, kEyeDepth * withoutEyes.Height());
    EXPECT_DOUBLE_EQ(HeadFromFace(TFaceBox{100, 200, 400, 400, 333.0}).EyeY, 333.0);
}
