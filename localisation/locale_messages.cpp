#include "locale_messages.h"

#include "messages.h"
#include "C_TextStorage.h"
#include "lang_file_contents.h"
#include "lang_file_list.h"
#include "Lang_Languages.h"

#include <QLocale>

#include <memory>

namespace {

const QString kCatalogueEntry = QStringLiteral("MainDlg.TS_messages");

}  // namespace

bool UseMessagesOfFile(const QString& FileName)
{
    TLangFileContents contents;
    try {
        contents = ReadLanguageFile(FileName);
    } catch (const Exception&) {
        return false;
    }
    for (const TLangEntry& entry : contents.Entries) {
        if (entry.Path.compare(kCatalogueEntry, Qt::CaseInsensitive) != 0 || !LangFile::IsApplied(entry.Lines.Tag))
            continue;
        // The storage the main form carries, given the file's lines as a
        // switch gives them: it answers exactly as the window would.
        auto storage = std::make_shared<TTextStorage>(nullptr, QStringLiteral("TS_messages"), MessageOriginals());
        TStringList lines;
        lines.SetText(entry.Lines.Text);
        TStringList items = storage->Items();
        for (int i = 0; i < items.Count() && i < lines.Count(); ++i)
            items.SetString(i, lines[i]);
        storage->SetItems(items);
        SetMessageSource([storage](const QString& original) { return storage->GetText(original); });
        return true;
    }
    return false;
}

QString UseMessagesOfUserLocale()
{
    TLangFileList languages;
    languages.SetFilePrefix(QStringLiteral("QRL_"));
    languages.BuildLanguageList();
    const int index = languages.UserDefaultLanguageIndex();
    const QString file = languages.LanguageFile(index);
    if (file.isEmpty() || !UseMessagesOfFile(file))
        return {};
    QLocale::setDefault(LocaleOfLangId(static_cast<std::uint16_t>(languages.LanguageCode(index) & 0xFFFF)));
    return file;
}
