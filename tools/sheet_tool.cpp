#include "sheet_tool.h"

#include "calibration_print.h"
#include "face_detector.h"
#include "image_view.h"
#include "pdf_printer.h"
#include "print_frame.h"
#include "printer.h"
#include "qt_printer.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "U_UnicodeUtils.h"
#include "virtual_printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextStream>

#include <memory>
#include <new>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::unique_ptr<TVirtualPrinter> virtualPrinterFor(const TVirtualPaper& paper)
{
    return std::make_unique<TVirtualPrinter>(
        QStringLiteral("%1 at %2 dpi").arg(paper.Name).arg(paper.Dpi),
        TVirtualPrinter::MetricsForPaper(paper.Width, paper.Height, paper.Dpi, paper.Margin),
        QSizeF(paper.Width / 100.0, paper.Height / 100.0));
}

// The paper a real printer's page is on, in millimetres.
QSizeF paperOf(TPrinterDevice& printer)
{
    if (auto* qt = dynamic_cast<TQtPrinter*>(&printer))
        return qt->device().pageLayout().fullRect(QPageLayout::Millimeter).size();
    // Without a layout to ask, the offsets are taken as the margins of
    // every side.
    const TPrinterMetrics m = MetricsOf(printer);
    if (m.DpiX <= 0 || m.DpiY <= 0)
        return {};
    return QSizeF((m.HorzRes + 2.0 * m.OffsetX) * 25.4 / m.DpiX,
                  (m.VertRes + 2.0 * m.OffsetY) * 25.4 / m.DpiY);
}

// Makes the printer the options describe current and ready for the output.
void choosePrinter(const TSheetOptions& options)
{
    if (options.Paper) {
        auto printer = virtualPrinterFor(*options.Paper);
        if (options.Output == TSheetOutput::Pdf)
            printer->setOutputFileName(options.OutputFile);
        SetPrinter(std::move(printer));
        return;
    }
    if (!options.PrinterName.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(options.PrinterName);
        if (info.isNull())
            throw Exception(QStringLiteral("no printer named \"%1\" is installed").arg(options.PrinterName));
        SetPrinter(std::make_unique<TQtPrinter>(info));
    }
    TPrinterDevice& current = Printer();
    auto* builtInPdf = dynamic_cast<TPdfPrinter*>(&current);
    if (options.Output == TSheetOutput::Print && builtInPdf) {
        throw Exception(
            QStringLiteral("no printer is installed: write the page with --output PAGE.pdf instead"));
    }
    if (options.Output != TSheetOutput::Pdf)
        return;
    if (builtInPdf) {
        builtInPdf->setOutputFileName(options.OutputFile);
        return;
    }
    // A real printer's page goes into a PDF of its paper, placed where the
    // printer would print it.
    auto pdf = std::make_unique<TVirtualPrinter>(current.name(), MetricsOf(current), paperOf(current));
    pdf->setOutputFileName(options.OutputFile);
    SetPrinter(std::move(pdf));
}

// The main window's photo view as its form sets it up, with the photo.
void loadPhoto(TImage32& view, const QString& fileName)
{
    view.resize(151, 201);
    view.SetBitmapAlign(baTopLeft);
    view.SetScale(1.0f);
    view.SetScaleMode(smResize);
    view.Loaded();
    view.Bitmap().SetStretchFilter(sfMitchell);
    try {
        view.Bitmap().LoadFromFile(fileName);
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("cannot load the photo \"%1\": %2").arg(fileName, e.Message));
    }
    // A zero-length JPEG file loads as no picture; the window then shows no
    // preview, and a blank sheet here would pass for a result.
    if (view.Bitmap().Empty())
        throw Exception(QStringLiteral("the photo \"%1\" holds no picture").arg(fileName));
}

// The output's name as the user gave it, or the printer's.
QString destinationOf(const TSheetOptions& options)
{
    if (options.Output == TSheetOutput::Print)
        return QStringLiteral("printer \"%1\"").arg(Printer().name());
    return QDir::toNativeSeparators(options.OutputFile);
}

// Refuses an output that names the photo itself: a slip of the finger on
// the command line would otherwise replace the photo by its sheet.
void checkOutputIsNotThePhoto(const TSheetOptions& options)
{
    if (options.Output == TSheetOutput::Print)
        return;
    const QFileInfo photo(options.Photo);
    const QFileInfo output(options.OutputFile);
    if (photo.exists() && output.exists() && photo.canonicalFilePath() == output.canonicalFilePath()) {
        throw Exception(
            QStringLiteral("the output \"%1\" is the photo itself").arg(options.OutputFile));
    }
}

// The frame the command line asks for; automatic framing as the framing
// window's "Automatic" does it, whose note on several faces becomes a warning.
std::optional<TFrame> frameFor(const TSheetOptions& options, const TBitmap32& photo,
                               const THeadRule& rule, QStringList& warnings)
{
    if (!options.Frame)
        return std::nullopt;
    if (!options.Frame->Automatic)
        return options.Frame->Rect;
    const TFaceDetector detector;
    const TAutoFrame found = AutoFrame(detector, photo, rule);
    if (!found.Frame)
        throw Exception(QStringLiteral("--frame auto: %1").arg(found.Message));
    if (!found.Message.isEmpty())
        warnings << found.Message;
    return found.Frame;
}

}  // namespace

