#include "Lang_Languages.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLocale>

#include <array>
#include <vector>

namespace {

constexpr std::array<TLanguageEntry, 146> kLanguages = {{
    {0x0000, "Language Neutral", ""},
    {0x0400, "Process Default Language", ""},
    {0x0436, "Afrikaans", "af-ZA"},
    {0x041C, "Albanian", "sq-AL"},
    {0x0401, "Arabic (Saudi Arabia)", "ar-SA"},
    {0x0801, "Arabic (Iraq)", "ar-IQ"},
    {0x0C01, "Arabic (Egypt)", "ar-EG"},
    {0x1001, "Arabic (Libya)", "ar-LY"},
    {0x1401, "Arabic (Algeria)", "ar-DZ"},
    {0x1801, "Arabic (Morocco)", "ar-MA"},
    {0x1C01, "Arabic (Tunisia)", "ar-TN"},
    {0x2001, "Arabic (Oman)", "ar-OM"},
    {0x2401, "Arabic (Yemen)", "ar-YE"},
    {0x2801, "Arabic (Syria)", "ar-SY"},
    {0x2C01, "Arabic (Jordan)", "ar-JO"},
    {0x3001, "Arabic (Lebanon)", "ar-LB"},
    {0x3401, "Arabic (Kuwait)", "ar-KW"},
    {0x3801, "Arabic (U.A.E.)", "ar-AE"},
    {0x3C01, "Arabic (Bahrain)", "ar-BH"},
    {0x4001, "Arabic (Qatar)", "ar-QA"},
    {0x042B, "Armenian", "hy-AM"},
    {0x044D, "Assamese", "as-IN"},
    {0x042C, "Azeri (Latin)", "az-Latn-AZ"},
    {0x082C, "Azeri (Cyrillic)", "az-Cyrl-AZ"},
    {0x042D, "Basque", "eu-ES"},
    {0x0423, "Belarusian", "be-BY"},
    {0x0445, "Bengali (India)", "bn-IN"},
    {0x0402, "Bulgarian", "bg-BG"},
    {0x0455, "Burmese", "my-MM"},
    {0x0403, "Catalan", "ca-ES"},
    {0x0404, "Chinese (Taiwan)", "zh-TW"},
    {0x0804, "Chinese (PRC)", "zh-CN"},
    {0x0C04, "Chinese (Hong Kong SAR)", "zh-HK"},
    {0x1004, "Chinese (Singapore)", "zh-SG"},
    {0x1404, "Chinese (Macau SAR)", "zh-MO"},
    {0x041A, "Croatian", "hr-HR"},
    {0x0405, "Czech", "cs-CZ"},
    {0x0406, "Danish", "da-DK"},
    {0x0413, "Dutch (Netherlands)", "nl-NL"},
    {0x0813, "Dutch (Belgium)", "nl-BE"},
    {0x0409, "English (United States)", "en-US"},
    {0x0809, "English (United Kingdom)", "en-GB"},
    {0x0C09, "English (Australian)", "en-AU"},
    {0x1009, "English (Canadian)", "en-CA"},
    {0x1409, "English (New Zealand)", "en-NZ"},
    {0x1809, "English (Ireland)", "en-IE"},
    {0x1C09, "English (South Africa)", "en-ZA"},
    {0x2009, "English (Jamaica)", "en-JM"},
    {0x2409, "English (Caribbean)", "en"},
    {0x2809, "English (Belize)", "en-BZ"},
    {0x2C09, "English (Trinidad)", "en-TT"},
    {0x3009, "English (Zimbabwe)", "en-ZW"},
    {0x3409, "English (Philippines)", "en-PH"},
    {0x0425, "Estonian", "et-EE"},
    {0x0438, "Faeroese", "fo-FO"},
    {0x0429, "Farsi", "fa-IR"},
    {0x040B, "Finnish", "fi-FI"},
    {0x040C, "French (Standard)", "fr-FR"},
    {0x080C, "French (Belgian)", "fr-BE"},
    {0x0C0C, "French (Canadian)", "fr-CA"},
    {0x100C, "French (Switzerland)", "fr-CH"},
    {0x140C, "French (Luxembourg)", "fr-LU"},
    {0x180C, "French (Monaco)", "fr-MC"},
    {0x0456, "Galician", "gl-ES"},
    {0x0437, "Georgian", "ka-GE"},
    {0x0407, "German (Standard)", "de-DE"},
    {0x0807, "German (Switzerland)", "de-CH"},
    {0x0C07, "German (Austria)", "de-AT"},
    {0x1007, "German (Luxembourg)", "de-LU"},
    {0x1407, "German (Liechtenstein)", "de-LI"},
    {0x0408, "Greek", "el-GR"},
    {0x0447, "Gujarati", "gu-IN"},
    {0x040D, "Hebrew", "he-IL"},
    {0x0439, "Hindi", "hi-IN"},
    {0x040E, "Hungarian", "hu-HU"},
    {0x040F, "Icelandic", "is-IS"},
    {0x0421, "Indonesian", "id-ID"},
    {0x0410, "Italian (Standard)", "it-IT"},
    {0x0810, "Italian (Switzerland)", "it-CH"},
    {0x0411, "Japanese", "ja-JP"},
    {0x044B, "Kannada", "kn-IN"},
    {0x0860, "Kashmiri (India)", "ks-IN"},
    {0x043F, "Kazakh", "kk-KZ"},
    {0x0457, "Konkani", "kok-IN"},
    {0x0412, "Korean", "ko-KR"},
    {0x0812, "Korean (Johab)", "ko"},
    {0x0426, "Latvian", "lv-LV"},
    {0x0427, "Lithuanian", "lt-LT"},
    {0x0827, "Lithuanian (Classic)", "lt"},
    {0x042F, "Macedonian", "mk-MK"},
    {0x043E, "Malay (Malaysian)", "ms-MY"},
    {0x083E, "Malay (Brunei Darussalam)", "ms-BN"},
    {0x044C, "Malayalam", "ml-IN"},
    {0x0458, "Manipuri", "mni-IN"},
    {0x044E, "Marathi", "mr-IN"},
    {0x0861, "Nepali (India)", "ne-IN"},
    {0x0414, "Norwegian (Bokmal)", "nb-NO"},
    {0x0814, "Norwegian (Nynorsk)", "nn-NO"},
    {0x0448, "Oriya", "or-IN"},
    {0x0415, "Polish", "pl-PL"},
    {0x0416, "Portuguese (Brazil)", "pt-BR"},
    {0x0816, "Portuguese (Portugal)", "pt-PT"},
    {0x0446, "Punjabi", "pa-IN"},
    {0x0418, "Romanian", "ro-RO"},
    {0x0419, "Russian", "ru-RU"},
    {0x044F, "Sanskrit", "sa-IN"},
    {0x0C1A, "Serbian (Cyrillic)", "sr-Cyrl-RS"},
    {0x081A, "Serbian (Latin)", "sr-Latn-RS"},
    {0x0459, "Sindhi", "sd-IN"},
    {0x041B, "Slovak", "sk-SK"},
    {0x0424, "Slovenian", "sl-SI"},
    {0x040A, "Spanish (Traditional Sort)", "es"},
    {0x080A, "Spanish (Mexican)", "es-MX"},
    {0x0C0A, "Spanish (Modern Sort)", "es-ES"},
    {0x100A, "Spanish (Guatemala)", "es-GT"},
    {0x140A, "Spanish (Costa Rica)", "es-CR"},
    {0x180A, "Spanish (Panama)", "es-PA"},
    {0x1C0A, "Spanish (Dominican Republic)", "es-DO"},
    {0x200A, "Spanish (Venezuela)", "es-VE"},
    {0x240A, "Spanish (Colombia)", "es-CO"},
    {0x280A, "Spanish (Peru)", "es-PE"},
    {0x2C0A, "Spanish (Argentina)", "es-AR"},
    {0x300A, "Spanish (Ecuador)", "es-EC"},
    {0x340A, "Spanish (Chile)", "es-CL"},
    {0x380A, "Spanish (Uruguay)", "es-UY"},
    {0x3C0A, "Spanish (Paraguay)", "es-PY"},
    {0x400A, "Spanish (Bolivia)", "es-BO"},
    {0x440A, "Spanish (El Salvador)", "es-SV"},
    {0x480A, "Spanish (Honduras)", "es-HN"},
    {0x4C0A, "Spanish (Nicaragua)", "es-NI"},
    {0x500A, "Spanish (Puerto Rico)", "es-PR"},
    {0x0430, "Sutu", "st-ZA"},
    {0x0441, "Swahili (Kenya)", "sw-KE"},
    {0x041D, "Swedish", "sv-SE"},
    {0x081D, "Swedish (Finland)", "sv-FI"},
    {0x0449, "Tamil", "ta-IN"},
    {0x0444, "Tatar (Tatarstan)", "tt-RU"},
    {0x044A, "Telugu", "te-IN"},
    {0x041E, "Thai", "th-TH"},
    {0x041F, "Turkish", "tr-TR"},
    {0x0422, "Ukrainian", "uk-UA"},
    {0x0420, "Urdu (Pakistan)", "ur-PK"},
    {0x0820, "Urdu (India)", "ur-IN"},
    {0x0443, "Uzbek (Latin)", "uz-Latn-UZ"},
    {0x0843, "Uzbek (Cyrillic)", "uz-Cyrl-UZ"},
    {0x042A, "Vietnamese", "vi-VN"},
}};

/// A table entry's locale tag taken apart into Qt's terms; AnyScript and
/// AnyTerritory where the tag names none.
struct TLocaleKey {
    QLocale::Language Language = QLocale::AnyLanguage;
    QLocale::Script Script = QLocale::AnyScript;
    QLocale::Territory Territory = QLocale::AnyTerritory;
    std::uint16_t LangId = 0;
};

TLocaleKey parseTag(const TLanguageEntry& entry)
{
    TLocaleKey key;
    key.LangId = entry.LangId;
    const QStringList parts = QString::fromLatin1(entry.Locale).split(u'-', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return key;
    key.Language = QLocale::codeToLanguage(parts[0]);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].size() == 4)
            key.Script = QLocale::codeToScript(parts[i]);
        else
            key.Territory = QLocale::codeToTerritory(parts[i]);
    }
    return key;
}

