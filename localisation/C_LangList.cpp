#include "C_LangList.h"

#include "messages.h"
#include "C_VersionInfo.h"
#include "lang_components.h"
#include "Lang_Languages.h"
#include "lang_properties.h"
#include "application_events.h"
#include "registry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QWidget>

#include <cstdio>
#include <optional>

namespace {

/// The file's name as the user knows it, for messages.
QString shownName(const QString& fileName)
{
    return QFileInfo(fileName).fileName();
}

}  // namespace

TLangList::TLangList(QObject* owner)
    : QObject(owner), FRoot(owner), FExcludedComps(std::make_unique<TStringList>()),
      FRegKey(QStringLiteral("Software\\ZOQ\\Localization"))
{
    FExcludedComps->SetSorted(true);
    FExcludedComps->SetDuplicates(TDuplicates::dupIgnore);
    if (QCoreApplication::instance())
        FCommandLine = QCoreApplication::arguments();
}

TLangList::~TLangList()
{
    // The events component is a child and outlives this body by a moment.
    if (FApplicationEvents)
        FApplicationEvents->OnActivate = nullptr;
}

void TLangList::Loaded()
{
    if (!FCplCompatibility)
        FRoot = &TApplicationForms::Application();
    ensureRecords();
    // Records made by a switch before Loaded still translate from the new root.
    FOriginal->Root = FRoot;
    FCurrent->Root = FRoot;
    if (!FApplicationEvents) {
        FApplicationEvents = new TApplicationEvents(this);
        FApplicationEvents->OnActivate = [this](TApplicationEvents&) { ApplicationActivate(); };
    }
}

void TLangList::ensureRecords()
{
    if (!FOriginal)
        FOriginal = std::make_unique<TLanguageRecord>(kFormatRevision, FRoot, FExcludedComps.get());
    if (!FCurrent)
        FCurrent = std::make_unique<TLanguageRecord>(kFormatRevision, FRoot, FExcludedComps.get());
}

void TLangList::SetExcludedComps(const TStringList* value)
{
    if (!value)
        return;
    FExcludedComps->Clear();
    FExcludedComps->SetSorted(true);
    FExcludedComps->SetDuplicates(TDuplicates::dupIgnore);
    FExcludedComps->AddStrings(*value);
}

QString TLangList::CurrentLanguageInfo() const
{
    return FTranslationLoaded && FCurrent ? FCurrent->HeaderText2 : QString();
}

void TLangList::SetLanguageIndex(int value)
{
    if (value < 0 || value >= Languages().Count())
        return;
    bool canChange = true;
    DoBeforeLanguageSwitch(LanguageCode(FIndex), LanguageCode(value), canChange);
    if (!canChange)
        return;
    ensureRecords();
    const QString fileName = languageFileName(LanguageCode(value));
    // Cleared first: a file that raises leaves no stale information behind.
    FTranslationLoaded = false;
    // A file that cannot be applied changes nothing, neither the interface
    // nor the choice: the user is told which file and why.
    try {
        const QScopedValueRollback switching(FSwitching, true);
        FTranslationLoaded = FCurrent->ApplyFile(fileName);
    } catch (const ELanguageFormat& e) {
        throw ELanguageFormat(LanguageFileMessage(fileName, e.Message));
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(LanguageFileMessage(fileName, e.Message));
    }
    if (!FTranslationLoaded) {
        throw ELanguageFileDamaged(LanguageFileMessage(
            fileName, QString::fromUtf8(QFileInfo::exists(fileName) ? Msg::kFileDamaged : Msg::kFileMissing)));
    }
    FIndex = value;
    // Numbers in the texts now shown follow the language: "34,0 mm" in French.
    QLocale::setDefault(LocaleOfLangId(static_cast<std::uint16_t>(LanguageCode(value) & 0xFFFF)));
    const bool saved = !FAutoload || SaveLanguageSetting();
    DoAfterLanguageSwitch();
    if (!saved)
        throw ESettingNotSaved(MessageText(Msg::kSettingNotSaved)
                                   .arg(QDir::toNativeSeparators(TRegistry::KeyFile(TRootKey::CurrentUser, FRegKey))));
}

QString LanguageFileMessage(const QString& fileName, const QString& reason)
{
    const QString plain = reason.endsWith(u'.') ? reason.chopped(1) : reason;
    return MessageText(Msg::kLanguageFile).arg(shownName(fileName), MessageText(plain));
}

void TLangList::DoBeforeLanguageSwitch(std::uint32_t OldCode, std::uint32_t NewCode, bool& CanChange)
{
    if (BeforeLanguageSwitch)
        BeforeLanguageSwitch(this, OldCode, NewCode, CanChange);
    else
        CanChange = true;
}

