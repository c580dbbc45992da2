#include "sheet_tool.h"

#include "calibration_print.h"
#include "cups_printer.h"
#include "check_report.h"
#include "digital_options.h"
#include "measured_frame.h"
#include "photo_check.h"
#include "plain_background.h"
#include "file_names.h"
#include "licence.h"
#include "page_layout.h"
#include "pdf_printer.h"
#include "messages.h"
#include "photo_lab_printer.h"
#include "photo_messages.h"
#include "photo_sheet.h"
#include "print_frame.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "sheet_size.h"
#include "straightened.h"
#include "U_UnicodeUtils.h"
#include "virtual_printer.h"
#include "sheet_formats.h"
#include "country_names.h"
#include "format_list.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCheckFailed = 3;

std::unique_ptr<TVirtualPrinter> virtualPrinterFor(const TVirtualPaper& paper)
{
    return std::make_unique<TVirtualPrinter>(
        QStringLiteral("%1 at %2 dpi").arg(paper.Name).arg(paper.Dpi),
        TVirtualPrinter::MetricsForPaper(paper.Width, paper.Height, paper.Dpi, paper.Margin),
        QSizeF(paper.Width / 100.0, paper.Height / 100.0));
}

// The printer the options describe, ready for the output.
std::unique_ptr<TPrinterDevice> choosePrinter(const TSheetOptions& options)
{
    if (options.Paper) {
        auto printer = virtualPrinterFor(*options.Paper);
        if (options.Output == TSheetOutput::Pdf)
            printer->SetOutputFileName(options.OutputFile);
        return printer;
    }
    if (auto lab = PhotoLabPrinterNamed(options.PrinterName)) {
        if (options.Output == TSheetOutput::Print)
            throw Exception(MessageText(Msg::kLabPrintNeedsOutput).arg(ShownPrinterName(lab->Name())));
        if (options.Output == TSheetOutput::Pdf)
            lab->SetOutputFileName(options.OutputFile);
        return lab;
    }
    std::unique_ptr<TCupsPrinter> queue;
    if (!options.PrinterName.isEmpty()) {
        queue = TCupsPrinter::Named(options.PrinterName);
        if (!queue)
            throw Exception(MessageText(Msg::kNoSuchPrinter).arg(options.PrinterName));
    } else {
        queue = TCupsPrinter::SystemDefault();
    }
    if (!queue) {
        if (options.Output == TSheetOutput::Print) {
            throw Exception(MessageText(Msg::kNoPrinterInstalled));
        }
        // The built-in "Print to PDF", as the window has it without a printer.
        auto builtInPdf = std::make_unique<TPdfPrinter>();
        if (options.Output == TSheetOutput::Pdf)
            builtInPdf->SetOutputFileName(options.OutputFile);
        return builtInPdf;
    }
    if (options.Output != TSheetOutput::Pdf)
        return queue;
    // A real printer's page goes into a PDF of its paper, placed where the
    // printer would print it.
    auto pdf = std::make_unique<TVirtualPrinter>(queue->Name(), MetricsOf(*queue), queue->PaperMm());
    pdf->SetOutputFileName(options.OutputFile);
    return pdf;
}

// The photo as the main window holds it: upright, resampled with the
// Mitchell filter, refused or warned of in the window's words. Returns the
// warning of a photo that loaded only in part.
QString loadPhoto(TBitmap32& photo, const QString& fileName)
{
    photo.SetStretchFilter(sfMitchell);
    const QString warning = LoadPhotoFile(photo, fileName);
    // A blank sheet would pass for a result.
    if (photo.Empty())
        throw Exception(MessageText(Msg::kEmptyPhoto).arg(QFileInfo(fileName).fileName()));
    return warning;
}

// The output's name as the user gave it, or the printer's.
QString destinationOf(const TSheetOptions& options, const TPrinterDevice& printer)
{
    if (options.Output == TSheetOutput::Print)
        return MessageText(Msg::kOnPrinter).arg(printer.Name());
    return QDir::toNativeSeparators(options.OutputFile);
}

