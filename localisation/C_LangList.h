#pragma once

#include "C_LangPack.h"
#include "exception.h"
#include "lang_file_list.h"
#include "string_list.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QWidget;
class TApplicationEvents;

/// Raised after a switch whose choice could not be saved.
QRL_DECLARE_EXCEPTION(ESettingNotSaved, Exception);

/// "The language file "QRL_0000040C.SPK" cannot be used: <reason>."
QString LanguageFileMessage(const QString& fileName, const QString& reason);

/// Raised with the sender, the language codes of the current and the chosen
/// entry, and CanChange (true on entry): clearing it refuses the switch.
using TBeforeChangeEvent =
    std::function<void(QObject* Sender, std::uint32_t OldCode, std::uint32_t NewCode, bool& CanChange)>;
/// Raised with the sender.
using TNotifyEvent = std::function<void(QObject* Sender)>;

/// The program's switchable interface language: the list of available
/// language files (TLangFileList), the user's choice remembered in the
/// settings store, and on a switch the chosen file applied to every form
/// (TLanguageRecord::ApplyFile) and the program told through
/// AfterLanguageSwitch. Started with "-co" it writes the texts of the running
/// interface as the original-language file. Rebuilding the list keeps the
/// index.
///
/// Set up as a form does it: construct, set the properties and events, then
/// call Loaded(). Everything runs on the GUI thread.
class TLangList : public QObject, public TLangFileList {
    Q_OBJECT
    Q_PROPERTY(int LanguageIndex READ LanguageIndex WRITE SetLanguageIndex)
    Q_PROPERTY(bool CplCompatibility READ CplCompatibility WRITE SetCplCompatibility)
    Q_PROPERTY(QString FilePrefix READ FilePrefix WRITE SetFilePrefix)
    Q_PROPERTY(QString SubDir READ SubDir WRITE SetSubDir)
    Q_PROPERTY(QString RegKey READ RegKey WRITE SetRegKey)
    Q_PROPERTY(bool Autoload READ Autoload WRITE SetAutoload)

public:
    /// The revision of the original-language file this list writes.
    static constexpr std::uint16_t kFormatRevision = 4;

    /// `owner` (the form that carries the list) is the translation root until
    /// Loaded(). The program directory is the executable's; RegKey starts as
    /// "Software\ZOQ\Localization", Autoload as true.
    explicit TLangList(QObject* owner = nullptr);
    ~TLangList() override;

    /// Completes the setup once the properties are set: the translation root
    /// becomes the application's forms (unless CplCompatibility), the two
    /// language records are created, and the application-events component
    /// whose first activation runs ApplicationActivate. Call it after the
    /// main window's own TApplicationEvents exists, so that the list's
    /// component, created later, is activated first.
    void Loaded();

    // Published properties.
    /// Names and paths never translated (sorted, duplicates ignored).
    const TStringList& ExcludedComps() const { return *FExcludedComps; }
    /// Copies the strings of `value`; nothing happens for nullptr.
    void SetExcludedComps(const TStringList* value);
    int LanguageIndex() const { return FIndex; }
    /// The switch: does nothing for an index outside the list or when
    /// BeforeLanguageSwitch refuses; otherwise applies the entry's file to
    /// every form, stores and saves (with Autoload) the index, and raises
    /// AfterLanguageSwitch. A file that cannot be applied changes nothing and
    /// raises, naming the file: ELanguageFileDamaged (missing, damaged, too
    /// few items), ELanguageFormat (a revision above 4), EInvalidGraphic (a
    /// flag that is no bitmap). A choice that cannot be saved raises
    /// ESettingNotSaved after the switch, naming the settings file.
    void SetLanguageIndex(int value);
    bool CplCompatibility() const { return FCplCompatibility; }
    void SetCplCompatibility(bool value) { FCplCompatibility = value; }
    // FilePrefix and SubDir: TLangFileList's.
    /// The settings key under the user's root ("Software\Varnel\Quorlo");
    /// empty: nothing is read or written. The value is named objectName().
    QString RegKey() const { return FRegKey; }
    void SetRegKey(const QString& value) { FRegKey = value; }
    bool Autoload() const { return FAutoload; }
    void SetAutoload(bool value) { FAutoload = value; }

