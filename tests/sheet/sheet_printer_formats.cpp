#include "sheet_printer_formats.h"

#include "sheet_printer.h"

std::vector<TPrinterFormat> SheetPrinterFormats()
{
    std::vector<TPrinterFormat> list;
    for (const TFormatItem& f : kPhotoFormats)
        list.push_back({f.Index, QString::fromUtf8(f.Text), f.WidthMm, f.HeightMm});
    return list;
}
