// How far the photo check can be trusted, measure by measure: real portraits
// from Debian packages' sample data, judged by eye (the labels below; how
// they were judged is in check_eval.md beside this file), and controlled
// changes of two of them, each aimed at one measure. Prints, per measure: the
// changes aimed at it that it caught, its false alarms and misses on the real
// photos, and how often it flipped under a change aimed at another measure.
//
//   check_eval [--values] [MODEL_DIR]   (default: the build's models)
//
// Every photo is framed for 35 x 45 mm as automatic framing does; a photo
// that is not installed is left out and said so.

#include "bitmap32.h"
#include "jpeg_image.h"
#include "photo_check.h"
#include "sheet_formats.h"

#include <QFile>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using TIds = std::set<std::string>;

const char* const kHopper = "/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg";
const char* const kCollins = "/usr/lib/python3/dist-packages/skimage/data/astronaut.png";
const char* const kSkimage = "/usr/lib/python3/dist-packages/skimage/data/";

// A real photo and what an eye sees in it: the measures that must flag it,
// those an eye cannot settle either way; every other measure must pass.
// NoPerson: there is no person's face in it at all.
struct TLabel {
    const char* Name;
    std::string Path;
    double Enlarge;   // 1: as installed
    TIds Flag;
    TIds Either;
    bool NoPerson = false;
};

std::vector<TLabel> labels()
{
    const std::string s = kSkimage;
    return {
        {"hopper", kHopper, 1, {"glasses", "background_plain", "background_light", "resolution"}, {}},
        // The same photo enlarged: nothing but its pixel count changes.
        {"hopper x2.3", kHopper, 2.3, {"glasses", "background_plain", "background_light"}, {"resolution"}},
        // Framed automatically, her hair near the photo's top edge leaves a
        // white band above it in the print.
        {"collins", kCollins, 1, {"mouth_closed", "background_plain", "resolution", "frame_filled"}, {"background_light"}},
        {"collins x2.3", kCollins, 2.3, {"mouth_closed", "background_plain", "frame_filled"},
         {"background_light", "resolution"}},
        // A man in profile at his camera, in grey: the face too small and
        // turned for most measures to be judged by eye.
        {"cameraman",
         s + "camera.png",
         1,
         {"yaw", "colour", "resolution"},
         {"head_height", "eye_line", "centred", "crown_visible", "top_margin", "frame_filled", "roll", "pitch",
          "eyes_open", "gaze", "mouth_closed", "background_plain", "background_light", "lighting_even", "exposure",
          "sharpness", "compression"}},
        {"cat", s + "chelsea.png", 1, {}, {}, true},
        {"coffee", s + "coffee.png", 1, {}, {}, true},
    };
}

// A change made to a base photo (pixels, or the frame), the measures it is
// aimed at (they must flag it) and those it may fairly move too.
struct TChange {
    const char* Name;
    std::function<void(TBitmap32&, const TPhotoAnalysis&)> Photo;
    std::function<void(TFrame&, const TPhotoFacts&)> Frame;
    TIds Aimed;
    TIds Tolerated;
};

cv::Mat pixels(TBitmap32& photo)
{
    return cv::Mat(photo.Height(), photo.Width(), CV_8UC4, photo.Bits());
}

void scaled(const TBitmap32& photo, double factor, TBitmap32& result)
{
    result.SetSize(static_cast<int>(std::lround(photo.Width() * factor)),
                   static_cast<int>(std::lround(photo.Height() * factor)));
    cv::Mat source(photo.Height(), photo.Width(), CV_8UC4, const_cast<TColor32*>(photo.Bits()));
    cv::Mat target = pixels(result);
    cv::resize(source, target, target.size(), 0, 0, factor > 1 ? cv::INTER_CUBIC : cv::INTER_AREA);
}

// Exposure changed by a number of stops: linear light times 2^stops.
void stops(TBitmap32& photo, double by)
{
    cv::Mat lut(1, 256, CV_8UC4);
    for (int i = 0; i < 256; ++i) {
        const double v = i / 255.0;
        const double linear = (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4)) * std::pow(2.0, by);
        const double s = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
        const auto b = cv::saturate_cast<std::uint8_t>(s * 255 + 0.5);
        lut.at<cv::Vec4b>(i) = {b, b, b, 255};
    }
    cv::Mat m = pixels(photo);
    cv::LUT(m, lut, m);
}

