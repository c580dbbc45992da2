#include "virtual_printer.h"

#include <QMarginsF>
#include <QPageLayout>

#include <utility>

TPrinterMetrics MetricsOf(const TPrinterDevice& printer)
{
    return {printer.Caps(TDeviceCap::HorzRes),         printer.Caps(TDeviceCap::VertRes),
            printer.Caps(TDeviceCap::LogPixelsX),      printer.Caps(TDeviceCap::LogPixelsY),
            printer.Caps(TDeviceCap::PhysicalOffsetX), printer.Caps(TDeviceCap::PhysicalOffsetY)};
}

int HundredthsMmToPixels(long long hundredthsMm, int dpi)
{
    if (hundredthsMm <= 0 || dpi <= 0)
        return 0;
    // One inch is 2540 hundredths of a millimetre; integers keep Letter's
    // 215.9 mm at exactly 8.5 inches, where floating point may fall short.
    return static_cast<int>(hundredthsMm * dpi / 2540);
}

TVirtualPrinter::TVirtualPrinter(QString name, const TPrinterMetrics& metrics, const QSizeF& paperMm)
    : FName(std::move(name)),
      FMetrics(metrics),
      // A fuzzy match would snap 100 x 150 mm to a nearby standard paper.
      FPaper(paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch)
{
}

TVirtualPrinter::TVirtualPrinter(QString name, const TPrinterMetrics& metrics, const QPageSize& paper)
    : FName(std::move(name)), FMetrics(metrics), FPaper(paper)
{
}

TVirtualPrinter::TVirtualPrinter(QString name, const QPageSize& paper, int dpi)
    : FName(std::move(name)), FPaper(paper), FWholePaper(true)
{
    // In pixels as the PDF writer rounds them, so that the figures are
    // exactly the page canvas's.
    const QSize pixels = paper.sizePixels(dpi);
    FMetrics = {pixels.width(), pixels.height(), dpi, dpi, 0, 0};
}

void TVirtualPrinter::Redescribe(const TPrinterMetrics& metrics, const QSizeF& paperMm)
{
    if (Printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    FMetrics = metrics;
    FPaper = QPageSize(paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    FWholePaper = false;
}

TVirtualPrinter::~TVirtualPrinter()
{
    Abort();
}

TPrinterMetrics TVirtualPrinter::MetricsForPaper(int paperWidth, int paperHeight, int dpi, int margin)
{
    const int offset = HundredthsMmToPixels(margin, dpi);
    return {HundredthsMmToPixels(paperWidth, dpi) - 2 * offset,
            HundredthsMmToPixels(paperHeight, dpi) - 2 * offset,
            dpi,
            dpi,
            offset,
            offset};
}

int TVirtualPrinter::Caps(TDeviceCap cap) const
{
    switch (cap) {
    case TDeviceCap::HorzRes:
        return FMetrics.HorzRes;
    case TDeviceCap::VertRes:
        return FMetrics.VertRes;
    case TDeviceCap::LogPixelsX:
        return FMetrics.DpiX;
    case TDeviceCap::LogPixelsY:
        return FMetrics.DpiY;
    case TDeviceCap::PhysicalOffsetX:
        return FMetrics.OffsetX;
    case TDeviceCap::PhysicalOffsetY:
        return FMetrics.OffsetY;
    }
    return 0;
}

void TVirtualPrinter::BeginDoc()
{
    startJob(TJobTarget::File);
}

void TVirtualPrinter::BeginInMemory()
{
    startJob(TJobTarget::Memory);
}

void TVirtualPrinter::startJob(TJobTarget target)
{
    if (Printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (target == TJobTarget::File && FFileName.isEmpty())
        throw EPrinter(QStringLiteral("No file name was given for \"%1\"").arg(FName));
    if (FMetrics.DpiX <= 0 || FMetrics.DpiY <= 0 || PaperMm().isEmpty())
        throw EPrinter(QStringLiteral("Printer selected is not valid"));

    const QPageLayout layout(FPaper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    QPainter& painter = target == TJobTarget::File
        ? FPage.Begin(FFileName, layout, FMetrics.DpiX, FName, JobTitle())
        : FPage.BeginInMemory(layout, FMetrics.DpiX, FName, JobTitle());
    // Not even a move by nothing: the writer would record it in the page.
    if (FWholePaper)
        return;
    // The writer has one resolution; a printer with another one down the
    // page gets its rows stretched to it. Then the origin moves from the
    // paper's corner to the printable area's, as on the printer itself.
    if (FMetrics.DpiY != FMetrics.DpiX)
        painter.scale(1.0, static_cast<double>(FMetrics.DpiX) / FMetrics.DpiY);
    painter.translate(FMetrics.OffsetX, FMetrics.OffsetY);
}

void TVirtualPrinter::NewPage()
{
    FPage.NewPage();
}

void TVirtualPrinter::EndDoc()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FPage.End();
}

QByteArray TVirtualPrinter::EndInMemory()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FPage.End();
    return FPage.TakeDocument();
}

void TVirtualPrinter::Abort() noexcept
{
    FPage.Discard();
}

QPainter& TVirtualPrinter::Canvas()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return FPage.Painter();
}