    TBeforeChangeEvent BeforeLanguageSwitch;
    TNotifyEvent AfterLanguageSwitch;

    /// Header text 2 of the applied file when the last switch succeeded;
    /// empty otherwise.
    QString CurrentLanguageInfo() const;
    /// Selects the saved language: the value under RegKey named objectName()
    /// through SelectLanguageCode; with no key, no value or a value that is
    /// no number, the user's language (SelectUserDefaultLanguage). False when
    /// RegKey is empty or nothing was selected.
    bool LoadLanguageSetting();
    /// Writes the selected entry's language code under RegKey (created when
    /// missing); nothing when RegKey is empty or no entry is selected. False
    /// when the settings file could not be written.
    bool SaveLanguageSetting();
    /// Selects the first entry with this code, else the first with its
    /// LANGID, else the first with its primary language. False when none.
    bool SelectLanguageCode(std::uint32_t code);
    /// Selects the first entry with the user's LANGID, else the first with
    /// its primary language. False when none.
    bool SelectUserDefaultLanguage();
    /// Writes the original record as OriginalFilePath(), FilePrefix +
    /// "ORIGINAL.SPK", making its folder when needed. False when it could not
    /// be written (OriginalRecord()->WriteError says why).
    bool WriteOriginalFile();
    /// The first activation of the program: writes the original-language file
    /// when a command-line item asks for it ("-co...", see
    /// AsksForOriginalFile; a failure is one line on stderr and start-up goes
    /// on), builds the list and, with Autoload, selects the saved or the
    /// user's language; a file replaced since it was listed and now refused
    /// with an exception is shown in a message box. Later calls do nothing.
    void ApplicationActivate();

    /// True when a command-line item after the program name, lower-cased and
    /// with its first "/" turned into "-", begins with "-co" (/CO, -co,
    /// -compile; not co).
    static bool AsksForOriginalFile(const QStringList& arguments);

    /// The command line ApplicationActivate reads: the application's
    /// arguments unless tests set others (item 0 is the program).
    QStringList CommandLine() const { return FCommandLine; }
    void SetCommandLine(const QStringList& value) { FCommandLine = value; }

    /// The translation root: the owner until Loaded(), then the application's
    /// forms (or still the owner with CplCompatibility).
    QObject* TranslationRoot() const { return FRoot; }
    /// The two records; nullptr until Loaded().
    TLanguageRecord* OriginalRecord() const { return FOriginal.get(); }
    TLanguageRecord* CurrentRecord() const { return FCurrent.get(); }
    /// True when the last switch applied its file.
    bool TranslationLoaded() const { return FTranslationLoaded; }
    /// True while a switch rewrites the forms' texts: lists then pass
    /// through other selections before they get their own back.
    bool Switching() const { return FSwitching; }

protected:
    /// Calls BeforeLanguageSwitch when set; otherwise allows the switch.
    virtual void DoBeforeLanguageSwitch(std::uint32_t OldCode, std::uint32_t NewCode, bool& CanChange);
    /// Calls AfterLanguageSwitch when set.
    virtual void DoAfterLanguageSwitch();

private:
    bool selectFirst(const std::function<bool(std::uint32_t code)>& matches);
    void ensureRecords();
    QWidget* mainForm() const;

    QObject* FRoot;
    std::unique_ptr<TLanguageRecord> FOriginal;
    std::unique_ptr<TLanguageRecord> FCurrent;
    int FIndex = 0;
    bool FTranslationLoaded = false;
    bool FSwitching = false;
    std::unique_ptr<TStringList> FExcludedComps;
    bool FCplCompatibility = false;
    TApplicationEvents* FApplicationEvents = nullptr;   ///< owned as a child
    bool FStarted = false;
    bool FAutoload = true;
    QString FRegKey;
    QStringList FCommandLine;
};