const std::vector<TLocaleKey>& localeKeys()
{
    static const std::vector<TLocaleKey> keys = [] {
        std::vector<TLocaleKey> out;
        for (const TLanguageEntry& entry : kLanguages)
            if (const TLocaleKey key = parseTag(entry); key.Language != QLocale::AnyLanguage)
                out.push_back(key);
        return out;
    }();
    return keys;
}

}  // namespace

std::span<const TLanguageEntry> LanguageTable()
{
    return kLanguages;
}

std::span<const TLanguageEntry> ScannedLanguages()
{
    static_assert(kLanguages.size() - 1 == 145);
    return std::span<const TLanguageEntry>(kLanguages).subspan(1);
}

QString LanguageName(std::uint16_t langId)
{
    for (const TLanguageEntry& entry : kLanguages)
        if (entry.LangId == langId)
            return QString::fromLatin1(entry.Name);
    return {};
}

QLocale LocaleOfLangId(std::uint16_t langId)
{
    for (const TLanguageEntry& entry : kLanguages) {
        if (entry.LangId == langId && entry.Locale[0] != '\0')
            return QLocale(QString::fromLatin1(entry.Locale));
    }
    return QLocale::c();
}

std::uint16_t LangIdOfLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return 0x0409;
    const auto& keys = localeKeys();
    const auto scriptFits = [&](const TLocaleKey& key) {
        return key.Script == QLocale::AnyScript || key.Script == locale.script();
    };
    for (const TLocaleKey& key : keys)
        if (key.Language == locale.language() && key.Territory != QLocale::AnyTerritory &&
            key.Territory == locale.territory() && scriptFits(key))
            return key.LangId;
    // A territory the table lacks still has the language's primary LANGID;
    // the script decides between the Latin and Cyrillic forms where it can.
    for (const TLocaleKey& key : keys)
        if (key.Language == locale.language() && scriptFits(key))
            return key.LangId;
    for (const TLocaleKey& key : keys)
        if (key.Language == locale.language())
            return key.LangId;
    return 0;
}