// The head turned in the photo's plane until it leans Degrees, the way it
// already leaned.
void turned(TBitmap32& photo, const TPhotoAnalysis& analysis, double degrees)
{
    const THead& head = analysis.Facts.Head;
    const double roll = analysis.Measured.Pose.Roll;
    // OpenCV turns counter-clockwise on the screen: the roll falls by as much.
    const double by = roll - (roll < 0 ? -degrees : degrees);
    cv::Mat m = pixels(photo);
    const cv::Mat turn = cv::getRotationMatrix2D(
        cv::Point2f(static_cast<float>(head.CentreX), static_cast<float>((head.CrownY + head.ChinY) / 2)), by, 1);
    cv::Mat out;
    cv::warpAffine(m, out, turn, m.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    out.copyTo(m);
}

void blurred(TBitmap32& photo, double sigma)
{
    cv::Mat m = pixels(photo);
    cv::GaussianBlur(m, m, cv::Size(), sigma);
}

// Written as a JPEG of the quality and read back.
void compressed(TBitmap32& photo, int quality)
{
    static QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("q.jpg"));
    TJPEGImage jpeg;
    TJPEGSettings settings = jpeg.Settings();
    settings.CompressionQuality = quality;
    jpeg.SetSettings(settings);
    jpeg.Assign(photo.OpaqueImage());
    jpeg.SaveToFile(file);
    photo.LoadFromFile(file);
}

void reddened(TBitmap32& photo)
{
    cv::Mat m = pixels(photo);
    std::vector<cv::Mat> channels;
    cv::split(m, channels);
    channels[2].convertTo(channels[2], -1, 1.2);   // B, G, R, A in memory
    cv::merge(channels, m);
}

// The person before another background, blended by the whole photo's
// person mask.
void pasted(TBitmap32& photo, const TPersonMaskMap& mask, const std::function<TColor32(int, int)>& background)
{
    for (int y = 0; y < photo.Height(); ++y)
        for (int x = 0; x < photo.Width(); ++x) {
            const double a = std::clamp((mask.At(QPointF(x + 0.5, y + 0.5)) - 0.3) / 0.4, 0.0, 1.0);
            const TColor32 f = photo.Pixel(x, y);
            const TColor32 b = background(x, y);
            const auto mix = [a](int front, int back) {
                return static_cast<int>(std::lround(front * a + back * (1 - a)));
            };
            photo.SetPixel(x, y, Color32(mix(RedComponent(f), RedComponent(b)),
                                         mix(GreenComponent(f), GreenComponent(b)),
                                         mix(BlueComponent(f), BlueComponent(b))));
        }
}

// Light stripes and blocks, as a shelf or a patterned wall.
TColor32 busyTexture(int x, int y)
{
    if ((x / 18 + y / 14) % 3 == 0)
        return Color32(150, 175, 215);
    return (x / 10 + y / 22) % 2 ? Color32(250, 240, 200) : Color32(200, 160, 150);
}

void croppedTop(TBitmap32& photo, int top)
{
    TBitmap32 cropped;
    cropped.SetSize(photo.Width(), photo.Height() - top);
    for (int y = 0; y < cropped.Height(); ++y)
        std::copy_n(photo.ScanLine(y + top), photo.Width(), cropped.ScanLine(y));
    photo.Assign(&cropped);
}

// The eyes' openings shifted toward the person's left by a quarter of their
// width, as a glance aside moves the iris (Down: downwards by a third of
// their height, the upper lid's skin following); the lids stay.
void glancedAside(TBitmap32& photo, const TFaceLandmarks& face, bool down = false)
{
    const int rings[2][16] = {{33, 246, 161, 160, 159, 158, 157, 173, 133, 155, 154, 153, 145, 144, 163, 7},
                              {263, 466, 388, 387, 386, 385, 384, 398, 362, 382, 381, 380, 374, 373, 390, 249}};
    cv::Mat m = pixels(photo);
    const cv::Mat source = m.clone();
    for (const auto& ring : rings) {
        std::vector<cv::Point> outline;
        for (int i : ring)
            outline.emplace_back(static_cast<int>(std::lround(face.Points[static_cast<std::size_t>(i)].x())),
                                 static_cast<int>(std::lround(face.Points[static_cast<std::size_t>(i)].y())));
        cv::Mat1b mask(m.size(), 0);
        cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{outline}, cv::Scalar(255));
        const cv::Rect box = cv::boundingRect(outline);
        const int shift = down ? 0 : box.width / 4;
        const int drop = down ? box.height / 3 : 0;
        for (int y = box.y; y < box.br().y; ++y)
            for (int x = box.x; x < box.br().x; ++x)
                if (mask(y, x) && y - drop >= 0 && x - shift >= 0 && mask(y - drop, x - shift))
                    m.at<cv::Vec4b>(y, x) = source.at<cv::Vec4b>(y - drop, x - shift);
                else if (mask(y, x))
                    m.at<cv::Vec4b>(y, x) = down ? source.at<cv::Vec4b>(box.y - 2, x)
                                                 : source.at<cv::Vec4b>(y, box.x + box.width / 2 + box.width / 3);
    }
}

