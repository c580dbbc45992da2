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
    fileName_ = fileName;
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
    file_ = std::move(file);
    writer_ = std::move(writer);
    if (!painter_.begin(writer_.get())) {
        Discard();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(printerName));
    }
    return painter_;
}

void TPdfPageFile::NewPage()
{
    if (!painter_.isActive() || !writer_)
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // The transformation that puts the origin at the printable area holds
    // for every page, whatever the writer does with it at a page break.
    const QTransform transform = painter_.worldTransform();
    if (!writer_->newPage())
        throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName_), file_ ? file_->errorString() : QString()));
    painter_.setWorldTransform(transform);
}

void TPdfPageFile::End()
{
    // Ending the painter writes the rest of the document into the file.
    painter_.end();
    writer_.reset();
    const bool written = file_ && file_->commit();
    const QString error = file_ ? file_->errorString() : QString();
    file_.reset();
    if (!written) {
        throw EPrinter(QStringLiteral("Cannot write file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(fileName_), error));
    }
}

void TPdfPageFile::Discard() noexcept
{
    if (painter_.isActive())
        painter_.end();
    writer_.reset();
    if (file_)
        file_->cancelWriting();
    // Destroying an uncommitted save file removes its temporary file.
    file_.reset();
}
