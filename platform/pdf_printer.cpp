#include "pdf_printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QMarginsF>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <array>

namespace {

// The territories whose everyday office paper is Letter.
constexpr std::array kLetterTerritories = {
    QLocale::UnitedStates, QLocale::PuertoRico, QLocale::Canada,    QLocale::Mexico,
    QLocale::Belize,       QLocale::Chile,      QLocale::Colombia,  QLocale::CostaRica,
    QLocale::Guatemala,    QLocale::Nicaragua,  QLocale::Panama,    QLocale::Philippines,
    QLocale::ElSalvador,   QLocale::Venezuela,
};

QString nativeName(const QString& fileName)
{
    return QDir::toNativeSeparators(fileName);
}

}  // namespace

QPageSize::PageSizeId DefaultPaperSize(const QLocale& locale)
{
    const bool letter = locale.measurementSystem() == QLocale::ImperialUSSystem
        || std::find(kLetterTerritories.begin(), kLetterTerritories.end(), locale.territory())
            != kLetterTerritories.end();
    return letter ? QPageSize::Letter : QPageSize::A4;
}

TPdfPrinter::TPdfPrinter(QPageSize::PageSizeId paper) : paper_(paper) {}

TPdfPrinter::~TPdfPrinter()
{
    abort();
}

QPageLayout TPdfPrinter::pageLayout() const
{
    return QPageLayout(QPageSize(paper_), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

int TPdfPrinter::caps(TDeviceCap cap) const
{
    // The same layout and resolution the writer gets in beginDoc, so these
    // figures are exactly the page canvas's.
    const QPageLayout layout = pageLayout();
    const QRect paint = layout.paintRectPixels(kResolution);
    const QRect paper = layout.fullRectPixels(kResolution);
    switch (cap) {
    case TDeviceCap::HorzRes:
        return paint.width();
    case TDeviceCap::VertRes:
        return paint.height();
    case TDeviceCap::LogPixelsX:
    case TDeviceCap::LogPixelsY:
        return kResolution;
    case TDeviceCap::PhysicalOffsetX:
        return paint.left() - paper.left();
    case TDeviceCap::PhysicalOffsetY:
        return paint.top() - paper.top();
    }
    return 0;
}

QString TPdfPrinter::name() const
{
    return QStringLiteral("Print to PDF");
}

void TPdfPrinter::beginDoc()
{
    if (printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (fileName_.isEmpty())
        throw EPrinter(QStringLiteral("No file name was given for \"%1\"").arg(name()));

    // The page goes to a temporary file beside the target, which replaces
    // the target only when the page is complete.
    auto file = std::make_unique<QSaveFile>(fileName_);
    if (!file->open(QIODevice::WriteOnly)) {
        throw EPrinter(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(nativeName(fileName_), file->errorString()));
    }
    auto writer = std::make_unique<QPdfWriter>(file.get());
    writer->setResolution(kResolution);
    writer->setPageLayout(pageLayout());
    writer->setCreator(QCoreApplication::applicationName());
    file_ = std::move(file);
    writer_ = std::move(writer);
    if (!painter_.begin(writer_.get())) {
        discardJob();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(name()));
    }
}

void TPdfPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    // Ending the painter writes the rest of the document into the file.
    painter_.end();
    writer_.reset();
    const bool written = file_->commit();
    const QString error = file_->errorString();
    file_.reset();
    if (!written) {
        throw EPrinter(
            QStringLiteral("Cannot write file \"%1\". %2").arg(nativeName(fileName_), error));
    }
}

void TPdfPrinter::abort() noexcept
{
    if (printing())
        discardJob();
}

void TPdfPrinter::discardJob() noexcept
{
    if (painter_.isActive())
        painter_.end();
    writer_.reset();
    if (file_)
        file_->cancelWriting();
    // Destroying an uncommitted save file removes its temporary file.
    file_.reset();
}

QPainter& TPdfPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return painter_;
}
