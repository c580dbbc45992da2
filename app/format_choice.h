#pragma once

#include "head_rules.h"
#include "sheet_formats.h"

#include <QString>

#include <vector>

class QComboBox;

// The main window's format list. Its first items are the form's own (the
// built-in formats, translated by the language files with the form); the
// shipped and the user's own formats follow, their texts from the message
// catalogue, so a language switch leaves their number and order alone.

/// The item text of a shipped, own or document format in the current
/// language; an own format with a name shows it before its size, a document
/// its country, its name and its printed size (DocumentItemText).
QString FormatItemText(const TSheetFormat& Format);

/// A document's entry: "Canada, Passport (50 × 70 mm)", or without the
/// country (under its country's heading) "Passport (50 × 70 mm)".
QString DocumentItemText(const TSheetFormat& Format, bool WithCountry = true);

/// The indices of the formats of `Formats` that the chooser's search text
/// finds: documents by country, name or id (DocumentMatches), the others by
/// their item text; every format for an empty text.
std::vector<int> ChooserMatches(const std::vector<TSheetFormat>& Formats, const QString& Text);

/// The status line's word for the format's size on paper, "prints 50.8 ×
/// 50.8 mm", its numbers in the interface's number format.
QString PrintedSizeText(const TSheetFormat& Format);

/// How far an unframed photo's shape may differ from its cell's before the
/// status line says that a white strip prints beside it.
inline constexpr int kShapeTolerancePercent = 2;

/// Whether a photo of PhotoWidth x PhotoHeight pixels, printed whole, leaves
/// a white strip in the format's cell: the longer of the two aspect ratios
/// over the shorter exceeds 1 + kShapeTolerancePercent / 100. False for an
/// empty photo.
bool LeavesWhiteStrip(int PhotoWidth, int PhotoHeight, const TSheetFormat& Format);

/// What the main window's status line shows: its one panel, and the hint
/// that holds the whole of it.
struct TStatusLine {
    QString Text;
    QString ToolTip;
};

/// The status line for the current printer and photo: the printer's name,
/// or in its place the warnings that apply to the photo as it prints (a
/// white strip beside an unframed photo of another shape, then the low
/// resolution, then the photo check's summary when there is one), with the
/// printer's name in the hint. FrameCaption is the caption of the button
/// that frames the photo.
TStatusLine StatusLineFor(const QString& PrinterName, bool WhiteStrip, const QString& LowResolutionWarning,
                          const QString& FrameCaption, const QString& CheckSummary = {});

/// The rule the framing window measures by: the format's own; for an own
/// format without one, GenericHeadRule at the format's size.
THeadRule FramingRule(const TSheetFormat& Format);

/// Whether two entries, perhaps of two lists, are one format: the same
/// origin, text, name, size, rule and document.
bool SameFormat(const TSheetFormat& A, const TSheetFormat& B);

/// Where `Chosen` stands in `List`: the same format, else the first one of
/// its size, else 0 (the first format), so a format that went away never
/// leaves an index outside the list.
int FindFormat(const std::vector<TSheetFormat>& List, const TSheetFormat& Chosen);

/// Makes Combo list `Formats`: the built-in items keep the texts they have,
/// every later item gets FormatItemText, items beyond the list go. The
/// selection follows Qt's rules; the caller chooses it afterwards.
void ShowFormats(QComboBox& Combo, const std::vector<TSheetFormat>& Formats);
