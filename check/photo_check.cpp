#include "photo_check.h"

#include "check_image.h"
#include "check_limits.h"

#include "bitmap32.h"
#include "documents.h"
#include "messages.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace CheckLimit;

TPhotoFacts PhotoFactsOf(const TBitmap32& Photo, const std::vector<TMeasuredFace>& Faces, bool MoreFaces)
{
    TPhotoFacts facts;
    facts.PhotoWidth = Photo.Width();
    facts.PhotoHeight = Photo.Height();
    facts.MoreFaces = MoreFaces;
    const TMeasuredFace* checked = nullptr;
    for (const TMeasuredFace& face : Faces) {
        if (face.Landmarks.Presence < kPersonPresence)
            continue;
        facts.Faces.push_back(face.Face.Box);
        if (!checked)
            checked = &face;
    }
    if (!checked)
        return facts;
    facts.Landmarks = checked->Landmarks;
    facts.Head = checked->Head.Head;
    facts.Crown = checked->Head.Crown;
    facts.Person = checked->Mask;
    // The person still there on the photo's top row above the face: the
    // hair, and so the crown, goes on past the edge.
    facts.CrownCut = facts.Head.CrownY <= 0
                     || (!checked->Mask.Empty() && checked->Mask.At(QPointF(facts.Head.CentreX, 0.5)) >= 0.5);
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
    measured.Compression = MeasureCompression(image);
    measured.NeutralCast = MeasureNeutralCast(image, Facts.Landmarks, measured.Light.Lightness);
    measured.Gaze = MeasureGaze(image, Facts.Landmarks);
    return measured;
}

TPhotoAnalysis AnalysePhoto(const TBitmap32& Photo, TFaceModels& Models)
{
    TPhotoAnalysis analysis;
    analysis.Faces = MeasureFaces(Photo, Models.Finder(), Models.Mesh(), Models.Mask(), kMostFacesCounted);
    analysis.Facts =
        PhotoFactsOf(Photo, analysis.Faces, static_cast<int>(analysis.Faces.size()) >= kMostFacesCounted);
    analysis.Measured = MeasurePhoto(Photo, analysis.Facts);
    return analysis;
}

void UseHeadLines(TPhotoAnalysis& Analysis, const TBitmap32& Photo, const THeadLines& Lines)
{
    if (Analysis.Faces.empty())
        return;
    TMeasuredHead& head = Analysis.Faces.front().Head;
    head.Head = WithLines(head.Head, Lines);
    head.Crown = TCrownSource::Given;
    Analysis.Facts.Head = head.Head;
    Analysis.Facts.Crown = head.Crown;
    // The user has seen where the crown is: cut only above the photo.
    Analysis.Facts.CrownCut = Lines.CrownY < 0;
    Analysis.Measured = MeasurePhoto(Photo, Analysis.Facts);
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
    QStringList ids;
    for (const TMeasureRow& row : MeasureTable())
        ids << QString::fromLatin1(row.Id.data(), static_cast<qsizetype>(row.Id.size()));
    return ids;
}

/// Everything a row reads, with the head's fit to the rule worked out once.
struct TCheckInput {
    const TPhotoFacts& Facts;
    const TPhotoMeasures& Measured;
    const TFrame& Frame;
    const THeadRule& Rule;
    const TWording& Wording;
    const QString& DocumentName;
    THeadCheck Fit;
};

