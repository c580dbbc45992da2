#pragma once

#include "sheet_formats.h"

#include <QString>
#include <QStringList>

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

/// One own format as one settings line: "40x50", then ";head=30-34" and
/// ";eye=28-35" when it has those rules, and ";name=" with its name to the
/// end of the line when it has one.
QString OwnFormatToText(const TOwnFormat& format);
/// The reverse; raises ESheetFormat for a line that does not read back or
/// breaks the limits.
TOwnFormat OwnFormatFromText(const QString& text);
