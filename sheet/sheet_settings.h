#pragma once

#include "sheet_formats.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/// The settings key of the sheet options, beside the program's other settings.
inline constexpr char kSheetSettingsKey[] = "Software\\Varnel\\Quorlo";

/// The user's own formats as stored: entries that cannot be read or break
/// the limits (an edited file) are left out, the others keep their order.
std::vector<TOwnFormat> LoadOwnFormats();
/// Checks every format (ESheetFormat), then stores the list in place of the
/// old one; raises ESheetFormat "cannot be saved" when the settings cannot be
/// written (a key that cannot be opened keeps the stored list as it was).
void SaveOwnFormats(const std::vector<TOwnFormat>& formats);

/// What a failed write of the sheet settings says: which file could not be
/// written.
QString SheetSettingsNotSavedText();

/// The formats chosen last in the format chooser, newest first, as FormatKey
/// gives them; at most kRecentFormats.
inline constexpr int kRecentFormats = 5;
QStringList LoadRecentFormats();
/// Puts `Key` first among the last choices (once); false when the settings
/// cannot be written, which leaves them as they were.
bool RememberRecentFormat(const QString& Key);

/// Whether sheets carry cut marks; off until the user turns them on.
bool LoadCutMarks();
void SaveCutMarks(bool on);

/// The size of the format last chosen in the main window, which no two
/// entries of the format list share; none before the first choice or when
/// the stored text is no size.
std::optional<QSizeF> LoadChosenFormatSize();
/// Remembers the chosen format by its size in millimetres; a store that
/// cannot be written forgets it, as an unsaved window size is forgotten.
void SaveChosenFormatSize(double WidthMm, double HeightMm);

/// The built-in photo lab printer chosen under "Print on"; empty for the
/// printer chosen in the printer settings.
QString LoadPrintOn();
void SavePrintOn(const QString& PrinterName);

/// One own format as one settings line: "40x50", then ";head=30-34" and
/// ";eye=28-35" when it has those rules, and ";name=" with its name to the
/// end of the line when it has one.
QString OwnFormatToText(const TOwnFormat& format);
/// The reverse; raises ESheetFormat for a line that does not read back or
/// breaks the limits.
TOwnFormat OwnFormatFromText(const QString& text);
