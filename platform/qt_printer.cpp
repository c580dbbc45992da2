#include "qt_printer.h"

#include "cups_queue.h"
#include "file_target.h"

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

#include <cerrno>

TQtPrinter::TQtPrinter(const QPrinterInfo& info)
    : FPrinter(std::make_unique<QPrinter>(info, QPrinter::HighResolution))
{
}

TQtPrinter::TQtPrinter(std::unique_ptr<QPrinter> printer) : FPrinter(std::move(printer)) {}

TQtPrinter::~TQtPrinter()
{
    Abort();
}

int TQtPrinter::Caps(TDeviceCap cap) const
{
    const int dpi = FPrinter->resolution();
    const QPageLayout layout = FPrinter->pageLayout();
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
    return FPrinter->outputFormat() == QPrinter::PdfFormat;
}

QString TQtPrinter::Name() const
{
    if (printsToFile())
        return QStringLiteral("Print to PDF");
    return FPrinter->printerName();
}

void TQtPrinter::BeginDoc()
{
    if (Printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    const int dpi = FPrinter->resolution();
    if (!FPrinter->isValid() || dpi <= 0)
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    if (printsToFile() && FPrinter->outputFileName().isEmpty())
        throw EPrinter(QStringLiteral("No file name was given for \"%1\"").arg(Name()));
    // A queue that would refuse the page is reported before anything is drawn.
    if (!printsToFile())
        TCupsQueue(FPrinter->printerName()).CheckReady();

    // The whole paper, so that the page keeps the printer's margins as they
    // are; the canvas then starts at the printable area.
    const QPageLayout printerLayout = FPrinter->pageLayout();
    const QPageLayout paper(printerLayout.pageSize(), printerLayout.orientation(),
                            QMarginsF(0, 0, 0, 0));
    FPdf.clear();
    FBuffer = std::make_unique<QBuffer>(&FPdf);
    FBuffer->open(QIODevice::WriteOnly);
    FWriter = std::make_unique<QPdfWriter>(FBuffer.get());
    FWriter->setResolution(dpi);
    // PDF/A-1b is how this Qt states an output intent, and the one it
    // states is sRGB: what the pages' pixels are.
    FWriter->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    FWriter->setPageLayout(paper);
    FWriter->setCreator(QCoreApplication::applicationName());
    FWriter->setTitle(JobTitle());
    if (!FPainter.begin(FWriter.get())) {
        discardPage();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(Name()));
    }
    FPainter.translate(Caps(TDeviceCap::PhysicalOffsetX), Caps(TDeviceCap::PhysicalOffsetY));
}

void TQtPrinter::NewPage()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // Every page starts at the printable area, as the first did.
    const QTransform transform = FPainter.worldTransform();
    if (!FWriter->newPage())
        throw EPrinter(QStringLiteral("Unable to start a new page on \"%1\"").arg(Name()));
    FPainter.setWorldTransform(transform);
}

void TQtPrinter::EndDoc()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // Ending the painter completes the document in memory.
    FPainter.end();
    FWriter.reset();
    FBuffer.reset();
    const QByteArray pdf = std::exchange(FPdf, QByteArray());

    if (printsToFile()) {
        QSaveFile file(FPrinter->outputFileName());
        errno = 0;
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
            const int error = WriteErrorNumber(file.fileName(), errno);
            throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(FPrinter->outputFileName()),
                                    file.errorString()),
                           FPrinter->outputFileName(), error);
        }
        return;
    }
    QStringList options;
    const QPageSize paper = FPrinter->pageLayout().pageSize();
    if (paper.id() != QPageSize::Custom)
        options << QStringLiteral("media=") + paper.key();
    FJobId = TCupsQueue(FPrinter->printerName()).SubmitPdf(pdf, options, JobTitle());
}

void TQtPrinter::discardPage() noexcept
{
    if (FPainter.isActive())
        FPainter.end();
    FWriter.reset();
    FBuffer.reset();
    FPdf = QByteArray();
}

void TQtPrinter::Abort() noexcept
{
    discardPage();
}

QPainter& TQtPrinter::Canvas()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return FPainter;
}
