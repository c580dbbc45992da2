#include "photo_check.h"

#include "check_image.h"
#include "check_limits.h"

#include "bitmap32.h"
#include "messages.h"

#include <cmath>

namespace {

using namespace CheckLimit;

class TTable {
public:

    static QString Text(const char* original) { return MessageText(original); }
    void Add(const char* id, double value, const QString& limit, TVerdict verdict, const QString& text)
    {
        FMeasures.push_back({QString::fromLatin1(id), value, limit, verdict, text});
    }
    // Pass, or the sentence for a value beyond the limit in either direction.
    void AddTurn(const char* id, double value, double limit, const char* passText, const char* negativeText,
                 const char* positiveText)
    {
        const TVerdict verdict = VerdictAtMost(std::abs(value), limit, limit * kPoseWarnFactor);
        const QString text = verdict == TVerdict::Pass ? Text(passText)
                                                       : Text(value < 0 ? negativeText : positiveText)
                                                             .arg(std::lround(std::abs(value)));
        Add(id, round1(value), QStringLiteral("%1°").arg(limit), verdict, text);
    }
    TMeasures Take() { return std::move(FMeasures); }

    static double round1(double v) { return std::round(v * 10) / 10; }
    static double round2(double v) { return std::round(v * 100) / 100; }

private:
    TMeasures FMeasures;
};

QString rangeText(const TRange& range, const char* unit)
{
    return QStringLiteral("%1-%2 %3").arg(range.Min).arg(range.Max).arg(QLatin1String(unit));
}

TVerdict worse(TVerdict a, TVerdict b)
{
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

}  // namespace

TPhotoFacts PhotoFactsOf(const TBitmap32& Photo, const std::vector<TMeasuredFace>& Faces)
{
    TPhotoFacts facts;
    facts.PhotoWidth = Photo.Width();
    facts.PhotoHeight = Photo.Height();
    for (const TMeasuredFace& face : Faces)
        facts.Faces.push_back(face.Face.Box);
    if (Faces.empty())
        return facts;
    const TMeasuredFace& checked = Faces.front();
    facts.Landmarks = checked.Landmarks;
    facts.Head = checked.Head.Head;
    facts.Person = checked.Mask;
    // The person still there on the photo's top row above the face: the
    // hair, and so the crown, goes on past the edge.
    facts.CrownCut = facts.Head.CrownY <= 0
                     || (!checked.Mask.Empty() && checked.Mask.At(QPointF(facts.Head.CentreX, 0.5)) >= 0.5);
    return facts;
}

TPhotoMeasures MeasurePhoto(const TBitmap32& Photo, const TPhotoFacts& Facts)
{
    TPhotoMeasures measured;
    if (Facts.Faces.empty() || !IsCompleteMesh(Facts.Landmarks))
        return measured;
    measured.HasFace = true;
    measured.Pose = FacePose(Facts.Landmarks);
    measured.EyeOpening = EyeOpening(Facts.Landmarks);
    measured.MouthOpening = MouthOpening(Facts.Landmarks);
    measured.EyePixels = EyeDistance(Facts.Landmarks);
    const TFaceRegions face = FaceRegionsOf(Facts.Landmarks, Facts.Head);
    const TCheckImage image(Photo, face, Facts.Person);
    measured.Background = MeasureBackground(image, face);
    measured.Light = MeasureFaceLight(image, face);
    measured.Sharpness = MeasureSharpness(image);
    measured.Glasses = MeasureGlasses(image, face);
    return measured;
}

TPhotoAnalysis AnalysePhoto(const TBitmap32& Photo, TFaceModels& Models)
{
    TPhotoAnalysis analysis;
    analysis.Faces = MeasureFaces(Photo, Models.Finder(), Models.Mesh(), Models.Mask());
    analysis.Facts = PhotoFactsOf(Photo, analysis.Faces);
    analysis.Measured = MeasurePhoto(Photo, analysis.Facts);
    return analysis;
}

TFrame UnframedFrame(int PhotoWidth, int PhotoHeight, const THeadRule& Rule)
{
    const double aspect = Rule.Aspect();
    if (PhotoWidth >= PhotoHeight * aspect)
        return {0, 0, static_cast<double>(PhotoWidth), PhotoWidth / aspect};
    return {0, 0, PhotoHeight * aspect, static_cast<double>(PhotoHeight)};
}

TPersonMaskMap WholePhotoPersonMask(const TBitmap32& Photo, TPersonMask& Mask)
{
    const double side = std::max(Photo.Width(), Photo.Height());
    return Mask.Compute(Photo, QRectF((Photo.Width() - side) / 2, (Photo.Height() - side) / 2, side, side));
}

QStringList CheckIds()
{
    return {QStringLiteral("head_height"),   QStringLiteral("eye_line"),        QStringLiteral("centred"),
            QStringLiteral("crown_visible"), QStringLiteral("roll"),            QStringLiteral("yaw"),
            QStringLiteral("pitch"),         QStringLiteral("eyes_open"),       QStringLiteral("mouth_closed"),
            QStringLiteral("background_plain"), QStringLiteral("background_light"), QStringLiteral("lighting_even"),
            QStringLiteral("exposure"),      QStringLiteral("colour"),          QStringLiteral("sharpness"),
            QStringLiteral("resolution"),    QStringLiteral("glasses"),         QStringLiteral("one_face")};
}

namespace {

using namespace Msg;

// The head against the format's rule, in the frame and in the photo.
void addFraming(TTable& table, const TPhotoFacts& facts, const TFrame& frame, const THeadRule& rule,
                const TWording& wording)
{
    const THead& head = facts.Head;
    const THeadCheck fit = CheckHead(frame, head, rule);
    table.Add("head_height", TTable::round1(fit.Head), rangeText(rule.Head, rule.Unit == TRuleUnit::Millimetres ? "mm" : "%"),
              fit.HeadVerdict == THeadVerdict::Within ? TVerdict::Pass : TVerdict::Fail,
              HeadSizeText(fit, rule, wording));
    if (rule.EyeLineMm && fit.EyeLineMm) {
        const char* text = fit.EyeVerdict == THeadVerdict::Within ? kEyeLinePass
                           : fit.EyeVerdict == THeadVerdict::TooSmall ? kEyesTooLow
                                                                      : kEyesTooHigh;
        table.Add("eye_line", TTable::round1(*fit.EyeLineMm), rangeText(*rule.EyeLineMm, "mm"),
                  fit.EyeVerdict == THeadVerdict::Within ? TVerdict::Pass : TVerdict::Fail, table.Text(text));
    }

    const double offset = frame.Width > 0 ? 100 * (head.CentreX - frame.CentreX()) / frame.Width : 0;
    const TVerdict centred = VerdictAtMost(std::abs(offset), kCentredPercent, kCentredWarnPercent);
    table.Add("centred", TTable::round1(offset), QStringLiteral("%1 %").arg(kCentredPercent), centred,
              centred == TVerdict::Pass ? table.Text(kCentred)
                                        : table.Text(offset < 0 ? kMoveFrameLeft : kMoveFrameRight)
                                              .arg(std::lround(std::abs(offset))));

    // The head inside the photo, then inside the frame; how much of its
    // height lies outside, in percent.
    const double h = std::max(1.0, head.Height());
    const double outOfPhoto = std::max(0.0, -head.CrownY) + std::max(0.0, head.ChinY - facts.PhotoHeight);
    const double outOfFrame = std::max(0.0, frame.Y - head.CrownY) + std::max(0.0, head.ChinY - frame.Bottom());
    const char* insideText = facts.CrownCut || head.CrownY < 0 ? kCrownCut
                             : head.ChinY > facts.PhotoHeight   ? kChinCut
                             : outOfFrame > 0                   ? kHeadPastFrame
                                                                : kHeadInside;
    const bool inside = insideText == kHeadInside;
    table.Add("crown_visible", TTable::round1(100 * std::max(outOfPhoto, outOfFrame) / h), QStringLiteral("0 %"),
              inside ? TVerdict::Pass : TVerdict::Fail, table.Text(insideText));
}

// The pose, the eyes and the mouth.
void addExpression(TTable& table, const TPhotoMeasures& measured)
{
    // Roll > 0 leans toward the left shoulder: straighten toward the right.
    table.AddTurn("roll", measured.Pose.Roll, kRoll, kUpright, kTiltToLeft, kTiltToRight);
    table.AddTurn("yaw", measured.Pose.Yaw, kYaw, kStraight, kTurnToLeft, kTurnToRight);
    table.AddTurn("pitch", measured.Pose.Pitch, kPitch, kLevel, kLowerChin, kRaiseChin);

    const TVerdict eyes = VerdictAtLeast(measured.EyeOpening, kEyeOpen, kEyeOpenWarn);
    table.Add("eyes_open", TTable::round2(measured.EyeOpening), QStringLiteral("≥ %1").arg(kEyeOpen), eyes,
              table.Text(eyes == TVerdict::Pass ? kEyesOpen : kEyesClosed));
    const TVerdict mouth = VerdictAtMost(measured.MouthOpening, CheckLimit::kMouthClosed, CheckLimit::kMouthClosedWarn);
    table.Add("mouth_closed", TTable::round2(measured.MouthOpening), QStringLiteral("≤ %1").arg(CheckLimit::kMouthClosed), mouth,
              table.Text(mouth == TVerdict::Pass ? kMouthIsClosed : kMouthOpen));
}

void addBackground(TTable& table, const TBackgroundMeasure& back)
{
    if (back.SeenShare < kBackgroundSeenShare) {
        table.Add("background_plain", 0, QStringLiteral("≤ %1 L*").arg(kBackgroundTexture), TVerdict::Warn,
                  table.Text(kBackgroundUnseen));
        table.Add("background_light", 0, QStringLiteral("≥ %1 L*").arg(CheckLimit::kBackgroundLight), TVerdict::Warn,
                  table.Text(kBackgroundUnseen));
        return;
    }
    const TVerdict texture = VerdictAtMost(back.Texture, kBackgroundTexture, kBackgroundTextureWarn);
    const TVerdict slope = VerdictAtMost(back.Slope, kBackgroundSlope, kBackgroundSlopeWarn);
    const TVerdict plain = worse(texture, slope);
    table.Add("background_plain", TTable::round1(back.Texture), QStringLiteral("≤ %1 L*").arg(kBackgroundTexture),
              plain,
              table.Text(plain == TVerdict::Pass ? kBackgroundPlain
                         : texture >= slope      ? kBackgroundBusy
                                                 : kBackgroundShaded));
    const TVerdict light = VerdictAtLeast(back.Lightness, CheckLimit::kBackgroundLight, kBackgroundLightWarn);
    table.Add("background_light", TTable::round1(back.Lightness), QStringLiteral("≥ %1 L*").arg(CheckLimit::kBackgroundLight),
              light,
              table.Text(light == TVerdict::Pass ? kBackgroundIsLight
                         : back.Chosen           ? kChosenBackgroundDark
                                                 : kBackgroundDark));
}

// The light and colour of the face.
void addLight(TTable& table, const TFaceLight& face)
{
    const TVerdict even = VerdictAtMost(face.HalvesApart, kHalvesApart, kHalvesApartWarn);
    table.Add("lighting_even", TTable::round1(face.HalvesApart), QStringLiteral("≤ %1 L*").arg(kHalvesApart), even,
              table.Text(even == TVerdict::Pass ? kEvenLight : kUnevenLight));
    const TVerdict dark = VerdictAtLeast(face.Lightness, kFaceDark, kFaceDarkWarn);
    const TVerdict bright = worse(VerdictAtMost(face.BurntShare, kBurntShare, kBurntShareWarn),
                                  face.Lightness > kFaceBright ? TVerdict::Warn : TVerdict::Pass);
    table.Add("exposure", TTable::round1(face.Lightness), QStringLiteral("%1-%2 L*").arg(kFaceDark).arg(kFaceBright),
              worse(dark, bright),
              table.Text(dark != TVerdict::Pass ? kTooDark : bright != TVerdict::Pass ? kTooBright : kWellExposed));
    const bool grey = face.SkinChroma < kGreyChroma;
    const bool natural = face.SkinHue >= kSkinHueMin && face.SkinHue <= kSkinHueMax;
    table.Add("colour", TTable::round1(face.SkinHue), QStringLiteral("%1-%2°").arg(kSkinHueMin).arg(kSkinHueMax),
              grey ? TVerdict::Warn : natural ? TVerdict::Pass : TVerdict::Fail,
              table.Text(grey ? kBlackAndWhite : natural ? kNaturalColour : kColourCast));
}

// Sharpness and pixels, then glasses, which some formats refuse.
void addDetail(TTable& table, const TPhotoMeasures& measured, const TFrame& frame, const THeadRule& rule)
{
    const TVerdict sharp = VerdictAtLeast(measured.Sharpness, kSharpness, kSharpnessWarn);
    table.Add("sharpness", TTable::round2(measured.Sharpness), QStringLiteral("≥ %1").arg(kSharpness), sharp,
              table.Text(sharp == TVerdict::Pass ? kSharp : kBlurred));

    const double ppi = PrintedPixelsPerInch(frame, rule);
    const TVerdict pixels = worse(VerdictAtLeast(ppi, kPrintedPpi, kPrintedPpi * 0.75),
                                  VerdictAtLeast(measured.EyePixels, kEyePixelsPreferred, kEyePixels));
    table.Add("resolution", std::round(ppi), QStringLiteral("≥ %1 ppi, ≥ %2 px").arg(kPrintedPpi).arg(kEyePixels),
              pixels,
              table.Text(pixels == TVerdict::Pass ? kEnoughPixels : kTooFewPixels)
                  .arg(std::lround(ppi))
                  .arg(std::lround(measured.EyePixels)));

    const bool glasses = measured.Glasses.BridgeEdge > kGlassesBridgeEdge || measured.Glasses.GlareShare > kGlareShare;
    const bool refused = rule.Format == TPhotoFormat::US2x2;
    table.Add("glasses", TTable::round1(measured.Glasses.BridgeEdge), QStringLiteral("≤ %1 L*").arg(kGlassesBridgeEdge),
              !glasses ? TVerdict::Pass : refused ? TVerdict::Fail : TVerdict::Warn,
              table.Text(!glasses ? kNoGlasses : refused ? kGlassesRefused : kGlassesLook));
}

// Faces whose middle lies inside the frame print with it.
void addFaceCount(TTable& table, const TPhotoFacts& facts, const TFrame& frame)
{
    int inFrame = 0;
    for (const QRectF& box : facts.Faces) {
        const QPointF c = box.center();
        inFrame += c.x() >= frame.X && c.x() <= frame.Right() && c.y() >= frame.Y && c.y() <= frame.Bottom();
    }
    inFrame = std::max(inFrame, 1);
    table.Add("one_face", inFrame, QStringLiteral("1"), inFrame == 1 ? TVerdict::Pass : TVerdict::Fail,
              inFrame == 1 ? table.Text(kOneFace) : table.Text(kOtherFaces).arg(inFrame));
}

}  // namespace

TMeasures CheckPhoto(const TPhotoFacts& Facts, const TPhotoMeasures& Measured, const TFrame& Frame,
                     const THeadRule& Rule, const TWording& Wording)
{
    TTable table;
    if (!Measured.HasFace) {
        table.Add("one_face", 0, QStringLiteral("1"), TVerdict::Fail, table.Text(Msg::kNoFace));
        return table.Take();
    }
    addFraming(table, Facts, Frame, Rule, Wording);
    addExpression(table, Measured);
    addBackground(table, Measured.Background);
    addLight(table, Measured.Light);
    addDetail(table, Measured, Frame, Rule);
    addFaceCount(table, Facts, Frame);
    return table.Take();
}
