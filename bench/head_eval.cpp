// The head measure against hand measurements of real portraits: every photo
// of the table beside this file (head_eval_hand.tsv) that is installed, and
// the controlled changes of some of them the table asks for, analysed as the
// photo check analyses a photo. For each face it prints where the measured
// crown, chin and eye line lie from the hand's, in percent of the hand's
// head height (positive: lower in the photo), where the crown came from, and
// the head height in millimetres that the hand's head gets in the frame that
// automatic framing makes for 35 x 45 mm (the rule: 32 to 36 mm). Photos
// that are not installed are named with their package and left out; faces
// the table marks as turned well away count only for being found.
//
//   head_eval [TABLE] [--draw DIR]
//
// --draw writes each photo to DIR with the person mask's edge (grey), the
// hand's lines (thin, white) and the measured ones (thick: crown blue, chin
// green, eyes orange).

#include "bitmap32.h"
#include "frame.h"
#include "measured_frame.h"
#include "photo_check.h"
#include "sheet_formats.h"

#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// One face measured by hand, in the photo's pixels.
struct THandFace {
    QString Name;
    QString Package;
    QString Path;
    THead Hand;
    bool Turned = false;   // turned well away: counted for being found only
};

// A photo to measure: as its package ships it, or with a controlled change.
struct TCase {
    QString Name;
    QString Path;
    QString Change;   // none: the photo as shipped
    THead Hand;
    bool Turned = false;
};

// Crown-to-chin share of the head that counts as right.
constexpr double kGood = 0.05;

cv::Mat pixels(TBitmap32& photo)
{
    return cv::Mat(photo.Height(), photo.Width(), CV_8UC4, photo.Bits());
}

// The photo without its rows above the hand's crown less 2 % of the head:
// a head within a few percent of the top edge.
void tight(TBitmap32& photo, THead& hand)
{
    const int top = std::max(0, static_cast<int>(hand.CrownY - 0.02 * hand.Height()));
    TBitmap32 cut;
    cut.SetSize(photo.Width(), photo.Height() - top);
    for (int y = 0; y < cut.Height(); ++y)
        std::copy_n(photo.ScanLine(y + top), photo.Width(), cut.ScanLine(y));
    photo.Assign(&cut);
    hand.CrownY -= top, hand.ChinY -= top, hand.EyeY -= top;
}

// The photo in the lower right corner of a grey canvas whose shorter side is
// Heads head heights (six: a face of about a tenth of it), in a large photo.
void small(TBitmap32& photo, THead& hand, double heads)
{
    const int side = static_cast<int>(heads * hand.Height());
    const int w = std::max(photo.Width(), side * 4 / 3), h = std::max(photo.Height(), side);
    TBitmap32 canvas;
    canvas.SetSize(w, h);
    canvas.Clear(Color32(120, 130, 140));
    const int dx = w - photo.Width(), dy = h - photo.Height();
    for (int y = 0; y < photo.Height(); ++y)
        std::copy_n(photo.ScanLine(y), photo.Width(), canvas.ScanLine(y + dy) + dx);
    photo.Assign(&canvas);
    hand = {hand.CrownY + dy, hand.ChinY + dy, hand.CentreX + dx, hand.EyeY + dy};
}

// The photo turned by Degrees about its middle (counter-clockwise as seen),
// its edges continued; the hand's points turn with it.
void turned(TBitmap32& photo, THead& hand, double degrees)
{
    const cv::Point2f centre(photo.Width() / 2.f, photo.Height() / 2.f);
    const cv::Mat turn = cv::getRotationMatrix2D(centre, degrees, 1);
    cv::Mat out;
    cv::warpAffine(pixels(photo), out, turn, pixels(photo).size(), cv::INTER_CUBIC, cv::BORDER_REPLICATE);
    out.copyTo(pixels(photo));
    const auto y = [&](double x, double y) {
        return turn.at<double>(1, 0) * x + turn.at<double>(1, 1) * y + turn.at<double>(1, 2);
    };
    const double x = turn.at<double>(0, 0) * hand.CentreX + turn.at<double>(0, 1) * hand.EyeY + turn.at<double>(0, 2);
    hand = {y(hand.CentreX, hand.CrownY), y(hand.CentreX, hand.ChinY), x, y(hand.CentreX, hand.EyeY)};
}

