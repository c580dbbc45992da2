#include "pdf_printer.h"

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

TPdfPrinter::TPdfPrinter(QPageSize::PageSizeId paper)
    : TVirtualPrinter(QStringLiteral("Print to PDF"), QPageSize(paper), kResolution), FPaperSize(paper)
{
}
