#include "qt_printer.h"

#include "cups_queue.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QMarginsF>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTransform>

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

bool TQtPrinter::printsToFile() const
{
    // A print dialog can turn the printer into its own print-to-file
    // printer, which has no queue.
    return printer_->outputFormat() == QPrinter::PdfFormat;
}

QString TQtPrinter::name() const
{
    if (printsToFile())
        return QStringLiteral("Print to PDF");
    return printer_->printerName();
}

void TQtPrinter::beginDoc()
{
    if (printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    const int dpi = printer_->resolution();
    if (!printer_->isValid() || dpi <= 0)
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    if (printsToFile() && printer_->outputFileName().isEmpty())
        throw EPrinter(QStringLiteral("No file name was given for \"%1\"").arg(name()));
    // A queue that would refuse the page is reported before anything is drawn.
    if (!printsToFile())
        TCupsQueue(printer_->printerName()).CheckReady();

    // The whole paper, so that the page keeps the printer's margins as they
    // are; the canvas then starts at the printable area.
    const QPageLayout printerLayout = printer_->pageLayout();
    const QPageLayout paper(printerLayout.pageSize(), printerLayout.orientation(),
                            QMarginsF(0, 0, 0, 0));
    pdf_.clear();
    buffer_ = std::make_unique<QBuffer>(&pdf_);
    buffer_->open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(buffer_.get());
    writer_->setResolution(dpi);
    writer_->setPageLayout(paper);
    writer_->setCreator(QCoreApplication::applicationName());
    if (!painter_.begin(writer_.get())) {
        discardPage();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(name()));
    }
    painter_.translate(caps(TDeviceCap::PhysicalOffsetX), caps(TDeviceCap::PhysicalOffsetY));
}

void TQtPrinter::newPage()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // Every page starts at the printable area, as the first did.
    const QTransform transform = painter_.worldTransform();
    if (!writer_->newPage())
        throw EPrinter(QStringLiteral("Unable to start a new page on \"%1\"").arg(name()));
    painter_.setWorldTransform(transform);
}

void TQtPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // Ending the painter completes the document in memory.
    painter_.end();
    writer_.reset();
    buffer_.reset();
    const QByteArray pdf = std::exchange(pdf_, QByteArray());

    if (printsToFile()) {
        QSaveFile file(printer_->outputFileName());
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
            throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(printer_->outputFileName()),
                                    file.errorString()));
        }
        return;
    }
    QStringList options;
    const QPageSize paper = printer_->pageLayout().pageSize();
    if (paper.id() != QPageSize::Custom)
        options << QStringLiteral("media=") + paper.key();
    jobId_ = TCupsQueue(printer_->printerName()).SubmitPdf(pdf, options);
}

void TQtPrinter::discardPage() noexcept
{
    if (painter_.isActive())
        painter_.end();
    writer_.reset();
    buffer_.reset();
    pdf_ = QByteArray();
}

void TQtPrinter::abort() noexcept
{
    discardPage();
}

QPainter& TQtPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return painter_;
}