// A job into a PDF file fails as a saved page does, named with its reason in
// the user's language; a printer's job as the window's does, with the queue's
// failure in the user's language too.
void printOrWrite(const TSheetOptions& options, const QString& printerName, const std::function<void()>& job)
{
    if (options.Output == TSheetOutput::Pdf)
        SavePageFile(options.OutputFile, job);
    else
        PrintOnPrinter(printerName, job);
}

// Refuses outputs that name a photo: a slip of the finger on the command
// line would otherwise replace a photo by its sheet.
void checkOutputsAreNotPhotos(const QStringList& outputs, const QStringList& photos)
{
    for (const QString& name : outputs) {
        const QFileInfo output(name);
        if (!output.exists())
            continue;
        for (const QString& photoName : photos) {
            const QFileInfo photo(photoName);
            if (photo.exists() && photo.canonicalFilePath() == output.canonicalFilePath())
                throw Exception(MessageText(Msg::kOutputIsPhoto).arg(name));
        }
    }
}

// What the face models find in one photo, asked of them at most once: the
// automatic frame, the plain background and the check share it. The user's
// head lines, when given, take the place of the measured crown and chin.
class TAnalysisOnDemand {
public:
    TAnalysisOnDemand(const TBitmap32& Photo, TFaceModels& Models, const std::optional<THeadLines>& Lines)
        : FPhoto(Photo), FModels(Models), FLines(Lines)
    {
    }

    const TPhotoAnalysis& Get()
    {
        if (!FAnalysis) {
            FAnalysis = AnalysePhoto(FPhoto, FModels);
            if (FLines)
                UseHeadLines(*FAnalysis, FPhoto, *FLines);
        }
        return *FAnalysis;
    }

private:
    const TBitmap32& FPhoto;
    TFaceModels& FModels;
    std::optional<THeadLines> FLines;
    std::optional<TPhotoAnalysis> FAnalysis;
};

// The frame the command line asks for; automatic framing as the framing
// window's "Automatic" does it, on the heads the face models measure, whose
// note on several faces becomes a warning.
std::optional<TFrame> frameFor(const TSheetOptions& options, TAnalysisOnDemand& analysis, const THeadRule& rule,
                               QStringList& warnings)
{
    if (!options.Frame)
        return std::nullopt;
    if (!options.Frame->Automatic)
        return options.Frame->Rect;
    std::vector<THead> heads;
    for (const TMeasuredFace& face : analysis.Get().Faces)
        heads.push_back(face.Head.Head);
    const TAutoFrame found = AutoFrameForHeads(heads, rule, FramingWording());
    if (!found.Frame)
        throw Exception(QStringLiteral("--frame auto: %1").arg(found.Message));
    if (!found.Message.isEmpty())
        warnings << found.Message;
    return found.Frame;
}

// The photo size of a run: the listed format's, a document's, or --size with
// the rule of the first listed format of that size.
struct TRunFormat {
    QString Text;
    double WidthMm = 0;
    double HeightMm = 0;
    THeadRule Rule;
};

TRunFormat formatOf(const TSheetOptions& options)
{
    const THeadRule rule = OptionsRule(options);
    if (options.Document)
        return {DocumentName(*options.Document), rule.PhotoWidthMm, rule.PhotoHeightMm, rule};
    if (options.SizeWidthMm > 0) {
        return {QStringLiteral("%1 x %2 mm").arg(options.SizeWidthMm).arg(options.SizeHeightMm),
                static_cast<double>(options.SizeWidthMm), static_cast<double>(options.SizeHeightMm), rule};
    }
    const TSheetFormat listed = BuiltInFormats().at(static_cast<std::size_t>(options.Format));
    return {MessageText(listed.Text), listed.WidthMm, listed.HeightMm, rule};
}

// The files a run writes, known before any photo is loaded: one per page for
// JPEG (a blank run still makes its one page), one PDF, none for a printer.
// Too many pages end the run here.
QStringList plannedOutputs(const TSheetOptions& options, int photoCount, int copies, int capacity,
                           int& pageCount)
{
    const std::vector<int> counts(static_cast<std::size_t>(photoCount), copies);
    pageCount = static_cast<int>(LayoutPages(counts, capacity).size());
    if (options.Output == TSheetOutput::Print)
        return {};
    const int files = options.Output == TSheetOutput::Jpeg ? std::max(pageCount, 1) : 1;
    QStringList outputs;
    for (int page = 1; page <= files; ++page)
        outputs << PageFileName(options.OutputFile, page, files);
    return outputs;
}

