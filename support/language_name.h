#pragma once

#include <QString>

#include <cstdint>

/// The English name of a Windows language identifier (LANGID), as the
/// platform's version interface gives it: "English (United States)" for
/// 0x0409, the language alone ("French") when only the primary language
/// (low 10 bits) is known, "Language Neutral" for 0 and "Unknown language"
/// for anything else.
QString LanguageNameOf(std::uint16_t LangId);