// Six copies of the photo, three across and two down, at half size.
void crowd(TBitmap32& photo)
{
    TBitmap32 small;
    scaled(photo, 0.5, small);
    TBitmap32 group;
    group.SetSize(small.Width() * 3, small.Height() * 2);
    for (int i = 0; i < 6; ++i)
        for (int y = 0; y < small.Height(); ++y)
            std::copy_n(small.ScanLine(y), small.Width(),
                        group.ScanLine(y + (i / 3) * small.Height()) + (i % 3) * small.Width());
    photo.Assign(&group);
}

std::vector<TChange> changes(const TPersonMaskMap* mask)
{
    const auto photoOnly = [](std::function<void(TBitmap32&, const TPhotoAnalysis&)> f) { return f; };
    const TIds exposureFollowers = {"background_light"};
    const TIds framePlace = {"eye_line", "head_height", "centred", "top_margin", "frame_filled"};
    std::vector<TChange> list = {
        {"roll 4°", photoOnly([](TBitmap32& p, const TPhotoAnalysis& a) { turned(p, a, 4); }), {}, {}, {}},
        {"roll 8°", photoOnly([](TBitmap32& p, const TPhotoAnalysis& a) { turned(p, a, 8); }), {}, {"roll"}, {}},
        {"roll 12°", photoOnly([](TBitmap32& p, const TPhotoAnalysis& a) { turned(p, a, 12); }), {}, {"roll"}, {}},
        {"+1 stop", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { stops(p, 1); }), {}, {}, {"exposure"}},
        {"+2 stops", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { stops(p, 2); }), {}, {"exposure"}, {}},
        {"-1 stop", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { stops(p, -1); }), {},
         {},
         {"exposure", "background_light"}},
        {"-2 stops", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { stops(p, -2); }), {}, {"exposure"}, exposureFollowers},
        // The bases are enlarged 2.3 times: a blur of s original pixels.
        {"blur 1", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { blurred(p, 2.3); }), {}, {}, {"sharpness"}},
        {"blur 2", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { blurred(p, 4.6); }), {}, {"sharpness"}, {}},
        {"blur 3", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { blurred(p, 6.9); }), {}, {"sharpness"}, {}},
        {"jpeg q10", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { compressed(p, 10); }), {}, {"compression"}, {}},
        {"jpeg q75", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { compressed(p, 75); }), {}, {}, {}},
        {"to 400 px",
         photoOnly([](TBitmap32& p, const TPhotoAnalysis&) {
             TBitmap32 small;
             scaled(p, 400.0 / std::max(p.Width(), p.Height()), small);
             p.Assign(&small);
         }),
         {},
         {"resolution"},
         {}},
        {"red x1.2", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { reddened(p); }), {}, {"colour"}, {}},
        {"crop crown",
         photoOnly([](TBitmap32& p, const TPhotoAnalysis& a) { croppedTop(p, static_cast<int>(a.Facts.Head.CrownY + 0.12 * a.Facts.Head.Height())); }),
         {},
         {"crown_visible"},
         framePlace},
        {"crown at top", {}, [](TFrame& f, const TPhotoFacts& p) { f.Y = p.Head.CrownY; }, {"top_margin"},
         {"eye_line", "frame_filled"}},
        {"frame off top", {}, [](TFrame& f, const TPhotoFacts&) { f.Y = -0.08 * f.Height; }, {"frame_filled"},
         {"eye_line", "top_margin", "head_height"}},
        // Printed whole, as a group photo would be.
        {"six people", photoOnly([](TBitmap32& p, const TPhotoAnalysis&) { crowd(p); }),
         [](TFrame& f, const TPhotoFacts& p) {
             f = UnframedFrame(p.PhotoWidth, p.PhotoHeight, HeadRule(TPhotoFormat::France35x45));
         },
         {"one_face"},
         {"resolution", "head_height", "top_margin", "frame_filled", "crown_visible", "centred", "eye_line",
          "background_plain", "background_light"}},
        {"eyes aside", photoOnly([](TBitmap32& p, const TPhotoAnalysis& a) { glancedAside(p, a.Facts.Landmarks); }), {},
         {"gaze"}, {}},
        {"eyes down", photoOnly([](TBitmap32& p, const TPhotoAnalysis& a) { glancedAside(p, a.Facts.Landmarks, true); }),
         {}, {"gaze"}, {"eyes_open"}},
    };
    if (mask)
        list.push_back({"busy wall", photoOnly([mask](TBitmap32& p, const TPhotoAnalysis&) { pasted(p, *mask, busyTexture); }),
                        {}, {"background_plain"}, {"background_light"}});
    return list;
}

