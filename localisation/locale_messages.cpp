#include "locale_messages.h"

#include "messages.h"
#include "frame.h"
#include "C_TextStorage.h"
#include "lang_file_contents.h"
#include "lang_file_list.h"
#include "Lang_Languages.h"

#include <QLocale>

#include <memory>

namespace {

const QString kCatalogueEntry = QStringLiteral("MainDlg.TS_messages");
const QString kFramingEntry = QStringLiteral("FrameDlg.TS_frame");

// The text storage a window carries, given the file's lines as a switch
// gives them: it answers exactly as the window would.
std::shared_ptr<TTextStorage> storageOf(const QString& name, const QStringList& originals, const QString& text)
{
    auto storage = std::make_shared<TTextStorage>(nullptr, name, originals);
    TStringList lines;
    lines.SetText(text);
    TStringList items = storage->Items();
    for (int i = 0; i < items.Count() && i < lines.Count(); ++i)
        items.SetString(i, lines[i]);
    storage->SetItems(items);
    return storage;
}

}  // namespace

bool UseMessagesOfFile(const QString& FileName)
{
    TLangFileContents contents;
    try {
        contents = ReadLanguageFile(FileName);
    } catch (const Exception&) {
        return false;
    }
    bool catalogue = false;
    for (const TLangEntry& entry : contents.Entries) {
        if (!LangFile::IsApplied(entry.Lines.Tag))
            continue;
        if (entry.Path.compare(kCatalogueEntry, Qt::CaseInsensitive) == 0) {
            const auto storage = storageOf(QStringLiteral("TS_messages"), MessageOriginals(), entry.Lines.Text);
            SetMessageSource([storage](const QString& original) { return storage->GetText(original); });
            catalogue = true;
        } else if (entry.Path.compare(kFramingEntry, Qt::CaseInsensitive) == 0) {
            // The head height's sentences, which the framing window carries.
            const auto storage = storageOf(QStringLiteral("TS_frame"), FramingWindowTexts(), entry.Lines.Text);
            SetFramingTextSource([storage](const QString& original) { return storage->GetText(original); });
        }
    }
    return catalogue;
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