// Each photo's cell added to the sheet with `copies` copies, one photo held
// at a time; the warnings name the photo when there are several.
void addPhotoCells(const TSheetOptions& options, const QStringList& photos, const THeadRule& rule, int copies,
                   TFaceModels& models, TPhotoSheet& sheet, QStringList& warningsOut)
{
    for (const QString& name : photos) {
        TBitmap32 photo;
        QStringList warnings;
        if (const QString partly = loadPhoto(photo, name); !partly.isEmpty())
            warnings << partly;
        const TStraightenedPhoto straightened(photo, options.Straighten, models, warnings);
        const TBitmap32& seen = straightened.Seen();
        TAnalysisOnDemand analysis(seen, models, options.Head);
        const std::optional<TFrame> frame = frameFor(options, analysis, rule, warnings);
        const std::optional<TPlainBackground> background =
            PlainBackgroundFor(options, seen, name, models, [&]() -> const TPhotoAnalysis& { return analysis.Get(); });
        const QString lowResolution = LowResolutionWarning(seen, frame, rule);
        if (!lowResolution.isEmpty())
            warnings << lowResolution;
        for (const QString& warning : warnings)
            warningsOut << (photos.size() > 1 ? QStringLiteral("%1: %2").arg(name, warning) : warning);
        RenderPhotoCell(photo, kMainPhotoViewLook, sheet.SheetPrinter(), frame, background, straightened.Turn());
        sheet.AddCell(copies);
    }
}

// What the summary line tells of a finished run.
TSheetResult resultOf(const TRunFormat& format, TIDPrinter& sheetPrinter, int photos, int copies,
                      int capacity, int pageCount, const QString& destination)
{
    const TPrinterDevice& printer = sheetPrinter.Printer();
    TSheetResult result;
    result.FormatText = format.Text;
    result.CellWidth = sheetPrinter.Cell().Width();
    result.CellHeight = sheetPrinter.Cell().Height();
    result.Columns = sheetPrinter.ColumnCount();
    result.Rows = sheetPrinter.RowCount();
    result.Photos = photos;
    result.Count = copies * photos;
    result.Capacity = capacity;
    result.Pages = std::max(pageCount, 1);
    result.PageWidth = printer.Caps(TDeviceCap::HorzRes);
    result.PageHeight = printer.Caps(TDeviceCap::VertRes);
    result.DpiX = sheetPrinter.DpiX();
    result.DpiY = sheetPrinter.DpiY();
    result.Destination = destination;
    return result;
}

}  // namespace

TWording FramingWording()
{
    return [](const QString& original) {
        if (original == QLatin1String(kNoFaceText))
            return MessageText(Msg::kNoFaceToFrame);
        if (original == QLatin1String(kSeveralHeadsText))
            return MessageText(Msg::kSeveralFacesFramed);
        // The head height's sentences, as the framing window words them.
        return FramingText(original);
    };
}

TSheetCheck RunSheetCheck(const TSheetOptions& Options, TFaceModels& Models)
{
    TBitmap32 photo;
    TSheetCheck check;
    if (const QString partly = loadPhoto(photo, Options.Photo); !partly.isEmpty())
        check.Warnings << partly;
    const THeadRule rule = formatOf(Options).Rule;
    const TStraightenedPhoto straightened(photo, Options.Straighten, Models, check.Warnings);
    const TBitmap32& seen = straightened.Seen();
    TAnalysisOnDemand onDemand(seen, Models, Options.Head);
    const std::optional<TFrame> frame = frameFor(Options, onDemand, rule, check.Warnings);
    const TPhotoAnalysis& analysis = onDemand.Get();
    // With a plain background the check judges the background the sheet
    // will have (a photo without a person keeps its own: the check says so).
    const TPhotoMeasures measured = Options.Background
        ? MeasuredWithBackground(seen, analysis.Facts, analysis.Measured, *Options.Background)
        : analysis.Measured;
    check.Measures = CheckPhoto(analysis.Facts, measured,
                                frame ? *frame : UnframedFrame(seen.Width(), seen.Height(), rule), rule,
                                FramingWording(), DocumentNameOf(rule));
    if (!analysis.Faces.empty())
        check.Head = analysis.Facts.Head;
    check.Crown = analysis.Facts.Crown;
    return check;
}

