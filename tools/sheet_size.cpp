// Kept apart from the sheet printer's header, whose format table shares a
// name with the framing rules' format enumeration.
#include "sheet_size.h"

#include "sheet_formats.h"

TSheetSize ParseSheetSize(const QString& text)
{
    const TOwnFormat format = ParseSizeMm(text);
    return {format.WidthMm, format.HeightMm};
}
