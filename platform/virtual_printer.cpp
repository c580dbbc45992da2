#include "virtual_printer.h"

#include <QMarginsF>
#include <QPageLayout>

#include <utility>

TPrinterMetrics MetricsOf(const TPrinterDevice& printer)
{
    return {printer.caps(TDeviceCap::HorzRes),         printer.caps(TDeviceCap::VertRes),
            printer.caps(TDeviceCap::LogPixelsX),      printer.caps(TDeviceCap::LogPixelsY),
            printer.caps(TDeviceCap::PhysicalOffsetX), printer.caps(TDeviceCap::PhysicalOffsetY)};
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
    : name_(std::move(name)),
      metrics_(metrics),
      // A fuzzy match would snap 100 x 150 mm to a nearby standard paper.
      paper_(paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch)
{
}

TVirtualPrinter::TVirtualPrinter(QString name, const QPageSize& paper, int dpi)
    : name_(std::move(name)), paper_(paper), wholePaper_(true)
{
    // In pixels as the PDF writer rounds them, so that the figures are
    // exactly the page canvas's.
    const QSize pixels = paper.sizePixels(dpi);
    metrics_ = {pixels.width(), pixels.height(), dpi, dpi, 0, 0};
}

TVirtualPrinter::~TVirtualPrinter()
{
    abort();
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

int TVirtualPrinter::caps(TDeviceCap cap) const
{
    switch (cap) {
    case TDeviceCap::HorzRes:
        return metrics_.HorzRes;
    case TDeviceCap::VertRes:
        return metrics_.VertRes;
    case TDeviceCap::LogPixelsX:
        return metrics_.DpiX;
    case TDeviceCap::LogPixelsY:
        return metrics_.DpiY;
    case TDeviceCap::PhysicalOffsetX:
        return metrics_.OffsetX;
    case TDeviceCap::PhysicalOffsetY:
        return metrics_.OffsetY;
    }
    return 0;
}

void TVirtualPrinter::beginDoc()
{
    if (printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (fileName_.isEmpty())
        throw EPrinter(QStringLiteral("No file name was given for \"%1\"").arg(name_));
    if (metrics_.DpiX <= 0 || metrics_.DpiY <= 0 || paperMm().isEmpty())
        throw EPrinter(QStringLiteral("Printer selected is not valid"));

    const QPageLayout layout(paper_, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    QPainter& painter = page_.Begin(fileName_, layout, metrics_.DpiX, name_);
    // Not even a move by nothing: the writer would record it in the page.
    if (wholePaper_)
        return;
    // The writer has one resolution; a printer with another one down the
    // page gets its rows stretched to it. Then the origin moves from the
    // paper's corner to the printable area's, as on the printer itself.
    if (metrics_.DpiY != metrics_.DpiX)
        painter.scale(1.0, static_cast<double>(metrics_.DpiX) / metrics_.DpiY);
    painter.translate(metrics_.OffsetX, metrics_.OffsetY);
}

void TVirtualPrinter::newPage()
{
    page_.NewPage();
}

void TVirtualPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    page_.End();
}

void TVirtualPrinter::abort() noexcept
{
    page_.Discard();
}

QPainter& TVirtualPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return page_.Painter();
}
