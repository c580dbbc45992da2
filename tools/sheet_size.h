#pragma once

#include <QString>

/// A photo size of the command line, in whole millimetres.
struct TSheetSize {
    int WidthMm = 0;
    int HeightMm = 0;
};

/// Reads "WxHmm" as the sheet options window does (ParseSizeMm); raises its
/// ESheetFormat with the message for anything it refuses.
TSheetSize ParseSheetSize(const QString& text);