std::uint16_t LangIdOfPosixLocale(const QByteArray& name)
{
    // language[_territory][.codeset][@modifier]
    const qsizetype at = name.indexOf('@');
    const QByteArray modifier = at < 0 ? QByteArray() : name.mid(at + 1).toLower();
    QByteArray base = at < 0 ? name : name.left(at);
    if (const qsizetype dot = base.indexOf('.'); dot >= 0)
        base.truncate(dot);
    const QLocale plain(QString::fromLatin1(base));
    // The modifier names the script where a language is written in two.
    QLocale::Script script = plain.script();
    if (modifier == "latin")
        script = QLocale::LatinScript;
    else if (modifier == "cyrillic")
        script = QLocale::CyrillicScript;
    return LangIdOfLocale(QLocale(plain.language(), script, plain.territory()));
}

std::uint16_t UserDefaultLangId()
{
    // QLocale drops the "@latin" of sr_RS@latin: the variable that names the
    // messages' locale is read as POSIX defines it, modifier included.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (value.isEmpty())
            continue;
        if (value.contains('@'))
            return LangIdOfPosixLocale(value);
        break;
    }
    return LangIdOfLocale(QLocale::system());
}

QString KeyboardLayoutName()
{
    // Without a GUI application there is no input method: the user's locale
    // stands in for it.
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    const QLocale locale = gui ? QGuiApplication::inputMethod()->locale() : QLocale::system();
    return QStringLiteral("%1").arg(LangIdOfLocale(locale), 8, 16, QLatin1Char('0')).toUpper();
}
