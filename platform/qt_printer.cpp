#include "qt_printer.h"

#include <QPageLayout>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>

TQtPrinter::TQtPrinter(const QPrinterInfo& info)
    : printer_(std::make_unique<QPrinter>(info, QPrinter::HighResolution))
{
}

TQtPrinter::TQtPrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}

TQtPrinter::~TQtPrinter()
{
    abort();
}

int TQtPrinter::caps(TDeviceCap cap) const
{
    const int dpi = printer_->resolution();
    const QPageLayout layout = printer_->pageLayout();
    switch (cap) {
    case TDeviceCap::HorzRes:
        return layout.paintRectPixels(dpi).width();
    case TDeviceCap::VertRes:
        return layout.paintRectPixels(dpi).height();
    case TDeviceCap::LogPixelsX:
    case TDeviceCap::LogPixelsY:
        return dpi;
    case TDeviceCap::PhysicalOffsetX:
        return layout.paintRectPixels(dpi).left() - layout.fullRectPixels(dpi).left();
    case TDeviceCap::PhysicalOffsetY:
        return layout.paintRectPixels(dpi).top() - layout.fullRectPixels(dpi).top();
    }
    return 0;
}

QString TQtPrinter::name() const
{
    // A print dialog can turn the printer into its own print-to-file printer,
    // which has no queue name.
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("Print to PDF");
    return printer_->printerName();
}

void TQtPrinter::beginDoc()
{
    if (printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (!printer_->isValid())
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    page_ = std::make_unique<QPicture>();
    painter_.begin(page_.get());
}

void TQtPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    painter_.end();
    const std::unique_ptr<QPicture> page = std::move(page_);

    if (printer_->logicalDpiX() <= 0 || printer_->logicalDpiY() <= 0)
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    QPainter device;
    if (!device.begin(printer_.get()))
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(name()));
    // A picture replays as if recorded at its own (the screen's) resolution,
    // scaled up to the device's; the page was recorded in device pixels.
    device.scale(qreal(page->logicalDpiX()) / printer_->logicalDpiX(),
                 qreal(page->logicalDpiY()) / printer_->logicalDpiY());
    device.drawPicture(0, 0, *page);
    if (!device.end() || printer_->printerState() == QPrinter::Error)
        throw EPrinter(QStringLiteral("The page could not be sent to \"%1\"").arg(name()));
}

void TQtPrinter::abort() noexcept
{
    if (!printing())
        return;
    painter_.end();
    page_.reset();
}

QPainter& TQtPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return painter_;
}
