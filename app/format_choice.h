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

/// The item text of a shipped or own format in the current language.
QString FormatItemText(const TSheetFormat& Format);

/// The rule the framing window measures by: the format's own; for an own
/// format without one, a head at 70-80 % of the photo's height (the usual
/// share for a full-face photo) at the format's size.
THeadRule FramingRule(const TSheetFormat& Format);

/// Whether two entries, perhaps of two lists, are one format: the same
/// origin, text, size and rule.
bool SameFormat(const TSheetFormat& A, const TSheetFormat& B);

/// Where `Chosen` stands in `List`: the same format, else the first one of
/// its size, else 0 (the first format), so a format that went away never
/// leaves an index outside the list.
int FindFormat(const std::vector<TSheetFormat>& List, const TSheetFormat& Chosen);

/// Makes Combo list `Formats`: the built-in items keep the texts they have,
/// every later item gets FormatItemText, items beyond the list go. The
/// selection follows Qt's rules; the caller chooses it afterwards.
void ShowFormats(QComboBox& Combo, const std::vector<TSheetFormat>& Formats);