namespace {

using namespace Msg;

QString say(const char* original)
{
    return MessageText(original);
}

// The value judged against the line's bands.
void judge(TMeasure& m, double value)
{
    m.Value = value;
    m.Verdict = Judge(value, m.Pass, m.LookAt);
}

// The photo does not let the measure be judged: no value, look at it, and why.
void unjudged(TMeasure& m, const char* reason)
{
    m.Value.reset();
    m.Verdict = TVerdict::Warn;
    m.Text = say(reason);
}

TVerdict worse(TVerdict a, TVerdict b)
{
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

QString rangeText(const TRange& range, const char* unit)
{
    return QStringLiteral("%1-%2 %3").arg(range.Min).arg(range.Max).arg(QLatin1String(unit));
}

QString viewText(std::string_view v)
{
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

// The rule's document as the caller names it, else by its id.
QString documentName(const TCheckInput& in, const TDocument& document)
{
    return in.DocumentName.isEmpty() ? viewText(document.Id) : in.DocumentName;
}

// Where a limit taken from the rule's document comes from: its office's page
// (or the copy the row rests on) and the day it was read. Empty for a rule
// of no office's.
QString officeSource(const TCheckInput& in)
{
    const TDocument* d = in.Rule.Document;
    if (!d)
        return {};
    return say(d->SecondHand ? kSourceOfficeCopy : kSourceOffice)
        .arg(documentName(in, *d), viewText(d->Source), viewText(d->Read));
}

// Pass, or the sentence for a value beyond the limit in either direction.
void turn(TMeasure& m, double value, const char* passText, const char* negativeText, const char* positiveText)
{
    judge(m, value);
    m.Text = m.Verdict == TVerdict::Pass ? say(passText)
                                         : say(value < 0 ? negativeText : positiveText).arg(std::lround(std::abs(value)));
}

// The framing: the head against the format's rule, in the frame and in the photo.

bool readHeadHeight(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const bool mm = in.Rule.Unit == TRuleUnit::Millimetres;
    m.Pass = m.LookAt = {in.Rule.Head.Min, in.Rule.Head.Max};
    m.Unit = mm ? "mm" : "%";
    m.Value = in.Fit.Head;
    m.Limit = rangeText(in.Rule.Head, mm ? "mm" : "%");
    m.Verdict = in.Fit.HeadVerdict == THeadVerdict::Within ? TVerdict::Pass : TVerdict::Fail;
    m.Text = HeadSizeText(in.Fit, in.Rule, in.Wording);
    m.Source = officeSource(in);
    return true;
}

bool readEyeLine(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    if (!in.Rule.EyeLineMm || !in.Fit.EyeLineMm)
        return false;
    m.Pass = m.LookAt = {in.Rule.EyeLineMm->Min, in.Rule.EyeLineMm->Max};
    m.Value = *in.Fit.EyeLineMm;
    m.Limit = rangeText(*in.Rule.EyeLineMm, "mm");
    m.Verdict = in.Fit.EyeVerdict == THeadVerdict::Within ? TVerdict::Pass : TVerdict::Fail;
    m.Text = say(in.Fit.EyeVerdict == THeadVerdict::Within   ? kEyeLinePass
                 : in.Fit.EyeVerdict == THeadVerdict::TooSmall ? kEyesTooLow
                                                               : kEyesTooHigh);
    m.Source = officeSource(in);
    return true;
}

bool readCentred(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const double offset = in.Frame.Width > 0 ? 100 * (in.Facts.Head.CentreX - in.Frame.CentreX()) / in.Frame.Width : 0;
    judge(m, offset);
    m.Text = m.Verdict == TVerdict::Pass ? say(kCentred)
                                         : say(offset < 0 ? kMoveFrameLeft : kMoveFrameRight).arg(std::lround(std::abs(offset)));
    return true;
}

// How much of the head's height lies outside the photo or the frame, in
// percent. Hair running on past the photo's top edge cuts the head however
// little of the estimated head lies outside: how much is not known.
bool readCrownVisible(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const THead& head = in.Facts.Head;
    const TFrame& frame = in.Frame;
    const double h = std::max(1.0, head.Height());
    const double outOfPhoto = std::max(0.0, -head.CrownY) + std::max(0.0, head.ChinY - in.Facts.PhotoHeight);
    const double outOfFrame = std::max(0.0, frame.Y - head.CrownY) + std::max(0.0, head.ChinY - frame.Bottom());
    judge(m, 100 * std::max(outOfPhoto, outOfFrame) / h);
    const char* text = in.Facts.CrownCut || head.CrownY < 0 ? kCrownCut
                       : head.ChinY > in.Facts.PhotoHeight   ? kChinCut
                       : outOfFrame > 0                      ? kHeadPastFrame
                                                             : kHeadInside;
    if (in.Facts.CrownCut && m.Verdict == TVerdict::Pass) {
        m.Value.reset();
        m.Verdict = TVerdict::Fail;
    }
    m.Text = say(text);
    return true;
}

// The space between the crown and the frame's top edge. Where the office
// states it, in printed millimetres against its range (to a tenth, as the
// head is judged). Otherwise in percent of the frame's height, against the
// least the rule's own geometry leaves there: the largest head allowed,
// centred as the guides draw it. Half of that passes, a quarter is to be
// looked at; a crown on the edge fails.
bool readTopMargin(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    if (const std::optional<TRange>& office = in.Rule.TopMarginMm) {
        m.Pass = m.LookAt = {office->Min, office->Max};
        m.Unit = "mm";
        m.Limit = rangeText(*office, "mm");
        const double mm = in.Frame.Height > 0
                              ? (in.Facts.Head.CrownY - in.Frame.Y) / in.Frame.Height * in.Rule.PhotoHeightMm
                              : 0;
        judge(m, std::round(mm * 10) / 10);
        m.Text = say(m.Verdict == TVerdict::Pass ? kTopMarginRoom : mm < office->Min ? kTopMarginSmall : kTopMarginLarge);
        m.Source = officeSource(in);
        return true;
    }
    const double least = 100 * std::max(0.0, GuidesFor(in.Rule).CrownBand.Min);
    m.Pass = AtLeast(std::round(least * kTopMarginPass * 10) / 10);
    m.LookAt = AtLeast(std::round(least * kTopMarginLookAt * 10) / 10);
    const double margin = in.Frame.Height > 0 ? 100 * (in.Facts.Head.CrownY - in.Frame.Y) / in.Frame.Height : 0;
    judge(m, margin);
    m.Text = say(m.Verdict == TVerdict::Pass ? kTopMarginRoom : kTopMarginSmall);
    return true;
}

// The widest white band the frame leaves where it reaches past the photo,
// in percent of the frame's height (top and bottom) or width (the sides).
bool readFrameFilled(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TFrame& f = in.Frame;
    if (!(f.Width > 0 && f.Height > 0))
        return false;
    const double band = 100 * std::max({std::max(0.0, -f.Y) / f.Height,
                                        std::max(0.0, f.Bottom() - in.Facts.PhotoHeight) / f.Height,
                                        std::max(0.0, -f.X) / f.Width, std::max(0.0, f.Right() - in.Facts.PhotoWidth) / f.Width});
    judge(m, band);
    m.Text = m.Verdict == TVerdict::Pass ? say(kFrameFilled) : say(kWhiteBand).arg(std::lround(std::max(1.0, band)));
    return true;
}

// The pose, the eyes and the mouth.

bool readRoll(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    // Roll > 0 leans toward the left shoulder: straighten toward the right.
    turn(m, in.Measured.Pose.Roll, kUpright, kTiltToLeft, kTiltToRight);
    return true;
}

bool readYaw(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    turn(m, in.Measured.Pose.Yaw, kStraight, kTurnToLeft, kTurnToRight);
    return true;
}

bool readPitch(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    turn(m, in.Measured.Pose.Pitch, kLevel, kLowerChin, kRaiseChin);
    return true;
}

bool readEyesOpen(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    judge(m, in.Measured.EyeOpening);
    m.Text = say(m.Verdict == TVerdict::Pass ? kEyesOpen : kEyesClosed);
    return true;
}

// How far the iris lies off the middle of the eye's opening, in percent:
// across in eye widths, down (lids and iris follow a lowered gaze) counted
// twice, as the opening is far lower than wide.
bool readGaze(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    if (!in.Measured.Gaze) {
        unjudged(m, kGazeUnseen);
        return true;
    }
    const TGaze& gaze = *in.Measured.Gaze;
    const double across = 100 * std::abs(gaze.Across);
    const double down = 100 * kGazeDownWeight * gaze.Down;
    judge(m, std::max(across, down));
    m.Text = say(m.Verdict == TVerdict::Pass ? kLooksAtCamera : down >= across ? kLooksDown : kLooksAside);
    return true;
}

bool readMouthClosed(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    judge(m, in.Measured.MouthOpening);
    m.Text = say(m.Verdict == TVerdict::Pass ? kMouthIsClosed : kMouthOpen);
    return true;
}

// The background: its unevenness is the larger of its texture and of a
// third of its slope across the area (a slope of 12 L* shades a wall about
// as plainly as a texture of 4).
bool readBackgroundPlain(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TBackgroundMeasure& back = in.Measured.Background;
    if (back.SeenShare < kBackgroundSeenShare) {
        unjudged(m, kBackgroundUnseen);
        return true;
    }
    const double shading = back.Slope / kSlopePerTexture;
    judge(m, std::max(back.Texture, shading));
    m.Text = say(m.Verdict == TVerdict::Pass ? kBackgroundPlain : back.Texture >= shading ? kBackgroundBusy : kBackgroundShaded);
    return true;
}

bool readBackgroundLight(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TBackgroundMeasure& back = in.Measured.Background;
    if (back.SeenShare < kBackgroundSeenShare) {
        unjudged(m, kBackgroundUnseen);
        return true;
    }
    judge(m, back.Lightness);
    m.Text = say(m.Verdict == TVerdict::Pass ? kBackgroundIsLight
                 : back.Chosen                 ? kChosenBackgroundDark
                                               : kBackgroundDark);
    return true;
}

// The background's colour against the colours the office takes: how far
// its mean a*b* lies from the nearest of them, each a stretch from its
// palest to its strongest tone. Only for a document's rule.
static_assert(std::size(kBackdropColours) == static_cast<std::size_t>(TBackdrop::LightBlue) + 1);

double distanceTo(const TColourStretch& c, double a, double b)
{
    const double da = c.StrongA - c.PaleA, db = c.StrongB - c.PaleB;
    const double length2 = da * da + db * db;
    const double t = length2 > 0 ? std::clamp(((a - c.PaleA) * da + (b - c.PaleB) * db) / length2, 0.0, 1.0) : 0;
    return std::hypot(a - (c.PaleA + t * da), b - (c.PaleB + t * db));
}

bool readBackgroundColour(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TDocument* document = in.Rule.Document;
    if (!document)
        return false;
    m.Source = officeSource(in);
    const TBackgroundMeasure& back = in.Measured.Background;
    if (back.SeenShare < kBackgroundSeenShare) {
        unjudged(m, kBackgroundUnseen);
        return true;
    }
    double nearest = std::numeric_limits<double>::infinity();
    QStringList taken;
    for (TBackdrop colour : AcceptedBackdrops(*document)) {
        nearest = std::min(nearest, distanceTo(kBackdropColours[static_cast<int>(colour)], back.A, back.B));
        taken << say(BackdropName(colour));
    }
    judge(m, nearest);
    m.Text = m.Verdict == TVerdict::Pass ? say(kBackgroundColourTaken)
                                         : say(kBackgroundColourNotTaken).arg(taken.join(QStringLiteral(", ")));
    return true;
}

// A replaced background where the office refuses edited photos: the office's
// own sentence. Nothing to say where it takes them or nothing was edited.
bool readUnedited(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TDocument* document = in.Rule.Document;
    if (!document || document->Edits != TEdits::Refused || !in.Measured.BackgroundReplaced)
        return false;
    judge(m, 1);
    m.Text = say(kEditsRefused).arg(documentName(in, *document));
    m.Source = officeSource(in);
    return true;
}

// The light and colour of the face.

bool readLightingEven(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    judge(m, in.Measured.Light.HalvesApart);
    m.Text = say(m.Verdict == TVerdict::Pass ? kEvenLight : kUnevenLight);
    return true;
}

// The face's lightness, with the burnt-out share and the photo's own
// brightest tones as witnesses: a face of any skin has highlights beside it
// (the whites of the eyes, a light collar, the wall) that two stops under
// leave grey, and burnt-out skin is too bright however dark the rest.
bool readExposure(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TFaceLight& light = in.Measured.Light;
    judge(m, light.Lightness);
    const TVerdict burnt = Judge(light.BurntShare, AtMost(kBurntShare), AtMost(kBurntShareWarn));
    const TVerdict headroom = Judge(light.Highlights, AtLeast(kHighlightsPass), AtLeast(kHighlightsLookAt));
    m.Verdict = worse(m.Verdict, worse(burnt, headroom));
    const bool tooDark = light.Lightness < m.Pass.Low
                         || (headroom != TVerdict::Pass && burnt == TVerdict::Pass && light.Lightness <= m.Pass.High);
    m.Text = say(m.Verdict == TVerdict::Pass ? kWellExposed : tooDark ? kTooDark : kTooBright);
    return true;
}

// A cast is judged on what should be neutral, the whites of the eyes; where
// none is seen, on the skin's hue alone. Grey skin is a black-and-white photo.
bool readColour(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TFaceLight& light = in.Measured.Light;
    if (light.SkinSeen && light.SkinChroma < kGreyChroma) {
        m.Value = 0;
        m.Verdict = TVerdict::Warn;
        m.Text = say(kBlackAndWhite);
        return true;
    }
    const bool natural = !light.SkinSeen || (light.SkinHue >= kSkinHueMin && light.SkinHue <= kSkinHueMax);
    if (!in.Measured.NeutralCast) {
        unjudged(m, kNoNeutral);
        if (!natural) {
            m.Verdict = TVerdict::Fail;
            m.Text = say(kColourCast);
        }
        return true;
    }
    judge(m, *in.Measured.NeutralCast);
    if (!natural)
        m.Verdict = TVerdict::Fail;
    m.Text = say(m.Verdict == TVerdict::Pass ? kNaturalColour : kColourCast);
    return true;
}

// Sharpness, pixels and compression, then glasses, which some offices refuse.

bool readSharpness(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    if (!in.Measured.Sharpness) {
        unjudged(m, kTooSmallToJudge);
        return true;
    }
    judge(m, *in.Measured.Sharpness);
    m.Text = say(m.Verdict == TVerdict::Pass ? kSharp : kBlurred);
    return true;
}

bool readCompression(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    if (!in.Measured.Compression) {
        unjudged(m, kTooSmallToJudge);
        return true;
    }
    judge(m, *in.Measured.Compression);
    m.Text = say(m.Verdict == TVerdict::Pass ? kNoBlocks : kJpegBlocks);
    return true;
}

// Printed pixels per inch, with ICAO's least number of pixels between the
// eyes (preferred: 120) as a second witness.
bool readResolution(const TCheckInput& in, const TMeasureRow& row, TMeasure& m)
{
    const double ppi = std::round(PrintedPixelsPerInch(in.Frame, in.Rule));
    judge(m, ppi);
    m.Verdict = worse(m.Verdict, Judge(in.Measured.EyePixels, AtLeast(kEyePixelsPreferred), AtLeast(kEyePixels)));
    m.Limit = QStringLiteral("%1, ≥ %2 px").arg(BandText(row.Pass, row.Unit)).arg(kEyePixels);
    m.Text = say(m.Verdict == TVerdict::Pass ? kEnoughPixels : kTooFewPixels)
                 .arg(std::lround(ppi))
                 .arg(std::lround(in.Measured.EyePixels));
    return true;
}

bool readGlasses(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const TDocument* document = in.Rule.Document;
    m.Source = officeSource(in);
    const TGlassesMeasure& glasses = in.Measured.Glasses;
    if (!glasses.Judged) {
        unjudged(m, kTooSmallToJudge);
        return true;
    }
    judge(m, glasses.Frame);
    // Frames clearly seen fail where the office refuses glasses; elsewhere
    // they are for the user to weigh, against the office's word where there
    // is one.
    const bool refused = document && document->Glasses == TGlasses::NotWorn;
    if (m.Verdict == TVerdict::Fail && !refused)
        m.Verdict = TVerdict::Warn;
    m.Text = say(m.Verdict == TVerdict::Pass                   ? kNoGlasses
                 : refused && m.Verdict == TVerdict::Fail ? kGlassesRefused
                 : document && !refused                   ? kGlassesWithoutGlare
                                                           : kGlassesLook);
    return true;
}

// Faces that show in the frame print with it: a face whose box overlaps the
// frame by a third of its own area or more.
bool readOneFace(const TCheckInput& in, const TMeasureRow&, TMeasure& m)
{
    const QRectF frame(in.Frame.X, in.Frame.Y, in.Frame.Width, in.Frame.Height);
    int inFrame = 0;
    for (const QRectF& box : in.Facts.Faces) {
        const QRectF common = box.intersected(frame);
        inFrame += common.width() * common.height() >= kFaceInFrameShare * box.width() * box.height();
    }
    inFrame = std::max(inFrame, 1);
    judge(m, inFrame);
    const bool more = in.Facts.MoreFaces && inFrame == static_cast<int>(in.Facts.Faces.size());
    m.Text = m.Verdict == TVerdict::Pass ? say(kOneFace) : say(more ? kAtLeastFaces : kOtherFaces).arg(inFrame);
    return true;
}

// The table of measures, in the order the check lists them. The numbers
// and their reasons are in check_limits.h.
const TMeasureRow kMeasures[] = {
    {"head_height", kMeasureHeadHeight, {}, {}, "mm", 1, kSourceRule, readHeadHeight, true},
    {"eye_line", kMeasureEyeLine, {}, {}, "mm", 1, kSourceRule, readEyeLine, true},
    {"centred", kMeasureCentred, Within(kCentredPercent), Within(kCentredWarnPercent), "%", 1, kSourceIcaoOurs, readCentred},
    {"crown_visible", kMeasureCrownVisible, AtMost(0), AtMost(0), "%", 1, kSourceIcao, readCrownVisible},
    {"top_margin", kMeasureTopMargin, {}, {}, "%", 1, kSourceTopMargin, readTopMargin, true},
    {"frame_filled", kMeasureFrameFilled, AtMost(kWhiteBandPass), AtMost(kWhiteBandLookAt), "%", 1, kSourceIcaoOurs,
     readFrameFilled},
    {"roll", kMeasureRoll, Within(kRollPass), Within(kRoll), "°", 1, kSourceIso, readRoll},
    {"yaw", kMeasureYaw, Within(kYawPass), Within(kYaw), "°", 1, kSourceIso, readYaw},
    {"pitch", kMeasurePitch, Within(kPitchPass), Within(kPitch), "°", 1, kSourceIso, readPitch},
    {"eyes_open", kMeasureEyesOpen, AtLeast(kEyeOpen), AtLeast(kEyeOpenWarn), "", 2, kSourceIcaoOurs, readEyesOpen},
    {"gaze", kMeasureGaze, AtMost(kGazePass), AtMost(kGazeLookAt), "%", 0, kSourceIcaoOurs, readGaze},
    {"mouth_closed", kMeasureMouthClosed, AtMost(kMouthClosed), AtMost(kMouthClosedWarn), "", 2, kSourceIcaoOurs,
     readMouthClosed},
    {"background_plain", kMeasureBackgroundPlain, AtMost(kBackgroundTexture), AtMost(kBackgroundTextureWarn), "L*", 1,
     kSourceIcaoOurs, readBackgroundPlain},
    {"background_light", kMeasureBackgroundLight, AtLeast(kBackgroundLight), AtLeast(kBackgroundLightWarn), "L*", 1,
     kSourceIcaoOurs, readBackgroundLight},
    {"background_colour", kMeasureBackgroundColour, AtMost(kBackgroundColour), AtMost(kBackgroundColourWarn), "", 1,
     kSourceRule, readBackgroundColour},
    {"unedited", kMeasureUnedited, AtMost(0), AtMost(0), "", 0, kSourceRule, readUnedited},
    {"lighting_even", kMeasureLightingEven, AtMost(kHalvesApart), AtMost(kHalvesApartWarn), "L*", 1, kSourceIcaoOurs,
     readLightingEven},
    {"exposure", kMeasureExposure, {kFaceDark, kFaceBright}, {kFaceDarkWarn, kFaceBrightWarn}, "L*", 1, kSourceIcaoOurs,
     readExposure},
    {"colour", kMeasureColour, AtMost(kNeutralCast), AtMost(kNeutralCastWarn), "", 1, kSourceIcaoOurs, readColour},
    {"sharpness", kMeasureSharpness, AtLeast(kSharpness), AtLeast(kSharpnessWarn), "", 2, kSourceIcaoOurs, readSharpness},
    {"compression", kMeasureCompression, AtMost(kBlockiness), AtMost(kBlockinessWarn), "", 2, kSourceOurs,
     readCompression},
    {"resolution", kMeasureResolution, AtLeast(kPrintedPpi), AtLeast(kPrintedPpiWarn), "ppi", 0, kSourceResolution,
     readResolution},
    {"glasses", kMeasureGlasses, AtMost(kGlassesFrame), AtMost(kGlassesFrameWarn), "", 2, kSourceIcaoOurs, readGlasses},
    {"one_face", kMeasureOneFace, AtMost(1), AtMost(1), "", 0, kSourceIcao, readOneFace},
};

// Values as the table and the JSON give them.
double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

}  // namespace

std::span<const TMeasureRow> MeasureTable()
{
    return kMeasures;
}

TMeasures CheckPhoto(const TPhotoFacts& Facts, const TPhotoMeasures& Measured, const TFrame& Frame,
                     const THeadRule& Rule, const TWording& Wording, const QString& DocumentName)
{
    TMeasures measures;
    if (!Measured.HasFace) {
        const TMeasureRow& row = *FindMeasureRow(u"one_face");
        TMeasure m{QStringLiteral("one_face"), 0, BandText(row.Pass, row.Unit), TVerdict::Fail, say(kNoFace), &row,
                   row.Pass, row.LookAt, row.Unit, say(row.Source)};
        measures.push_back(m);
        return measures;
    }
    const TCheckInput input{Facts, Measured, Frame, Rule, Wording, DocumentName, CheckHead(Frame, Facts.Head, Rule)};
    for (const TMeasureRow& row : kMeasures) {
        TMeasure m;
        m.Id = QString::fromLatin1(row.Id.data(), static_cast<qsizetype>(row.Id.size()));
        m.Row = &row;
        m.Pass = row.Pass;
        m.LookAt = row.LookAt;
        m.Unit = row.Unit;
        if (!row.Read(input, row, m))
            continue;
        if (m.Value)
            m.Value = rounded(*m.Value, row.Decimals);
        if (m.Limit.isEmpty())
            m.Limit = BandText(m.Pass, row.Unit);
        if (m.Source.isEmpty())
            m.Source = say(row.Source);
        measures.push_back(std::move(m));
    }
    return measures;
}
