#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

class QLocale;

/// One Windows language identifier (LANGID) the language list knows: its
/// English name and the locale it stands for, as a BCP 47 tag ("de-CH",
/// "sr-Cyrl-RS"; a bare language when no single territory fits, empty when
/// no locale does).
struct TLanguageEntry {
    std::uint16_t LangId;
    const char* Name;
    const char* Locale;
};

/// The language table: the neutral identifier 0x0000 first, then the
/// process default 0x0400 and the languages in order of their English names.
/// Its order is the order of the language list.
std::span<const TLanguageEntry> LanguageTable();
/// The 145 identifiers the language list probes: the table without the
/// neutral identifier.
std::span<const TLanguageEntry> ScannedLanguages();

/// The English name of a LANGID of the table; empty for any other.
QString LanguageName(std::uint16_t langId);

/// The locale a LANGID of the table stands for, whose conventions (the
/// decimal separator) numbers in that language's texts follow; the C locale
/// for an identifier without one.
QLocale LocaleOfLangId(std::uint16_t langId);

/// The primary language of a LANGID or language code: its low 10 bits.
constexpr std::uint16_t PrimaryLanguage(std::uint32_t code)
{
    return static_cast<std::uint16_t>(code & 0x3FF);
}

/// The LANGID of a locale: the table's entry for its language and territory
/// (and script, where the table names one), else the first entry of its
/// language, so that at least the primary language is right; the C locale
/// speaks English (United States). 0 for a language the table lacks.
std::uint16_t LangIdOfLocale(const QLocale& locale);

/// The LANGID of a POSIX locale name, language[_territory][.codeset][@modifier]:
/// the modifier "latin" or "cyrillic" picks the script, so sr_RS@latin gives
/// Serbian (Latin) 0x081A and sr_RS Serbian (Cyrillic) 0x0C1A.
std::uint16_t LangIdOfPosixLocale(const QByteArray& name);

/// The user's default LANGID: that of QLocale::system() (LC_ALL, LC_MESSAGES,
/// LANG), so LANG=de_CH.UTF-8 gives 0x0807; a locale with a modifier is read
/// by LangIdOfPosixLocale, so LANG=sr_RS@latin gives 0x081A.
std::uint16_t UserDefaultLangId();

/// The name of the active keyboard layout: the LANGID of the input method's
/// locale as 8 upper-case hexadecimal digits ("0000040C").
QString KeyboardLayoutName();
