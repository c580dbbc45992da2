#include "C_LangList.h"

#include "messages.h"
#include "C_VersionInfo.h"
#include "lang_components.h"
#include "lang_format.h"
#include "Lang_Languages.h"
#include "lang_properties.h"
#include "application_events.h"
#include "registry.h"
#include "program_dir.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QStandardPaths>
#include <QWidget>

#include <cstdio>
#include <optional>

namespace {

using namespace LangFile;

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

bool isDirectory(const QString& path)
{
    return !path.isEmpty() && QFileInfo(withoutSlash(path)).isDir();
}

bool holdsLanguageFiles(const QString& dir, const QString& prefix)
{
    return isDirectory(dir) &&
           !QDir(dir).entryList({prefix + QStringLiteral("*.SPK")}, QDir::Files).isEmpty();
}

/// The shared language folder of an installed program, found from the
/// program's own folder (<prefix>/bin -> <prefix>/share/quorlo/lang).
QString installedLanguageDir(const QString& programDir, const QString& sub)
{
    if (programDir.isEmpty())
        return {};
    return withSlash(QDir::cleanPath(programDir + QStringLiteral(QRL_LANG_FROM_PROGRAM "/") + sub));
}

/// The line a language file shows in the list, or nothing when the file does
/// not open with the signature. Whatever else is wrong with it (a revision
/// above 4, a flag that is no bitmap, too few items, damaged records) shows
/// when it is chosen: the line is read from what the file holds, missing
/// items reading as empty.
std::optional<QString> listingText(const QString& fileName)
{
    const std::optional<TLangFileContents> header = ReadLanguageFileHeader(fileName);
    if (!header)
        return std::nullopt;
    // Header text 2 is shown by the chooser, not listed.
    if (header->Revision == 0)
        return header->HeaderText1 + QStringLiteral(" - ") + header->HeaderText3;
    return header->HeaderText1 + QStringLiteral(" [") + VersionText(header->ProgramVersion) +
           QStringLiteral("] - ") + header->HeaderText3;
}

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
    if (QCoreApplication::instance()) {
        FProgramDir = withSlash(ProgramDirectory());
        FCommandLine = QCoreApplication::arguments();
    }
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

void TLangList::SetSubDir(const QString& value)
{
    if (value != FSubDir)
        FSubDir = value;
}

void TLangList::SetProgramDir(const QString& value)
{
    FProgramDir = value.isEmpty() ? QString() : withSlash(value);
}

std::uint32_t TLangList::LanguageCode(int index) const
{
    if (index < 0 || index >= FLanguages.Count())
        return 0;
    return FLanguages.Objects(index).toUInt();
}

QString TLangList::languageFileName(std::uint32_t code) const
{
    // A file the user added stands in for the program's file of that name.
    const QString name = LanguageFileName(FFilePrefix, code);
    if (const QString user = UserLanguageDir(); !user.isEmpty() && QFileInfo(user + name).isFile())
        return user + name;
    return LanguageDir() + name;
}

QString TLangList::UserLanguageDir() const
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return withSlash(QDir::cleanPath(data + QStringLiteral("/" QRL_LANG_DATA_SUBDIR "/") + withoutSlash(FSubDir)));
}

QString TLangList::LanguageDir() const
{
    const QString sub = withoutSlash(FSubDir);
    if (const QString installed = installedLanguageDir(FProgramDir, sub);
        isDirectory(installed) && !holdsLanguageFiles(FProgramDir + sub, FFilePrefix))
        return installed;
    if (isDirectory(FProgramDir + sub))
        return withSlash(FProgramDir + sub);
    const QString system = FProgramDir + QStringLiteral("system/") + sub;
    if (isDirectory(system))
        return withSlash(system);
    return withSlash(withSlash(QDir::currentPath()) + sub);
}

bool TLangList::BuildLanguageList()
{
    FLanguages.Clear();
    for (const TLanguageEntry& language : ScannedLanguages()) {
        for (std::uint32_t variant = 0; variant <= 0xFFFF; ++variant) {
            const std::uint32_t code = variant << 16 | language.LangId;
            const QString fileName = languageFileName(code);
            if (!QFileInfo(fileName).isFile())
                break;
            if (const std::optional<QString> text = listingText(fileName))
                FLanguages.AddObject(*text, QVariant::fromValue(code));
        }
    }
    return !FLanguages.IsEmpty();
}

bool TLangList::LoadFlagBitmap(std::uint16_t langId, QImage& bitmap) const
{
    bitmap = QImage();
    const std::optional<TLangFileContents> header = ReadLanguageFileHeader(languageFileName(langId));
    if (!header)
        return false;
    // Row painting asks for flags: a file changed since it was listed must
    // not take the painting down.
    try {
        bitmap = BitmapFromBmpBytes(header->Flag);
    } catch (const EInvalidGraphic&) {
        bitmap = QImage();
    }
    return !bitmap.isNull();
}

QString TLangList::CurrentLanguageInfo() const
{
    return FTranslationLoaded && FCurrent ? FCurrent->HeaderText2 : QString();
}

void TLangList::SetLanguageIndex(int value)
{
    if (value < 0 || value >= FLanguages.Count())
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

int TLangList::findFirst(const std::function<bool(std::uint32_t code)>& matches) const
{
    for (int i = 0; i < FLanguages.Count(); ++i)
        if (matches(LanguageCode(i)))
            return i;
    return -1;
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

int TLangList::UserDefaultLanguageIndex() const
{
    const std::uint16_t user = UserDefaultLangId();
    if (const int exact = findFirst([user](std::uint32_t c) { return (c & 0xFFFF) == user; }); exact >= 0)
        return exact;
    return findFirst([user](std::uint32_t c) { return PrimaryLanguage(c) == PrimaryLanguage(user); });
}

bool TLangList::SelectUserDefaultLanguage()
{
    const int index = UserDefaultLanguageIndex();
    if (index < 0)
        return false;
    SetLanguageIndex(index);
    return true;
}

QString TLangList::LanguageFile(int index) const
{
    if (index < 0 || index >= FLanguages.Count())
        return {};
    return languageFileName(LanguageCode(index));
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
    if (FRegKey.isEmpty() || objectName().isEmpty() || FIndex < 0 || FIndex >= FLanguages.Count())
        return true;
    TRegistry registry(TRootKey::CurrentUser);
    return registry.OpenKey(FRegKey, true) &&
           registry.WriteInteger(objectName(), static_cast<std::int32_t>(LanguageCode(FIndex)));
}

QString TLangList::OriginalFilePath() const
{
    const QString dir = LanguageDir();
    // The shared folder of an installed program belongs to its package, even
    // for root.
    if (dir != installedLanguageDir(FProgramDir, withoutSlash(FSubDir)) &&
        QFileInfo(withoutSlash(dir)).isWritable())
        return dir + OriginalFileName(FFilePrefix);
    return UserLanguageDir() + OriginalFileName(FFilePrefix);
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
