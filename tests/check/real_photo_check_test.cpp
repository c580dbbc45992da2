#include "photo_check.h"

#include "bitmap32.h"
#include "sheet_formats.h"

#include <QImage>

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

const QString kModels = QStringLiteral(QRL_TEST_MODEL_DIR);

TFaceModels& models()
{
    static TFaceModels instance{kModels};
    return instance;
}

void loadImage(const char* path, TBitmap32& photo)
{
    const QImage image(QString::fromUtf8(path));
    ASSERT_FALSE(image.isNull()) << path;
    photo.Assign(image);
}

TPhotoAnalysis analyse(const TBitmap32& photo)
{
    return AnalysePhoto(photo, models());
}

// The measures that do not pass, with the photo framed for the rule.
std::set<std::string> flagged(const TPhotoAnalysis& analysis, const THeadRule& rule)
{
    std::set<std::string> ids;
    if (analysis.Faces.empty())
        return {"no face"};
    const TFrame frame = *FrameForHead(analysis.Facts.Head, rule);
    for (const TMeasure& m : CheckPhoto(analysis.Facts, analysis.Measured, frame, rule))
        if (m.Verdict != TVerdict::Pass)
            ids.insert(m.Id.toStdString());
    return ids;
}

cv::Mat pixels(TBitmap32& photo)
{
    return cv::Mat(photo.Height(), photo.Width(), CV_8UC4, photo.Bits());
}

// The person before another background, blended by the person mask.
void pasted(TBitmap32& photo, const TPersonMaskMap& mask, const std::function<TColor32(int, int)>& background)
{
    for (int y = 0; y < photo.Height(); ++y)
        for (int x = 0; x < photo.Width(); ++x) {
            const double a = std::clamp((mask.At(QPointF(x + 0.5, y + 0.5)) - 0.3) / 0.4, 0.0, 1.0);
            const TColor32 f = photo.Pixel(x, y);
            const TColor32 b = background(x, y);
            const auto mix = [a](int front, int back) { return static_cast<int>(std::lround(front * a + back * (1 - a))); };
            photo.SetPixel(x, y, Color32(mix(RedComponent(f), RedComponent(b)), mix(GreenComponent(f), GreenComponent(b)),
                                         mix(BlueComponent(f), BlueComponent(b))));
        }
}

TColor32 lightGrey(int, int)
{
    return Color32(205, 205, 205);
}

// Light stripes and blocks, as a shelf or a patterned wall.
TColor32 busyTexture(int x, int y)
{
    if ((x / 9 + y / 7) % 3 == 0)
        return Color32(150, 175, 215);
    return (x / 5 + y / 11) % 2 ? Color32(250, 240, 200) : Color32(200, 160, 150);
}

// Two stops less light: a quarter of the linear light in every channel.
void darkened(TBitmap32& photo)
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        const double v = i / 255.0;
        const double linear = (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4)) / 4;
        const double s = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
        table[static_cast<std::size_t>(i)] = cv::saturate_cast<std::uint8_t>(s * 255 + 0.5);
    }
    cv::Mat m = pixels(photo);
    cv::Mat lut(1, 256, CV_8UC4);
    for (int i = 0; i < 256; ++i)
        lut.at<cv::Vec4b>(i) = {table[static_cast<std::size_t>(i)], table[static_cast<std::size_t>(i)],
                                table[static_cast<std::size_t>(i)], 255};
    cv::LUT(m, lut, m);
}

}  // namespace

