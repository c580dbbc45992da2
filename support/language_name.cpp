#include "language_name.h"

#include <QLocale>

#include <algorithm>
#include <iterator>

namespace {

struct TLangIdName {
    std::uint16_t LangId;
    const char* Locale;
};

// Sorted by LANGID. The entry 0x04nn of each primary language nn also names
// the language when only the primary part of an identifier is known.
constexpr TLangIdName kLanguages[] = {
    {0x0401, "ar_SA"}, {0x0402, "bg_BG"}, {0x0403, "ca_ES"}, {0x0404, "zh_TW"},
    {0x0405, "cs_CZ"}, {0x0406, "da_DK"}, {0x0407, "de_DE"}, {0x0408, "el_GR"},
    {0x0409, "en_US"}, {0x040A, "es_ES"}, {0x040B, "fi_FI"}, {0x040C, "fr_FR"},
    {0x040D, "he_IL"}, {0x040E, "hu_HU"}, {0x040F, "is_IS"}, {0x0410, "it_IT"},
    {0x0411, "ja_JP"}, {0x0412, "ko_KR"}, {0x0413, "nl_NL"}, {0x0414, "nb_NO"},
    {0x0415, "pl_PL"}, {0x0416, "pt_BR"}, {0x0418, "ro_RO"}, {0x0419, "ru_RU"},
    {0x041A, "hr_HR"}, {0x041B, "sk_SK"}, {0x041C, "sq_AL"}, {0x041D, "sv_SE"},
    {0x041E, "th_TH"}, {0x041F, "tr_TR"}, {0x0420, "ur_PK"}, {0x0421, "id_ID"},
    {0x0422, "uk_UA"}, {0x0423, "be_BY"}, {0x0424, "sl_SI"}, {0x0425, "et_EE"},
    {0x0426, "lv_LV"}, {0x0427, "lt_LT"}, {0x0429, "fa_IR"}, {0x042A, "vi_VN"},
    {0x042D, "eu_ES"}, {0x042F, "mk_MK"}, {0x0436, "af_ZA"}, {0x0439, "hi_IN"},
    {0x043E, "ms_MY"}, {0x0804, "zh_CN"}, {0x0807, "de_CH"}, {0x0809, "en_GB"},
    {0x080A, "es_MX"}, {0x080C, "fr_BE"}, {0x0810, "it_CH"}, {0x0813, "nl_BE"},
    {0x0814, "nn_NO"}, {0x0816, "pt_PT"}, {0x0C04, "zh_HK"}, {0x0C07, "de_AT"},
    {0x0C09, "en_AU"}, {0x0C0A, "es_ES"}, {0x0C0C, "fr_CA"}, {0x1004, "zh_SG"},
    {0x1009, "en_CA"}, {0x100C, "fr_CH"}, {0x1409, "en_NZ"}, {0x140C, "fr_LU"},
    {0x1809, "en_IE"},
};

const char* localeOf(std::uint16_t langId)
{
    const auto it = std::lower_bound(std::begin(kLanguages), std::end(kLanguages), langId,
                                     [](const TLangIdName& e, std::uint16_t id) { return e.LangId < id; });
    return it != std::end(kLanguages) && it->LangId == langId ? it->Locale : nullptr;
}

}  // namespace

QString LanguageNameOf(std::uint16_t LangId)
{
    if (LangId == 0)
        return QStringLiteral("Language Neutral");
    if (const char* name = localeOf(LangId)) {
        const QLocale locale(QString::fromLatin1(name));
        return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                             QLocale::territoryToString(locale.territory()));
    }
    if (const char* name = localeOf(static_cast<std::uint16_t>(0x0400 | (LangId & 0x3FF))))
        return QLocale::languageToString(QLocale(QString::fromLatin1(name)).language());
    return QStringLiteral("Unknown language");
}
