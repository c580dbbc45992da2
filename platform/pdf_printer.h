#pragma once

#include "virtual_printer.h"

#include <QLocale>
#include <QPageSize>


/// The paper of the user's locale: Letter in the territories that use it
/// (the United States, Canada, Mexico, the Philippines, ...) or that measure
/// in US units, A4 everywhere else, including the C locale.
QPageSize::PageSizeId DefaultPaperSize(const QLocale& locale);

/// The built-in "Print to PDF" printer, current when no printer is
/// installed: the PDF printer of portrait paper of the locale's size at
/// 600 dpi with no hardware margins, so the printable area is the whole
/// sheet and the physical offsets are 0.
class TPdfPrinter : public TVirtualPrinter {
public:
    static constexpr int kResolution = 600;

    explicit TPdfPrinter(QPageSize::PageSizeId paper = DefaultPaperSize(QLocale::system()));

    QPageSize::PageSizeId PaperSize() const { return FPaperSize; }

private:
    QPageSize::PageSizeId FPaperSize;
};
