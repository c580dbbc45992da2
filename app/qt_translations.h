#pragma once

class QLocale;

/// Makes Qt's own words (its file, colour, print and message dialogs, the
/// buttons of a message box) those of Locale's language, from the
/// translations installed with Qt (Debian's qt6-translations-l10n); the
/// translation of an earlier language goes. A language without them, or
/// English, leaves Qt's own English. The main window calls it at every
/// language switch.
void UseQtTranslations(const QLocale& Locale);