// What the check says of one photo: each measure's verdict, or no face.
struct TOutcome {
    bool Face = false;
    std::map<std::string, TVerdict> Verdicts;
    std::map<std::string, double> Values;
    int Faces = 0;
};

TOutcome checked(const TBitmap32& photo, TFaceModels& models, const std::function<void(TFrame&, const TPhotoFacts&)>& move = {})
{
    const TPhotoAnalysis analysis = AnalysePhoto(photo, models);
    TOutcome outcome;
    outcome.Faces = static_cast<int>(analysis.Faces.size());
    if (!analysis.Measured.HasFace)
        return outcome;
    outcome.Face = true;
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    TFrame frame = FrameForHead(analysis.Facts.Head, rule).value_or(TFrame{});
    if (move)
        move(frame, analysis.Facts);
    for (const TMeasure& m : CheckPhoto(analysis.Facts, analysis.Measured, frame, rule)) {
        outcome.Verdicts[m.Id.toStdString()] = m.Verdict;
        outcome.Values[m.Id.toStdString()] = m.Value.value_or(std::nan(""));
    }
    return outcome;
}

// With --values every measure's value is printed under each photo.
bool gValues = false;

void printValues(const TOutcome& o)
{
    if (!gValues)
        return;
    std::string line = "        ";
    for (const auto& [id, value] : o.Values)
        line += id + "=" + std::to_string(value).substr(0, 6) + " ";
    std::printf("%s\n", line.c_str());
}

const char* mark(TVerdict v)
{
    return v == TVerdict::Pass ? "ok" : v == TVerdict::Warn ? "look" : "FAIL";
}

std::string joined(const TIds& ids)
{
    std::string s;
    for (const std::string& id : ids)
        s += (s.empty() ? "" : ",") + id;
    return s.empty() ? "-" : s;
}

TIds flaggedOf(const TOutcome& o)
{
    TIds ids;
    for (const auto& [id, v] : o.Verdicts)
        if (v != TVerdict::Pass)
            ids.insert(id);
    return ids;
}

struct TTally {
    int Aimed = 0, Caught = 0, FalseAlarms = 0, Misses = 0, Judged = 0, Flips = 0, Unjudged = 0, LostSight = 0;
};