QString RunCalibrationPage(const TSheetOptions& Options)
{
    const std::unique_ptr<TPrinterDevice> printer = choosePrinter(Options);
    if (Options.Output == TSheetOutput::Jpeg) {
        SavePageFile(Options.OutputFile, [&] { SaveCalibrationPageAsJpeg(*printer, Options.OutputFile); });
    } else {
        printer->SetJobTitle(PrintJobTitle({}));
        printOrWrite(Options, printer->Name(), [&] { PrintCalibrationPage(*printer); });
    }
    return MessageText(Msg::kCalibrationLine)
        .arg(printer->Name())
        .arg(printer->Caps(TDeviceCap::HorzRes))
        .arg(printer->Caps(TDeviceCap::VertRes))
        .arg(printer->Caps(TDeviceCap::LogPixelsX))
        .arg(printer->Caps(TDeviceCap::LogPixelsY))
        .arg(destinationOf(Options, *printer));
}

TSheetResult RunSheet(const TSheetOptions& Options, TFaceModels& Models)
{
    const QStringList photos = Options.Photos.isEmpty() ? QStringList{Options.Photo} : Options.Photos;
    if (Options.Output != TSheetOutput::Print)
        checkOutputsAreNotPhotos({Options.OutputFile}, photos);
    const std::unique_ptr<TPrinterDevice> printer = choosePrinter(Options);

    const TRunFormat format = formatOf(Options);
    TIDPrinter sheetPrinter(*printer);
    sheetPrinter.SetPhotoSize(format.WidthMm, format.HeightMm);
    sheetPrinter.SetCutMarks(Options.CutMarks);
    sheetPrinter.SetLayout(Options.Layout);
    const int capacity = sheetPrinter.Capacity();
    const int copies = Options.Count.value_or(DefaultCopies(capacity, static_cast<int>(photos.size())));
    // A page that holds none would come out blank and pass for a sheet; an
    // explicit --count 0 still gets its blank page.
    if (capacity == 0 && (copies > 0 || !Options.Count)) {
        throw Exception(MessageText(Msg::kNoCopyFits)
                            .arg(format.Text)
                            .arg(printer->Caps(TDeviceCap::HorzRes))
                            .arg(printer->Caps(TDeviceCap::VertRes)));
    }
    int pageCount = 0;
    const QStringList outputs = plannedOutputs(Options, static_cast<int>(photos.size()), copies, capacity, pageCount);
    checkOutputsAreNotPhotos(outputs, photos);

    TPhotoSheet sheet(sheetPrinter);
    QStringList warnings;
    addPhotoCells(Options, photos, format.Rule, copies, Models, sheet, warnings);
    // The page itself is never held: each JPEG is composed band by band as
    // it is encoded, and a PDF or a print job places the cells.
    if (Options.Output == TSheetOutput::Jpeg) {
        SavePageFile(outputs.constFirst(), [&] { SaveSheetPagesAsJpeg(sheet, outputs); });
    } else {
        printer->SetJobTitle(PrintJobTitle(photos));
        printOrWrite(Options, printer->Name(), [&] { sheet.PrintPages(); });
    }

    QStringList shown;
    for (const QString& output : outputs)
        shown << QDir::toNativeSeparators(output);
    const QString destination = Options.Output == TSheetOutput::Print
        ? MessageText(Msg::kOnPrinter).arg(printer->Name())
        : shown.join(QStringLiteral(", "));
    TSheetResult result = resultOf(format, sheetPrinter, static_cast<int>(photos.size()), copies, capacity,
                                   pageCount, destination);
    result.Warnings = warnings;
    return result;
}

