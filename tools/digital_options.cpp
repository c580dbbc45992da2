#include "digital_options.h"

#include "bitmap32.h"
#include "country_names.h"
#include "digital_photo.h"
#include "measured_frame.h"
#include "messages.h"
#include "photo_check.h"
#include "photo_messages.h"
#include "straightened.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw ESheetUsage(message);
}

}  // namespace

bool ReadDigitalOrLayoutOption(const QString& name, const std::function<QString()>& value, bool inlineValue,
                               TSheetOptions& options)
{
    if (name == QLatin1String("--digital")) {
        const QString text = value();
        try {
            options.Digital = ParseDigitalSize(text);
        } catch (const Exception& e) {
            fail(QStringLiteral("--digital: %1").arg(e.Message));
        }
        return true;
    }
    if (name == QLatin1String("--packed")) {
        if (inlineValue)
            fail(MessageText(Msg::kOptionTakesNoValue).arg(name));
        options.Layout.Arrangement = TSheetArrangement::Packed;
        return true;
    }
    if (name == QLatin1String("--gap")) {
        const QString text = value();
        bool ok = false;
        const double mm = text.toDouble(&ok);
        const int tenths = ok ? qRound(mm * 10) : -1;
        if (!ok || tenths < kMinPackedGap || tenths > kMaxPackedGap)
            fail(MessageText(Msg::kGapNotLength).arg(text));
        options.Layout.GapTenthsMm = tenths;
        options.GapGiven = true;
        return true;
    }
    return false;
}

void CheckDigitalOrLayoutOptions(const TSheetOptions& options, bool paperGiven)
{
    if (options.GapGiven && !options.Layout.Packed())
        fail(MessageText(Msg::kGapNeedsPacked));
    if (!options.Digital)
        return;
    if (options.Photos.size() != 1)
        fail(MessageText(Msg::kDigitalOnePhoto).arg(options.Photos.size()));
    if (options.Output != TSheetOutput::Jpeg)
        fail(MessageText(Msg::kDigitalNeedsJpeg));
    if (options.Count || options.CutMarks || options.Layout.Packed() || options.SizeWidthMm > 0
        || !options.PrinterName.isEmpty() || paperGiven || options.CalibrationPage)
        fail(MessageText(Msg::kDigitalNoSheet));
}

std::optional<TPlainBackground> PlainBackgroundFor(const TSheetOptions& options, const TBitmap32& Photo,
                                                   const QString& PhotoName, TFaceModels& Models,
                                                   const std::function<const TPhotoAnalysis&()>& Analysis)
{
    if (!options.Background)
        return std::nullopt;
    const TPersonMaskMap& person = Analysis().Facts.Person;
    if (person.Empty())
        throw Exception(MessageText(Msg::kNoPersonForBackground).arg(QDir::toNativeSeparators(PhotoName)));
    return TPlainBackground{*options.Background, person, WholePhotoPersonMask(Photo, Models.Mask())};
}

namespace {

// The user's head lines in the rendered digital photo: its rows are the
// frame's (or the middle part's of the size's shape), scaled to its height.
THeadLines renderedLines(const THeadLines& lines, const TBitmap32& photo, const std::optional<TFrame>& frame,
                         const TDigitalSize& size)
{
    const double aspect = static_cast<double>(size.Width) / size.Height;
    double top = 0, height = photo.Height();
    if (frame) {
        top = frame->Y, height = frame->Height;
    } else if (photo.Width() < photo.Height() * aspect) {
        height = photo.Width() / aspect;
        top = (photo.Height() - height) / 2;
    }
    const double scale = size.Height / height;
    return {(lines.CrownY - top) * scale, (lines.ChinY - top) * scale};
}

}  // namespace

QString RunDigitalPhoto(const TSheetOptions& options, TFaceModels& Models, TSheetCheck* check)
{
    const TDigitalSize& size = *options.Digital;
    const QFileInfo output(options.OutputFile);
    if (output.exists() && output.canonicalFilePath() == QFileInfo(options.Photo).canonicalFilePath())
        throw Exception(MessageText(Msg::kOutputIsPhoto).arg(options.OutputFile));
    // Loaded, refused or warned of as a sheet's photo is, in the same words.
    TBitmap32 photo;
    photo.SetStretchFilter(sfMitchell);
    const QString partly = LoadPhotoFile(photo, options.Photo);
    if (photo.Empty())
        throw Exception(MessageText(Msg::kEmptyPhoto).arg(QFileInfo(options.Photo).fileName()));
    if (check && !partly.isEmpty())
        check->Warnings << partly;

    QStringList warnings;
    const TStraightenedPhoto straightened(photo, options.Straighten, Models, warnings);
    const TBitmap32& seen = straightened.Seen();
    if (check)
        check->Warnings << warnings;
    std::optional<TPhotoAnalysis> analysis;
    const auto analysed = [&]() -> const TPhotoAnalysis& {
        if (!analysis) {
            analysis = AnalysePhoto(seen, Models);
            if (options.Head)
                UseHeadLines(*analysis, seen, *options.Head);
        }
        return *analysis;
    };
    std::optional<TFrame> frame;
    if (options.Frame && options.Frame->Automatic) {
        // The head the face models measure, as the window's "Automatic" frames it.
        std::vector<THead> heads;
        for (const TMeasuredFace& face : analysed().Faces)
            heads.push_back(face.Head.Head);
        const TAutoFrame found = AutoFrameForHeads(heads, DigitalHeadRule(size), FramingWording());
        if (!found.Frame)
            throw Exception(QStringLiteral("--frame auto: %1").arg(found.Message));
        frame = found.Frame;
    } else if (options.Frame) {
        frame = options.Frame->Rect;
    }
    // The rendered pixels stay at hand for a check of the photo.
    TBitmap32 rendered;
    TDigitalJpeg jpeg;
    const std::optional<TPlainBackground> background = PlainBackgroundFor(options, seen, options.Photo, Models, analysed);
    SavePhotoFile(options.OutputFile, [&] {
        jpeg = SaveDigitalPhoto(photo, frame, size, options.OutputFile, &rendered, background, straightened.Turn());
    });
    if (check) {
        // The whole picture is what the office receives, judged by the
        // preset's rule.
        TPhotoAnalysis analysis = AnalysePhoto(rendered, Models);
        if (options.Head)
            UseHeadLines(analysis, rendered, renderedLines(*options.Head, photo, frame, size));
        analysis.Measured.BackgroundReplaced = background.has_value();
        const TFrame whole{0, 0, static_cast<double>(rendered.Width()), static_cast<double>(rendered.Height())};
        const THeadRule rule = DigitalHeadRule(size);
        check->Measures = CheckPhoto(analysis.Facts, analysis.Measured, whole, rule, FramingWording(), DocumentNameOf(rule));
        if (!analysis.Faces.empty())
            check->Head = analysis.Facts.Head;
        check->Crown = analysis.Facts.Crown;
    }
    return MessageText(Msg::kDigitalLine)
        .arg(size.Key.isEmpty() ? MessageText(Msg::kOwnDigitalSize) : size.Key)
        .arg(size.Width)
        .arg(size.Height)
        .arg(QLocale::c().toString(jpeg.Bytes.size() / 1000.0, 'f', 1))
        .arg(jpeg.Quality)
        .arg(QDir::toNativeSeparators(options.OutputFile));
}