bool loaded(TBitmap32& photo, const std::string& path)
{
    if (!QFile::exists(QString::fromStdString(path))) {
        std::printf("(%s is not installed: left out)\n", path.c_str());
        return false;
    }
    photo.LoadFromFile(QString::fromStdString(path));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString modelDir = QStringLiteral(QRL_EVAL_MODEL_DIR);
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--values")
            gValues = true;
        else
            modelDir = QString::fromLocal8Bit(argv[i]);
    }
    TFaceModels models(modelDir);
    std::map<std::string, TTally> tally;
    for (const QString& id : CheckIds())
        tally[id.toStdString()];

    std::printf("Real portraits (labels: check_eval.md)\n%-14s %-60s %-22s %-14s %s\n", "photo", "flagged",
                "false alarms", "misses", "not judged");
    for (const TLabel& label : labels()) {
        TBitmap32 photo;
        if (!loaded(photo, label.Path))
            continue;
        if (label.Enlarge != 1) {
            TBitmap32 large;
            scaled(photo, label.Enlarge, large);
            photo.Assign(&large);
        }
        const TOutcome o = checked(photo, models);
        if (label.NoPerson) {
            const bool alarm = o.Face;
            tally["one_face"].Judged++;
            tally["one_face"].FalseAlarms += alarm;
            std::printf("%-14s %-60s %-22s %s\n", label.Name, o.Face ? "a face was found" : "no face",
                        alarm ? "one_face" : "-", "-");
            continue;
        }
        TIds alarms, misses, unjudged;
        const TIds flagged = flaggedOf(o);
        for (const auto& [id, verdict] : o.Verdicts) {
            if (label.Either.count(id))
                continue;
            TTally& t = tally[id];
            // "Cannot be judged" is neither a false alarm nor a miss.
            if (std::isnan(o.Values.at(id))) {
                t.Unjudged++;
                unjudged.insert(id);
                continue;
            }
            t.Judged++;
            const bool expected = label.Flag.count(id) > 0;
            if (verdict != TVerdict::Pass && !expected) {
                t.FalseAlarms++;
                alarms.insert(id);
            }
            if (verdict == TVerdict::Pass && expected) {
                t.Misses++;
                misses.insert(id);
            }
        }
        if (!o.Face)
            misses.insert("no face found");
        std::printf("%-14s %-60s %-22s %-14s %s\n", label.Name, joined(flagged).c_str(), joined(alarms).c_str(),
                    joined(misses).c_str(), joined(unjudged).c_str());
        printValues(o);
    }

    std::printf("\nControlled changes (bases: the portrait before a plain grey wall, enlarged 2.3 times)\n");
    std::printf("%-8s %-14s %-26s %-26s %s\n", "base", "change", "aimed at: verdict", "unrelated flips", "faces");
    for (const char* path : {kHopper, kCollins}) {
        TBitmap32 original;
        if (!loaded(original, path))
            continue;
        TBitmap32 base;
        scaled(original, 2.3, base);
        const TPhotoAnalysis first = AnalysePhoto(base, models);
        if (first.Faces.empty())
            continue;
        const TPersonMaskMap wholeMask = WholePhotoPersonMask(base, models.Mask());
        pasted(base, wholeMask, [](int, int) { return Color32(205, 205, 205); });
        const TOutcome before = checked(base, models);
        const TPhotoAnalysis baseAnalysis = AnalysePhoto(base, models);
        const char* baseName = path == kHopper ? "hopper" : "collins";
        std::printf("%-8s %-14s %-26s\n", baseName, "(base)", ("flags " + joined(flaggedOf(before))).c_str());
        printValues(before);
        for (const TChange& change : changes(&wholeMask)) {
            TBitmap32 photo;
            photo.Assign(&base);
            if (change.Photo)
                change.Photo(photo, baseAnalysis);
            const TOutcome after = checked(photo, models, change.Frame);
            std::string aimed;
            for (const std::string& id : change.Aimed) {
                TTally& t = tally[id];
                t.Aimed++;
                const auto v = after.Verdicts.find(id);
                // "Cannot be judged" catches nothing.
                const bool caught = v != after.Verdicts.end() && v->second != TVerdict::Pass
                                    && (v->second == TVerdict::Fail || !std::isnan(after.Values.at(id)));
                t.Caught += caught;
                char value[32] = "";
                if (v != after.Verdicts.end())
                    std::snprintf(value, sizeof value, " %g", after.Values.at(id));
                aimed += id + ": " + (v == after.Verdicts.end() ? "absent" : mark(v->second)) + value + " ";
            }
            TIds flips;
            for (const auto& [id, verdict] : after.Verdicts) {
                if (change.Aimed.count(id) || change.Tolerated.count(id))
                    continue;
                const auto b = before.Verdicts.find(id);
                if (b == before.Verdicts.end() || b->second == verdict)
                    continue;
                // Turning unjudgeable (a blur that hides the whites of the
                // eyes), or judgeable, is said as such, not as a wrong verdict.
                if (std::isnan(after.Values.at(id)) || std::isnan(before.Values.at(id))) {
                    tally[id].LostSight++;
                    flips.insert(id + ":not judged");
                    continue;
                }
                tally[id].Flips++;
                flips.insert(id + ":" + mark(verdict));
            }
            if (!after.Face)
                flips.insert("no face");
            std::printf("%-8s %-14s %-32s %-26s %d\n", baseName, change.Name, aimed.empty() ? "-" : aimed.c_str(),
                        joined(flips).c_str(), after.Faces);
            printValues(after);
        }
    }

    std::printf("\n%-18s %-14s %-22s %-8s %-16s %s\n", "measure", "caught/aimed", "false alarms/photos", "misses",
                "unrelated flips", "not judged (real, changed)");
    for (const auto& [id, t] : tally) {
        const std::string caught = t.Aimed ? std::to_string(t.Caught) + "/" + std::to_string(t.Aimed) : "-";
        std::printf("%-18s %-14s %-22s %-8d %-16d %d, %d\n", id.c_str(), caught.c_str(),
                    (std::to_string(t.FalseAlarms) + "/" + std::to_string(t.Judged)).c_str(), t.Misses, t.Flips,
                    t.Unjudged, t.LostSight);
    }
    return 0;
}