QString SheetSummary(const TSheetResult& Result)
{
    const QString dpi = Result.DpiX == Result.DpiY
        ? QString::number(Result.DpiX)
        : QStringLiteral("%1 x %2").arg(Result.DpiX).arg(Result.DpiY);
    // One photo or one page is said in the singular.
    QString copies;
    if (Result.Photos <= 1 && Result.Pages <= 1)
        copies = MessageText(Msg::kCopiesOfPlaces).arg(Result.Count).arg(Result.Capacity);
    else if (Result.Photos <= 1)
        copies = MessageText(Msg::kOnePhotoOnPages).arg(Result.Count).arg(Result.Pages).arg(Result.Capacity);
    else if (Result.Pages <= 1)
        copies = MessageText(Msg::kPhotosOnOnePage).arg(Result.Photos).arg(Result.Count).arg(Result.Capacity);
    else
        copies = MessageText(Msg::kPhotosOnPages)
                     .arg(Result.Photos)
                     .arg(Result.Count)
                     .arg(Result.Pages)
                     .arg(Result.Capacity);
    return MessageText(Msg::kSheetLine)
        .arg(Result.FormatText, copies)
        .arg(Result.Columns)
        .arg(Result.Rows)
        .arg(Result.CellWidth)
        .arg(Result.CellHeight)
        .arg(Result.PageWidth)
        .arg(Result.PageHeight)
        .arg(dpi, Result.Destination);
}

int SheetToolMain(const QStringList& Args, QTextStream& Out, QTextStream& Err, TFaceModels& Models)
{
    const QString program = QStringLiteral("quorlo-sheet");
    try {
        const TSheetOptions options = ParseSheetOptions(Args);
        if (options.Help) {
            Out << SheetUsage();
            return 0;
        }
        if (options.Version) {
            Out << program << ' ' << GetFileVersionString(QCoreApplication::applicationFilePath())
                << '\n' << kLicenceLine << '\n';
            return 0;
        }
        if (options.CalibrationPage) {
            Out << RunCalibrationPage(options) << '\n';
            return 0;
        }
        if (options.ListFormats) {
            Out << FormatListText(options.ListCountry);
            return 0;
        }
        // A background replaced for an office that refuses it: said, and
        // done as asked.
        if (const QString refused = RefusedEditWarning(options); !refused.isEmpty())
            Err << program << ": " << MessageText(Msg::kWarning).arg(refused) << '\n';
        int status = 0;
        const bool checking = options.Check != TSheetOptions::TCheck::None;
        // The check's report: warnings on the error stream, the table or
        // JSON on the output; exit 3 when an office would refuse the photo.
        const auto report = [&](const TSheetCheck& check) {
            for (const QString& warning : check.Warnings)
                Err << program << ": " << MessageText(Msg::kWarning).arg(warning) << '\n';
            if (options.Check == TSheetOptions::TCheck::Json)
                Out << CheckJson(check.Measures, check.Head ? &*check.Head : nullptr, check.Crown);
            else
                Out << CheckTable(check.Measures) << CheckSummary(check.Measures) << '\n';
            status = CountVerdict(check.Measures, TVerdict::Fail) > 0 ? kExitCheckFailed : 0;
        };
        // JSON on the standard output stays JSON alone.
        QTextStream& summary = options.Check == TSheetOptions::TCheck::Json ? Err : Out;
        if (options.Digital) {
            TSheetCheck check;
            const QString line = RunDigitalPhoto(options, Models, checking ? &check : nullptr);
            if (checking)
                report(check);
            summary << line << '\n';
            return status;
        }
        if (checking) {
            report(RunSheetCheck(options, Models));
            if (options.Output == TSheetOutput::None)
                return status;
        }
        const TSheetResult result = RunSheet(options, Models);
        for (const QString& warning : result.Warnings)
            Err << program << ": " << MessageText(Msg::kWarning).arg(warning) << '\n';
        summary << SheetSummary(result) << '\n';
        return status;
    } catch (const ESheetUsage& e) {
        Err << program << ": " << MessageText(Msg::kSeeHelp).arg(e.Message, program) << '\n';
        return kExitUsage;
    } catch (const Exception& e) {
        Err << program << ": " << e.Message << '\n';
    } catch (const std::bad_alloc&) {
        Err << program << ": " << MessageText(Msg::kOutOfMemory) << '\n';
    }
    return kExitFailed;
}
