#pragma once

#include "head_rules.h"

#include <QString>

/// A photo size of the command line, in whole millimetres.
struct TSheetSize {
    int WidthMm = 0;
    int HeightMm = 0;
};

/// Reads "WxHmm" as the sheet options window does (ParseSizeMm); raises its
/// ESheetFormat with the message for anything it refuses.
TSheetSize ParseSheetSize(const QString& text);

/// The framing rule for --size: that of the first format of the list (the
/// built-in, shipped and the user's own formats, LoadOwnFormats) with this
/// size and a rule, otherwise GenericSizeRule. So 50x50mm frames as the
/// 2 x 2 in. photo does, 35x45mm as the 35 x 45 mm one.
THeadRule SheetSizeRule(const TSheetSize& size);

/// The rule of a size without one of its own (GenericHeadRule).
THeadRule GenericSizeRule(const TSheetSize& size);