// Grace Hopper's portrait (python-matplotlib-data) before a plain light grey
// wall, then changed one way at a time: each change is flagged by the
// measures it should be, and by no other.
TEST(RealPhotoCheck, EachControlledChangeIsFlaggedByItsMeasure)
{
    TBitmap32 original;
    loadImage(QRL_TEST_PORTRAIT, original);
    const TPhotoAnalysis first = analyse(original);
    ASSERT_EQ(first.Faces.size(), 1u);
    TBitmap32 base;
    base.Assign(&original);
    pasted(base, first.Faces[0].Mask, lightGrey);
    const THead head = first.Facts.Head;
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    const std::set<std::string> before = flagged(analyse(base), rule);
    // Only what this portrait itself shows: glasses, and too few pixels.
    EXPECT_EQ(before, (std::set<std::string>{"glasses", "resolution"}));

    const struct {
        const char* change;
        std::function<void(TBitmap32&)> apply;
        std::set<std::string> newly;
    } cases[] = {
        {"turned 12°",
         [](TBitmap32& p) {
             cv::Mat m = pixels(p);
             const cv::Mat turn = cv::getRotationMatrix2D(cv::Point2f(p.Width() / 2.f, p.Height() / 2.f), 12, 1);
             cv::Mat out;
             cv::warpAffine(m, out, turn, m.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
             out.copyTo(m);
         },
         {"roll"}},
        // A darker photo has a darker wall too.
        {"two stops darker", darkened, {"exposure", "background_light"}},
        {"blurred",
         [](TBitmap32& p) {
             cv::Mat m = pixels(p);
             cv::GaussianBlur(m, m, cv::Size(), 3);
         },
         {"sharpness"}},
        {"before a busy texture", [&](TBitmap32& p) { pasted(p, first.Faces[0].Mask, busyTexture); },
         {"background_plain"}},
        {"cropped through the crown",
         [&](TBitmap32& p) {
             const int top = static_cast<int>(head.CrownY + 0.12 * head.Height());
             TBitmap32 cropped;
             cropped.SetSize(p.Width(), p.Height() - top);
             for (int y = 0; y < cropped.Height(); ++y)
                 std::copy_n(p.ScanLine(y + top), p.Width(), cropped.ScanLine(y));
             p.Assign(&cropped);
         },
         {"crown_visible"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        TBitmap32 photo;
        photo.Assign(&base);
        c.apply(photo);
        std::set<std::string> newly;
        for (const std::string& id : flagged(analyse(photo), rule))
            if (!before.count(id))
                newly.insert(id);
        EXPECT_EQ(newly, c.newly);
    }
}

// The two real portraits Debian ships: glasses on one, a smile with the
// teeth apart on the other; glasses fail only where the office refuses them.
TEST(RealPhotoCheck, GlassesAndAnOpenMouthOnRealPortraits)
{
    const struct {
        const char* path;
        TPhotoFormat format;
        std::map<std::string, TVerdict> verdicts;
    } cases[] = {
        {QRL_TEST_PORTRAIT, TPhotoFormat::France35x45, {{"glasses", TVerdict::Warn}, {"mouth_closed", TVerdict::Pass}}},
        {QRL_TEST_PORTRAIT, TPhotoFormat::US2x2, {{"glasses", TVerdict::Fail}}},
        {QRL_TEST_ASTRONAUT, TPhotoFormat::US2x2, {{"glasses", TVerdict::Pass}, {"mouth_closed", TVerdict::Fail}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TBitmap32 photo;
        loadImage(c.path, photo);
        const TPhotoAnalysis analysis = analyse(photo);
        ASSERT_FALSE(analysis.Faces.empty());
        const THeadRule& rule = HeadRule(c.format);
        const TMeasures measures =
            CheckPhoto(analysis.Facts, analysis.Measured, *FrameForHead(analysis.Facts.Head, rule), rule);
        for (const auto& [wanted, verdict] : c.verdicts) {
            // A structured binding cannot be captured before C++20's clang support.
            const std::string id = wanted;
            const auto m = std::find_if(measures.begin(), measures.end(),
                                        [&](const TMeasure& x) { return x.Id.toStdString() == id; });
            ASSERT_NE(m, measures.end()) << id;
            EXPECT_EQ(m->Verdict, verdict) << id << ": " << m->Value;
        }
    }
}