// The photo enlarged Times with a cubic filter, as a camera's digital zoom.
void upscaled(TBitmap32& photo, THead& hand, int times)
{
    TBitmap32 large;
    large.SetSize(photo.Width() * times, photo.Height() * times);
    cv::Mat out = pixels(large);
    cv::resize(pixels(photo), out, out.size(), 0, 0, cv::INTER_CUBIC);
    photo.Assign(&large);
    // Continuous coordinates scale as they are.
    hand = {hand.CrownY * times, hand.ChinY * times, hand.CentreX * times, hand.EyeY * times};
}

// The photo Stops stops darker: every channel halved that many times.
void darker(TBitmap32& photo, int stops)
{
    pixels(photo).forEach<cv::Vec4b>([stops](cv::Vec4b& p, const int*) {
        for (int k = 0; k < 3; ++k)
            p[k] = static_cast<std::uint8_t>(p[k] >> stops);
    });
}

bool applyChange(const QString& kind, TBitmap32& photo, THead& hand)
{
    if (kind == QLatin1String("tight"))
        tight(photo, hand);
    else if (kind.startsWith(QLatin1String("small")))
        small(photo, hand, kind.size() > 5 ? kind.mid(5).toDouble() : 6);
    else if (kind.startsWith(QLatin1String("turned")))
        turned(photo, hand, kind.mid(6).toDouble());
    else if (kind.startsWith(QLatin1String("upscaled")))
        upscaled(photo, hand, kind.mid(8).toInt());
    else if (kind.startsWith(QLatin1String("darker")))
        darker(photo, kind.mid(6).toInt());
    else
        return false;
    return true;
}

std::vector<TCase> readCases(const QString& tablePath, int& skipped)
{
    QFile file(tablePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(tablePath));
        return {};
    }
    std::map<QString, THandFace> faces;
    std::vector<TCase> cases;
    skipped = 0;
    QTextStream in(&file);
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    while (!in.atEnd()) {
        const QString line = in.readLine().section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList f = line.split(blanks);
        // "= BASE CHANGE...": controlled changes of a face above.
        if (f[0] == QLatin1String("=")) {
            const auto base = faces.find(f.value(1));
            if (base == faces.end())
                continue;
            for (int i = 2; i < f.size(); ++i)
                cases.push_back({base->first + QLatin1Char(' ') + f[i], base->second.Path, f[i], base->second.Hand,
                                 base->second.Turned});
            continue;
        }
        // NAME PACKAGE CROWN CHIN EYE CENTRE PATH [turned]
        if (f.size() < 7)
            continue;
        THandFace face{f[0], f[1], f[6], THead{f[2].toDouble(), f[3].toDouble(), f[5].toDouble(), f[4].toDouble()},
                       f.value(7) == QLatin1String("turned")};
        if (!QFileInfo::exists(face.Path)) {
            std::printf("%-24s not installed (Debian package %s)\n", qPrintable(face.Name), qPrintable(face.Package));
            ++skipped;
            continue;
        }
        faces[face.Name] = face;
        cases.push_back({face.Name, face.Path, QString(), face.Hand, face.Turned});
    }
    return cases;
}

// The measured face that holds the hand's eyes; none when it was not found.
const TMeasuredFace* faceAt(const TPhotoAnalysis& analysis, const THead& hand)
{
    for (const TMeasuredFace& face : analysis.Faces)
        if (face.Face.Box.contains(hand.CentreX, hand.EyeY))
            return &face;
    return nullptr;
}

