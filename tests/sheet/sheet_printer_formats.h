#pragma once

#include <QString>

#include <vector>

// The sheet printer's own format table, read in a unit of its own: its
// format type and the head rules' format names share a name.
struct TPrinterFormat {
    int Index;
    QString Text;
    int WidthMm;
    int HeightMm;
};
std::vector<TPrinterFormat> SheetPrinterFormats();
