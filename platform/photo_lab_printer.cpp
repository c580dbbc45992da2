#include "photo_lab_printer.h"

#include <array>

namespace {

struct TLabPaper {
    const char* Name;
    const char* Key;
    int Width;    // hundredths of a millimetre, portrait
    int Height;
};

constexpr std::array kLabPapers = {
    TLabPaper{"Photo lab 10 \u00d7 15 cm", "lab-10x15", 10000, 15000},
    TLabPaper{"Photo lab 4 \u00d7 6 in.", "lab-4x6", 10160, 15240},
};

}  // namespace

TPhotoLabPrinter::TPhotoLabPrinter(const QString& name, int paperWidth, int paperHeight)
    : TVirtualPrinter(name, MetricsForPaper(paperWidth, paperHeight, kResolution, 0),
                      QSizeF(paperWidth / 100.0, paperHeight / 100.0)),
      FPaperWidth(paperWidth),
      FPaperHeight(paperHeight)
{
}

void TPhotoLabPrinter::SetLandscape(bool landscape)
{
    if (landscape == FLandscape)
        return;
    const int width = landscape ? FPaperHeight : FPaperWidth;
    const int height = landscape ? FPaperWidth : FPaperHeight;
    Redescribe(MetricsForPaper(width, height, kResolution, 0), QSizeF(width / 100.0, height / 100.0));
    FLandscape = landscape;
}

int TPhotoLabPrinter::WidthPixels(bool landscape) const
{
    return HundredthsMmToPixels(landscape ? FPaperHeight : FPaperWidth, kResolution);
}

QStringList PhotoLabPrinterNames()
{
    QStringList names;
    for (const TLabPaper& paper : kLabPapers)
        names << QString::fromUtf8(paper.Name);
    return names;
}

std::unique_ptr<TPhotoLabPrinter> PhotoLabPrinterNamed(const QString& name)
{
    for (const TLabPaper& paper : kLabPapers) {
        if (name == QString::fromUtf8(paper.Name) || name.compare(QLatin1String(paper.Key), Qt::CaseInsensitive) == 0)
            return std::make_unique<TPhotoLabPrinter>(QString::fromUtf8(paper.Name), paper.Width, paper.Height);
    }
    return nullptr;
}
