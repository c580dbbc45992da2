#include "lang_format.h"

#include "code_pages.h"
#include "Lang_Storageobj.h"

namespace LangFile {

int SettingsItems(int revision)
{
    switch (revision) {
    case 0: return 0;
    case 1: return 4;            // 512, 513, 514, 515
    case 2: case 3: return 7;    // 512, 516, 517, 518, 513, 514, 515
    case 4: return 8;            // as 2 and 3, then 516
    default: return -1;
    }
}

int CharsetItemIndex(int revision)
{
    switch (revision) {
    case 1: return kHeaderItems + 3;
    case 2: case 3: case 4: return kHeaderItems + 6;
    default: return -1;
    }
}

QString VersionText(std::uint32_t packed)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(packed >> 24)
        .arg((packed >> 16) & 0xFF)
        .arg((packed >> 10) & 0x3F)
        .arg(packed & 0x3FF);
}

QString LanguageFileName(const QString& filePrefix, std::uint32_t languageCode)
{
    return filePrefix + QStringLiteral("%1").arg(languageCode, 8, 16, QLatin1Char('0')).toUpper() +
           QStringLiteral(".SPK");
}

QString OriginalFileName(const QString& filePrefix)
{
    return filePrefix + QStringLiteral("ORIGINAL.SPK");
}

std::optional<int> PeekCharset(TStorefile& storage, int revision)
{
    if (revision == 0)
        return Charset::Default;
    const int item = CharsetItemIndex(revision);
    if (item < 0 || item >= storage.RecordCount())
        return std::nullopt;
    const std::int32_t back = storage.RecordIndex();
    storage.GoToRecord(item);
    std::optional<int> charset;
    if (storage.RecordIndex() == item && !storage.Eof()) {
        std::int32_t value = 0;
        storage.ReadInteger(value, false);
        charset = value & 0xFF;
    }
    storage.GoToRecord(back);
    return charset;
}

int TextCodePage(int charset, std::uint16_t langId)
{
    return CodePageOfCharset(charset, langId);
}

}  // namespace LangFile