// The photo with the mask's edge, the hand's lines and the measured ones.
void draw(const QString& dir, const QString& name, const TBitmap32& photo, const TMeasuredFace& face,
          const THead& hand)
{
    QImage image;
    photo.AssignTo(image);
    image = image.convertToFormat(QImage::Format_RGB32);
    const TPersonMaskMap& mask = face.Mask;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool in = mask.At({x + 0.5, y + 0.5}) >= 0.5;
            if (in != (mask.At({x + 1.5, y + 0.5}) >= 0.5) || in != (mask.At({x + 0.5, y + 1.5}) >= 0.5))
                image.setPixel(x, y, qRgb(160, 160, 160));
        }
    QPainter p(&image);
    const double half = 0.4 * hand.Height();
    const auto line = [&](double y, QColor colour, double width, double cx) {
        p.setPen(QPen(colour, width));
        p.drawLine(QPointF(cx - half, y), QPointF(cx + half, y));
    };
    const THead& m = face.Head.Head;
    const double thick = std::max(2.0, hand.Height() / 100);
    line(m.CrownY, QColor(60, 140, 255), thick, m.CentreX);
    line(m.ChinY, QColor(40, 200, 90), thick, m.CentreX);
    line(m.EyeY, QColor(255, 150, 30), thick, m.CentreX);
    for (double y : {hand.CrownY, hand.ChinY, hand.EyeY})
        line(y, Qt::white, 1, hand.CentreX);
    p.end();
    const QString file = QString(name).replace(QLatin1Char(' '), QLatin1Char('_')) + QStringLiteral(".jpg");
    image.save(dir + QLatin1Char('/') + file);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString table = QStringLiteral(QRL_HEAD_EVAL_TABLE), drawDir;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--draw") && i + 1 < args.size())
            drawDir = args[++i];
        else
            table = args[i];
    }
    int skipped = 0;
    std::vector<TCase> cases = readCases(table, skipped);
    TFaceModels models(QStringLiteral(QRL_BENCH_MODEL_DIR));
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);

    std::printf("%-24s %7s %7s %7s  %-10s %s\n", "face", "crown", "chin", "eyes", "crown is", "hand's head framed");
    int good = 0, framed = 0, measured = 0, realCount = 0, realGood = 0, realFramed = 0, turned = 0, turnedFound = 0;
    for (TCase& c : cases) {
        TBitmap32 photo;
        photo.LoadFromFile(c.Path);
        const bool real = c.Change.isEmpty();
        if (!real && !applyChange(c.Change, photo, c.Hand)) {
            std::fprintf(stderr, "unknown change %s\n", qPrintable(c.Change));
            continue;
        }
        const TPhotoAnalysis analysis = AnalysePhoto(photo, models);
        const TMeasuredFace* face = faceAt(analysis, c.Hand);
        turned += c.Turned;
        turnedFound += c.Turned && face;
        realCount += real && !c.Turned;
        measured += !c.Turned;
        if (!face) {
            std::printf("%-24s not found (%zu faces elsewhere)\n", qPrintable(c.Name), analysis.Faces.size());
            continue;
        }
        if (!drawDir.isEmpty())
            draw(drawDir, c.Name, photo, *face, c.Hand);
        const THead& m = face->Head.Head;
        const double h = c.Hand.Height();
        const double crown = 100 * (m.CrownY - c.Hand.CrownY) / h;
        const double chin = 100 * (m.ChinY - c.Hand.ChinY) / h;
        const double eyes = 100 * (m.EyeY - c.Hand.EyeY) / h;
        const bool right = std::abs(crown) <= 100 * kGood && std::abs(chin) <= 100 * kGood;
        const TAutoFrame frame = AutoFrameForHeads({m}, rule);
        const TCrownSource crownSource = face->Head.Crown;
        const char* source = IsEstimated(crownSource) ? CrownReasonName(crownSource) : CrownSourceName(crownSource);
        const THeadCheck check = CheckHead(*frame.Frame, c.Hand, rule);
        const bool inside = check.HeadVerdict == THeadVerdict::Within;
        if (!c.Turned) {
            good += right, framed += inside;
            realGood += right && real, realFramed += inside && real;
        }
        const char* note = c.Turned ? "   (turned away: found)" : right ? "" : "   <- beyond 5 %";
        std::printf("%-24s %+6.1f%% %+6.1f%% %+6.1f%%  %-10s %.1f mm %s%s\n", qPrintable(c.Name), crown, chin, eyes,
                    source, check.Head, inside ? "inside" : "OUTSIDE", note);
    }
    std::printf("\ncrown and chin within 5 %% of the hand: %d of %d (as shipped: %d of %d)\n", good, measured,
                realGood, realCount);
    std::printf("framed inside 32-36 mm for 35 x 45 mm: %d of %d (as shipped: %d of %d)\n", framed, measured,
                realFramed, realCount);
    if (turned > 0)
        std::printf("faces turned well away found in the whole photo: %d of %d\n", turnedFound, turned);
    if (skipped > 0)
        std::printf("%d photos not installed\n", skipped);
    return 0;
}
