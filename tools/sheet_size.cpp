// Kept apart from the sheet printer's header, whose format table shares a
// name with the framing rules' format enumeration.
#include "sheet_size.h"

#include "sheet_formats.h"
#include "sheet_settings.h"

TSheetSize ParseSheetSize(const QString& text)
{
    const TOwnFormat format = ParseSizeMm(text);
    return {format.WidthMm, format.HeightMm};
}

THeadRule SheetSizeRule(const TSheetSize& size)
{
    return RuleForSize(size.WidthMm, size.HeightMm, FormatList(LoadOwnFormats()));
}

THeadRule GenericSizeRule(const TSheetSize& size)
{
    return GenericHeadRule(size.WidthMm, size.HeightMm);
}
