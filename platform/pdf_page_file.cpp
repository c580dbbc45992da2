#include "pdf_page_file.h"

#include "file_target.h"
#include "printer_device.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTransform>

#include <cerrno>

TPdfPageFile::TPdfPageFile() = default;

TPdfPageFile::~TPdfPageFile()
{
    Discard();
}

QPainter& TPdfPageFile::Begin(const QString& fileName, const QPageLayout& layout,
                              int resolution, const QString& printerName)
{
    Discard();
    FFileName = fileName;
    // The file at the end of a chain of links is the one replaced; a
    // write-protected one is refused as every other writer refuses it, also
    // for the superuser.
    const std::optional<QString> target = FinalLinkTarget(fileName);
    const int refusal = !target ? errno : IsWriteProtected(*target) ? EACCES : 0;
    if (refusal != 0) {
        throw EPrinter(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), qt_error_string(refusal)));
    }
    auto file = std::make_unique<QSaveFile>(*target);
    if (!file->open(QIODevice::WriteOnly)) {
        throw EPrinter(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName), file->errorString()));
    }
    auto writer = std::make_unique<QPdfWriter>(file.get());
    writer->setResolution(resolution);
    writer->setPageLayout(layout);
    writer->setCreator(QCoreApplication::applicationName());
    FFile = std::move(file);
    FWriter = std::move(writer);
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
    if (!FWriter->newPage())
        throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(FFileName), FFile ? FFile->errorString() : QString()));
    FPainter.setWorldTransform(transform);
}

void TPdfPageFile::End()
{
    // Ending the painter writes the rest of the document into the file.
    FPainter.end();
    FWriter.reset();
    const bool written = FFile && FFile->commit();
    const QString error = FFile ? FFile->errorString() : QString();
    FFile.reset();
    if (!written) {
        throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(FFileName), error));
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
}
