#include "pdf_page_file.h"

#include "file_target.h"
#include "printer_device.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTransform>

#include <cerrno>
#include <utility>

TPdfPageFile::TPdfPageFile() = default;

TPdfPageFile::~TPdfPageFile()
{
    Discard();
}

QPainter& TPdfPageFile::Begin(const QString& fileName, const QPageLayout& layout,
                              int resolution, const QString& printerName, const QString& title)
{
    Discard();
    FFileName = fileName;
    // The file at the end of a chain of links is the one replaced; a
    // write-protected one is refused as every other writer refuses it, also
    // for the superuser.
    const std::optional<QString> target = FinalLinkTarget(fileName);
    // A read-only disk is named as such: the saving file would call the
    // file there "not writable", as if the file itself were protected.
    const int refusal = !target                    ? errno
                        : IsWriteProtected(*target) ? EACCES
                        : IsOnReadOnlyDisk(*target) ? EROFS
                                                    : 0;
    if (refusal != 0) {
        throw EPrinter(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), qt_error_string(refusal)),
                       fileName, refusal);
    }
    auto file = std::make_unique<QSaveFile>(*target);
    errno = 0;
    if (!file->open(QIODevice::WriteOnly)) {
        const int error = WriteErrorNumber(*target, errno);
        throw EPrinter(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), file->errorString()),
                       fileName, error);
    }
    FFile = std::move(file);
    return startWriter(FFile.get(), layout, resolution, printerName, title);
}

QPainter& TPdfPageFile::BeginInMemory(const QPageLayout& layout, int resolution,
                                      const QString& printerName, const QString& title)
{
    Discard();
    FBuffer = std::make_unique<QBuffer>(&FDocument);
    FBuffer->open(QIODevice::WriteOnly);
    return startWriter(FBuffer.get(), layout, resolution, printerName, title);
}

QPainter& TPdfPageFile::startWriter(QIODevice* target, const QPageLayout& layout, int resolution,
                                    const QString& printerName, const QString& title)
{
    FPrinterName = printerName;
    FWriter = std::make_unique<QPdfWriter>(target);
    FWriter->setResolution(resolution);
    // PDF/A-1b is how this Qt states an output intent, and the one it
    // states is sRGB: what the pages' pixels are.
    FWriter->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    FWriter->setPageLayout(layout);
    FWriter->setCreator(QCoreApplication::applicationName());
    FWriter->setTitle(title);
    if (!FPainter.begin(FWriter.get())) {
        Discard();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(printerName));
    }
    return FPainter;
}

void TPdfPageFile::NewPage()
{
    if (!FPainter.isActive() || !FWriter)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // The transformation that puts the origin at the printable area holds
    // for every page, whatever the writer does with it at a page break.
    const QTransform transform = FPainter.worldTransform();
    errno = 0;
    if (!FWriter->newPage()) {
        if (!FFile)
            throw EPrinter(QStringLiteral("Unable to start a new page on \"%1\"").arg(FPrinterName));
        const int error = WriteErrorNumber(FFile->fileName(), errno);
        throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(FFileName), FFile->errorString()),
                       FFileName, error);
    }
    FPainter.setWorldTransform(transform);
}

void TPdfPageFile::End()
{
    // Ending the painter writes the rest of the document.
    FPainter.end();
    FWriter.reset();
    if (FBuffer) {
        FBuffer.reset();
        return;
    }
    errno = 0;
    const bool written = FFile && FFile->commit();
    const int errorNumber = written || !FFile ? 0 : WriteErrorNumber(FFile->fileName(), errno);
    const QString error = FFile ? FFile->errorString() : QString();
    FFile.reset();
    if (!written) {
        throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(FFileName), error),
                       FFileName, errorNumber);
    }
}

void TPdfPageFile::Discard() noexcept
{
    if (FPainter.isActive())
        FPainter.end();
    FWriter.reset();
    if (FFile)
        FFile->cancelWriting();
    // Destroying an uncommitted save file removes its temporary file.
    FFile.reset();
    FBuffer.reset();
    FDocument = QByteArray();
}

QByteArray TPdfPageFile::TakeDocument()
{
    return std::exchange(FDocument, QByteArray());
}