QString RunCalibrationPage(const TSheetOptions& Options)
{
    choosePrinter(Options);
    if (Options.Output == TSheetOutput::Jpeg)
        SaveCalibrationPageAsJpeg(Options.OutputFile);
    else
        PrintCalibrationPage();
    const TPrinterDevice& printer = Printer();
    return QStringLiteral("calibration page of %1, page %2 x %3 px at %4 x %5 dpi -> %6")
        .arg(printer.name())
        .arg(printer.caps(TDeviceCap::HorzRes))
        .arg(printer.caps(TDeviceCap::VertRes))
        .arg(printer.caps(TDeviceCap::LogPixelsX))
        .arg(printer.caps(TDeviceCap::LogPixelsY))
        .arg(destinationOf(Options));
}

TSheetResult RunSheet(const TSheetOptions& Options)
{
    checkOutputIsNotThePhoto(Options);
    choosePrinter(Options);

    TImage32 view;
    loadPhoto(view, Options.Photo);

    const TFormatItem& listed = kPhotoFormats.at(static_cast<std::size_t>(Options.Format));
    const bool sized = Options.SizeWidthMm > 0;
    const QString formatText = sized
        ? QStringLiteral("%1 x %2 mm").arg(Options.SizeWidthMm).arg(Options.SizeHeightMm)
        : QString::fromLatin1(listed.Text);
    TIDPrinter sheetPrinter;
    sheetPrinter.SetPhotoSize(sized ? Options.SizeWidthMm : listed.WidthMm,
                              sized ? Options.SizeHeightMm : listed.HeightMm);
    sheetPrinter.SetCutMarks(Options.CutMarks);
    const int capacity = sheetPrinter.Capacity();
    // Asked for as many as fit, a page that holds none would come out blank
    // and pass for a sheet; an explicit --count 0 still gets its blank page.
    if (capacity == 0 && !Options.Count) {
        throw Exception(QStringLiteral("not one %1 photo fits on the page of %2 x %3 pixels")
                            .arg(formatText)
                            .arg(Printer().caps(TDeviceCap::HorzRes))
                            .arg(Printer().caps(TDeviceCap::VertRes)));
    }
    const int count = Options.Count.value_or(capacity);
    // The window's track bar ends at the capacity; copies beyond it would
    // silently go missing from the sheet.
    if (count > capacity) {
        throw Exception(QStringLiteral("--count %1 asks for more copies than the %2 that fit on the page")
                            .arg(count)
                            .arg(capacity));
    }
    sheetPrinter.SetCount(count);

    TSheetResult result;
    const THeadRule& rule = HeadRule(static_cast<TPhotoFormat>(Options.Format));
    const std::optional<TFrame> frame = frameFor(Options, view.Bitmap(), rule, result.Warnings);
    const QString lowResolution = LowResolutionWarning(view.Bitmap(), frame, rule);
    if (!lowResolution.isEmpty())
        result.Warnings << lowResolution;
    RenderPhotoCell(view, sheetPrinter, frame);

    // The page itself is never held: the JPEG is composed band by band as it
    // is encoded, and a PDF or a print job places the one cell.
    if (Options.Output == TSheetOutput::Jpeg) {
        SaveSheetAsJpeg(sheetPrinter, Options.OutputFile);
    } else {
        sheetPrinter.PrintSheet();
    }

    const TPrinterDevice& printer = Printer();
    result.FormatText = formatText;
    result.CellWidth = sheetPrinter.Cell().Width();
    result.CellHeight = sheetPrinter.Cell().Height();
    result.Columns = sheetPrinter.ColumnCount();
    result.Rows = sheetPrinter.RowCount();
    result.Count = count;
    result.Capacity = capacity;
    result.PageWidth = printer.caps(TDeviceCap::HorzRes);
    result.PageHeight = printer.caps(TDeviceCap::VertRes);
    result.DpiX = sheetPrinter.DpiX();
    result.DpiY = sheetPrinter.DpiY();
    result.Destination = destinationOf(Options);
    return result;
}

QString SheetSummary(const TSheetResult& Result)
{
    const QString dpi = Result.DpiX == Result.DpiY
        ? QString::number(Result.DpiX)
        : QStringLiteral("%1 x %2").arg(Result.DpiX).arg(Result.DpiY);
    return QStringLiteral("%1: %2 of %3 copies in %4 x %5, cell %6 x %7 px, page %8 x %9 px at %10 dpi -> %11")
        .arg(Result.FormatText)
        .arg(Result.Count)
        .arg(Result.Capacity)
        .arg(Result.Columns)
        .arg(Result.Rows)
        .arg(Result.CellWidth)
        .arg(Result.CellHeight)
        .arg(Result.PageWidth)
        .arg(Result.PageHeight)
        .arg(dpi, Result.Destination);
}

int SheetToolMain(const QStringList& Args, QTextStream& Out, QTextStream& Err)
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
                << '\n';
            return 0;
        }
        if (options.CalibrationPage) {
            Out << RunCalibrationPage(options) << '\n';
            return 0;
        }
        const TSheetResult result = RunSheet(options);
        for (const QString& warning : result.Warnings)
            Err << program << ": warning: " << warning << '\n';
        Out << SheetSummary(result) << '\n';
        return 0;
    } catch (const ESheetUsage& e) {
        Err << program << ": " << e.Message << " (see " << program << " --help)\n";
        return kExitUsage;
    } catch (const Exception& e) {
        Err << program << ": " << e.Message << '\n';
    } catch (const std::bad_alloc&) {
        Err << program << ": out of memory\n";
    }
    return kExitFailed;
}
