#include "pdf_printer.h"

#include <QMarginsF>

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

    page_.Begin(fileName_, pageLayout(), kResolution, name());
}

void TPdfPrinter::newPage()
{
    page_.NewPage();
}

void TPdfPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    page_.End();
}

void TPdfPrinter::abort() noexcept
{
    page_.Discard();
}

QPainter& TPdfPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return page_.Painter();
}