void TLangList::DoAfterLanguageSwitch()
{
    if (AfterLanguageSwitch)
        AfterLanguageSwitch(this);
}

bool TLangList::selectFirst(const std::function<bool(std::uint32_t code)>& matches)
{
    const int index = findFirst(matches);
    if (index < 0)
        return false;
    SetLanguageIndex(index);
    return true;
}

bool TLangList::SelectLanguageCode(std::uint32_t code)
{
    return selectFirst([code](std::uint32_t c) { return c == code; }) ||
           selectFirst([code](std::uint32_t c) { return (c & 0xFFFF) == (code & 0xFFFF); }) ||
           selectFirst([code](std::uint32_t c) { return PrimaryLanguage(c) == PrimaryLanguage(code); });
}

bool TLangList::SelectUserDefaultLanguage()
{
    const int index = UserDefaultLanguageIndex();
    if (index < 0)
        return false;
    SetLanguageIndex(index);
    return true;
}

bool TLangList::LoadLanguageSetting()
{
    if (FRegKey.isEmpty())
        return false;
    TRegistry registry(TRootKey::CurrentUser);
    std::optional<std::int32_t> saved;
    // An unreadable key and a value that is no number are no saved choice.
    if (!objectName().isEmpty() && registry.OpenKeyReadOnly(FRegKey))
        saved = registry.ReadInteger(objectName());
    if (saved)
        return SelectLanguageCode(static_cast<std::uint32_t>(*saved));
    return SelectUserDefaultLanguage();
}

bool TLangList::SaveLanguageSetting()
{
    if (FRegKey.isEmpty() || objectName().isEmpty() || FIndex < 0 || FIndex >= Languages().Count())
        return true;
    TRegistry registry(TRootKey::CurrentUser);
    return registry.OpenKey(FRegKey, true) &&
           registry.WriteInteger(objectName(), static_cast<std::int32_t>(LanguageCode(FIndex)));
}

bool TLangList::WriteOriginalFile()
{
    ensureRecords();
    const QString path = OriginalFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return FOriginal->WriteOriginal(path);
}

bool TLangList::AsksForOriginalFile(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString item = arguments[i].toLower();
        if (const qsizetype slash = item.indexOf(u'/'); slash >= 0)
            item[slash] = u'-';
        if (item.startsWith(QLatin1String("-co")))
            return true;
    }
    return false;
}

QWidget* TLangList::mainForm() const
{
    if (auto* application = qobject_cast<TApplicationForms*>(FRoot); application && application->MainForm())
        return application->MainForm();
    if (QWidget* form = TApplicationForms::Application().MainForm())
        return form;
    auto* owner = qobject_cast<QWidget*>(parent());
    return owner ? owner->window() : nullptr;
}

void TLangList::ApplicationActivate()
{
    // Set first: a message shown below runs the event loop, and a second
    // activation then must not start over.
    if (FStarted)
        return;
    FStarted = true;
    ensureRecords();
    if (AsksForOriginalFile(FCommandLine)) {
        QApplication::beep();
        BuildLanguageList();
        TVersionInfo version;
        version.LoadFromModule();
        FOriginal->ProgramVersion = version.FileVersionInt();
        FOriginal->InputMethodName = KeyboardLayoutName();
        if (QWidget* form = mainForm()) {
            const TPublishedProperties* p = PublishedProperties(form);
            const TFontRecord font = p && p->Font ? p->Font.Get(form)
                                                  : TFontRecord{form->font().family(), 0, FontCharset(form)};
            FOriginal->FontName = font.Name;
            FOriginal->CharSet = static_cast<std::uint8_t>(font.Charset);
        }
        const QString path = OriginalFilePath();
        QString line;
        if (!WriteOriginalFile())
            // Worded as the page writers word their refusals.
            line = QStringLiteral("%1: Cannot create file \"%2\". %3")
                       .arg(QCoreApplication::applicationName(), QDir::toNativeSeparators(path),
                            FOriginal->WriteError);
        else if (!path.startsWith(LanguageDir()))
            // Not where the language files are: the user must learn where.
            line = QStringLiteral("%1: wrote the original-language file %2")
                       .arg(QCoreApplication::applicationName(), path);
        if (!line.isEmpty())
            std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    }
    BuildLanguageList();
    if (!FAutoload)
        return;
    try {
        LoadLanguageSetting();
    } catch (const Exception& e) {
        // A file replaced since it was listed: start-up goes on in the
        // design-time language, and the user learns why.
        QMessageBox::critical(mainForm(), QCoreApplication::applicationName(), e.Message);
    }
}
