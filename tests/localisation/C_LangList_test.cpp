#include "C_LangList.h"

#include "C_VersionInfo.h"
#include "lang_components.h"
#include "lang_format.h"
#include "Lang_Languages.h"
#include "Lang_Storageobj.h"
#include "application_events.h"
#include "lang_list_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace LangFile;

namespace {

QStringList texts(const TLangList& list)
{
    return list.Languages().ToStringList();
}

std::vector<std::uint32_t> codes(const TLangList& list)
{
    std::vector<std::uint32_t> out;
    for (int i = 0; i < list.Languages().Count(); ++i)
        out.push_back(list.LanguageCode(i));
    return out;
}

/// The items of a language file as (tag, bytes), in file order.
std::vector<std::pair<std::int32_t, QByteArray>> items(const QString& fileName)
{
    TStorefile s;
    s.SetSignature(kSignatureBytes);
    s.SetReadOnly(true);
    s.SetFilename(fileName);
    s.Open();
    std::vector<std::pair<std::int32_t, QByteArray>> out;
    while (!s.Eof()) {
        QByteArray data;
        const std::int32_t tag = s.ReadString(data, true);
        out.emplace_back(tag, data);
    }
    return out;
}

std::int32_t intOf(const QByteArray& b)
{
    std::int32_t v = 0;
    std::memcpy(&v, b.constData(), std::min<qsizetype>(4, b.size()));
    return v;
}

const QString kFrench = QStringLiteral("Fran\u00e7ais [1.2.3.5] - par nous");

/// An installed program's folders: <prefix>/bin and <prefix>/share/quorlo/lang.
struct InstalledLayout {
    InstalledLayout()
        : bin(prefix.filePath(QStringLiteral("bin"))),
          lang(prefix.filePath(QStringLiteral("share/quorlo/lang")))
    {
        QDir().mkpath(bin);
        QDir().mkpath(lang);
    }
    QTemporaryDir prefix;
    QString bin;
    QString lang;
};

/// $XDG_DATA_HOME in a temporary folder for one test.
class UserDataFolder {
public:
    UserDataFolder() : previous_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path()));
    }
    ~UserDataFolder()
    {
        if (previous_.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", previous_);
    }
    QString path(const QString& relative) const { return dir_.filePath(relative); }

private:
    QByteArray previous_;
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(LangListTest, ListFollowsTheTableThenTheVariants)
{
    writeLanguage({.Code = 0x0407, .Revision = 0, .Text1 = "Deutsch", .Text3 = "von uns"});
    writeLanguage({.Code = 0x1040C, .Text3 = "variante"});
    writeLanguage({.Code = 0x040C});
    writeLanguage({.Code = 0x0409, .Revision = 1, .Text1 = "English", .Text3 = "us",
                   .Version = PackVersion(2, 0, 1, 7)});
    // A revision-0 file after one of revision 4 shows no version: nothing of
    // the previous file's header carries over.
    writeLanguage({.Code = 0x2040C, .Revision = 0, .Text3 = "ancienne"});

    EXPECT_TRUE(langue->BuildLanguageList());
    EXPECT_EQ(texts(*langue), (QStringList{QStringLiteral("English [2.0.1.7] - us"), kFrench,
                                           QStringLiteral("Fran\u00e7ais [1.2.3.5] - variante"),
                                           QStringLiteral("Fran\u00e7ais - ancienne"),
                                           QStringLiteral("Deutsch - von uns")}));
    EXPECT_EQ(codes(*langue), (std::vector<std::uint32_t>{0x0409, 0x040C, 0x1040C, 0x2040C, 0x0407}));
    EXPECT_EQ(langue->LanguageCode(-1), 0u);
    EXPECT_EQ(langue->LanguageCode(5), 0u);
}

TEST_F(LangListTest, TheUsersLanguageFilesAreListedAndWinOverTheProgramsOfTheSameName)
{
    writeLanguage({.Code = 0x040C, .Text3 = "du programme"});
    writeLanguage({.Code = 0x0407, .Text1 = "Deutsch", .Text3 = "des Programms"});
    const QString user = userLanguageDir();
    writeLanguage({.Code = 0x040C, .Text3 = "de l'utilisateur", .Caption = "Imprimez"}, user);
    // The user's variant 1 continues the program's variant 0, and a language
    // only the user has is listed too.
    writeLanguage({.Code = 0x10407, .Text1 = "Deutsch", .Text3 = "Schweiz"}, user);
    writeLanguage({.Code = 0x0410, .Text1 = "Italiano", .Text3 = "nostro"}, user);
    const QImage flag = [] {
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        return image;
    }();
    writeLanguage({.Code = 0x0413, .Text1 = "Nederlands", .Flag = flag}, user);

    ASSERT_TRUE(langue->BuildLanguageList());
    EXPECT_EQ(texts(*langue), (QStringList{QStringLiteral("Nederlands [1.2.3.5] - par nous"),
                                           QStringLiteral("Fran\u00e7ais [1.2.3.5] - de l'utilisateur"),
                                           QStringLiteral("Deutsch [1.2.3.5] - des Programms"),
                                           QStringLiteral("Deutsch [1.2.3.5] - Schweiz"),
                                           QStringLiteral("Italiano [1.2.3.5] - nostro")}));
    QImage loaded;
    EXPECT_TRUE(langue->LoadFlagBitmap(0x0413, loaded));
    EXPECT_EQ(loaded.pixel(3, 3), QColor(Qt::red).rgb());
    langue->SetLanguageIndex(1);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimez"));
}

TEST_F(LangListTest, ALanguageWithoutItsFirstVariantIsNotListed)
{
    writeLanguage({.Code = 0x1040C});
    EXPECT_FALSE(langue->BuildLanguageList());
    EXPECT_EQ(langue->Languages().Count(), 0);

    // A later missing variant ends the scan: variant 2 is never looked at.
    writeLanguage({.Code = 0x040C});
    writeLanguage({.Code = 0x3040C});
    EXPECT_TRUE(langue->BuildLanguageList());
    EXPECT_EQ(codes(*langue), (std::vector<std::uint32_t>{0x040C, 0x1040C}));
}

TEST_F(LangListTest, ForeignFilesArePassedOverAndFilesThatCannotBeAppliedAreListed)
{
    // Wrong signature, then a good second variant: the scan goes on past it.
    const QByteArray foreign = QByteArrayLiteral("ZOQ STORAGE FILE\x06\0\0\0 and nothing else");
    WriteBytes(languageFile(0x0407), foreign);
    writeLanguage({.Code = 0x10407, .Text1 = "Deutsch", .Text3 = "zwei"});
    // Cut short, an unknown revision, and a flag that is no bitmap.
    const QString italian = writeLanguage({.Code = 0x0410, .Text1 = "Italiano"});
    WriteBytes(italian, FileBytes(italian).chopped(7));
    writeLanguage({.Code = 0x0413, .Revision = 5, .Text1 = "Nederlands"});
    LanguageFileBuilder::Options badFlag;
    badFlag.LangId = 0x0419;
    badFlag.HeaderText1 = "Russkij";
    badFlag.Flag = "BM not really a bitmap";
    LanguageFileBuilder(badFlag).Write(languageFile(0x0419));
    // Only the item count of the header: fewer than six items.
    WriteBytes(languageFile(0x041D), QByteArrayLiteral("ZOQ LANGUAGE FILE\0\0\0\0"));
    // A folder named like a file is no file.
    QDir(program.path()).mkdir(QFileInfo(languageFile(0x0408)).fileName());

    langue->BuildLanguageList();
    EXPECT_EQ(texts(*langue), QStringList({"Nederlands [1.2.3.5] - par nous", "Deutsch [1.2.3.5] - zwei",
                                           "Italiano [1.2.3.5] - par nous", "Russkij [1.2.3.5] - par nous", " - "}));
    // Listing never creates or changes a file.
    EXPECT_FALSE(QFile::exists(languageFile(0x10410)));
    EXPECT_EQ(FileBytes(languageFile(0x0407)), foreign);

    // Choosing one says which file and why, and changes nothing.
    const struct {
        int Index;
        const char* Message;
    } choices[] = {
        {0, "The language file \"QRL_00000413.SPK\" cannot be used: Format not supported in this revision."},
        {2, "The language file \"QRL_00000410.SPK\" cannot be used: the file is damaged."},
        {3, "The language file \"QRL_00000419.SPK\" cannot be used: Bitmap image is not valid."},
        {4, "The language file \"QRL_0000041D.SPK\" cannot be used: the file is damaged."},
    };
    for (const auto& choice : choices) {
        try {
            langue->SetLanguageIndex(choice.Index);
            ADD_FAILURE() << "applied " << choice.Index;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, QString::fromUtf8(choice.Message));
        }
        EXPECT_EQ(langue->LanguageIndex(), 0);
        EXPECT_EQ(savedCode(), std::nullopt);
        EXPECT_EQ(afterSwitches, 0);
        EXPECT_EQ(print_btn->text(), QStringLiteral("Print Now"));
    }
    langue->SetLanguageIndex(1);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
}

TEST_F(LangListTest, AFileReplacedByANamedPipeIsRefusedWithoutWaiting)
{
    writeLanguage({.Code = 0x040C});
    langue->BuildLanguageList();
    QFile::remove(languageFile(0x040C));
    ASSERT_EQ(::mkfifo(QFile::encodeName(languageFile(0x040C)).constData(), 0600), 0);
    // Nobody writes to the pipe: opening it for reading would wait for ever.
    EXPECT_THROW(langue->SetLanguageIndex(0), ELanguageFileDamaged);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Print Now"));
}

TEST_F(LangListTest, LanguageDirectoryFallsBackToSystemThenTheCurrentFolder)
{
    EXPECT_EQ(langue->LanguageDir(), program.path() + '/');

    langue->SetSubDir(QStringLiteral("lang"));
    const QString current = QDir::currentPath();
    EXPECT_EQ(langue->LanguageDir(), current + QStringLiteral("/lang/"));
    QDir(program.path()).mkpath(QStringLiteral("system/lang"));
    EXPECT_EQ(langue->LanguageDir(), program.path() + QStringLiteral("/system/lang/"));
    QDir(program.path()).mkpath(QStringLiteral("lang"));
    EXPECT_EQ(langue->LanguageDir(), program.path() + QStringLiteral("/lang/"));

    // Files are looked for there.
    writeLanguage({.Code = 0x040C});
    EXPECT_FALSE(langue->BuildLanguageList());
    QFile::rename(languageFile(0x040C), program.filePath(QStringLiteral("lang/QRL_0000040C.SPK")));
    EXPECT_TRUE(langue->BuildLanguageList());
}

TEST_F(LangListTest, SelectingByCodeTriesTheCodeThenTheLangIdThenThePrimaryLanguage)
{
    writeLanguage({.Code = 0x0407, .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    writeLanguage({.Code = 0x1040C, .Caption = "Imprimer 2"});
    langue->BuildLanguageList();

    // Listed as 0x040C, 0x1040C, 0x0407: French comes first in the table.
    EXPECT_TRUE(langue->SelectLanguageCode(0x1040C));   // the exact code wins over its LANGID
    EXPECT_EQ(langue->LanguageIndex(), 1);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer 2"));
    EXPECT_TRUE(langue->SelectLanguageCode(0x2040C));   // its LANGID: the first French
    EXPECT_EQ(langue->LanguageIndex(), 0);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_TRUE(langue->SelectLanguageCode(0x0807));    // German (Switzerland): primary language
    EXPECT_EQ(langue->LanguageIndex(), 2);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Drucken"));
    EXPECT_TRUE(langue->SelectLanguageCode(0x0C0C));    // French (Canada)
    EXPECT_EQ(langue->LanguageIndex(), 0);

    const int switches = afterSwitches;
    EXPECT_FALSE(langue->SelectLanguageCode(0x0410));
    EXPECT_EQ(langue->LanguageIndex(), 0);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(afterSwitches, switches);
}

TEST_F(LangListTest, SwitchSavesAppliesAndThenTells)
{
    writeLanguage({.Code = 0x0407, .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    langue->BuildLanguageList();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> asked;
    langue->BeforeLanguageSwitch = [&](QObject* sender, std::uint32_t oldCode, std::uint32_t newCode, bool& canChange) {
        EXPECT_EQ(sender, langue);
        EXPECT_TRUE(canChange);
        asked.emplace_back(oldCode, newCode);
    };

    langue->SetLanguageIndex(0);   // French: the table lists it before German
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(langue->LanguageIndex(), 0);
    EXPECT_EQ(savedCode(), 0x040C);
    EXPECT_EQ(afterSwitches, 1);
    EXPECT_EQ(afterSender, langue);
    EXPECT_EQ(langue->CurrentLanguageInfo(), QStringLiteral("Traduction fran\u00e7aise"));

    langue->SetAutoload(false);
    langue->SetLanguageIndex(1);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Drucken"));
    EXPECT_EQ(savedCode(), 0x040C);   // not saved without Autoload
    EXPECT_EQ(afterSwitches, 2);
    // The old code is the entry's at the index, also before any switch.
    EXPECT_EQ(asked, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{0x040C, 0x040C}, {0x040C, 0x0407}}));
}

TEST_F(LangListTest, ARefusedSwitchChangesNothing)
{
    writeLanguage({.Code = 0x040C});
    langue->BuildLanguageList();
    langue->BeforeLanguageSwitch = [](QObject*, std::uint32_t, std::uint32_t, bool& canChange) { canChange = false; };
    langue->SetLanguageIndex(0);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Print Now"));
    EXPECT_EQ(savedCode(), std::nullopt);
    EXPECT_EQ(afterSwitches, 0);
    EXPECT_EQ(langue->CurrentLanguageInfo(), QString());
}

TEST_F(LangListTest, IndexesOutsideTheListDoNothing)
{
    writeLanguage({.Code = 0x040C});
    int asked = 0;
    langue->BeforeLanguageSwitch = [&](QObject*, std::uint32_t, std::uint32_t, bool&) { ++asked; };
    langue->SetLanguageIndex(0);   // before the list is built: empty
    langue->BuildLanguageList();
    langue->SetLanguageIndex(-1);
    langue->SetLanguageIndex(1);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(langue->LanguageIndex(), 0);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Print Now"));
    EXPECT_EQ(savedCode(), std::nullopt);
}

TEST_F(LangListTest, AFileGoneOrDamagedSinceListingLeavesTheInterfaceAlone)
{
    writeLanguage({.Code = 0x0407, .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    writeLanguage({.Code = 0x0410, .Caption = "Stampa"});
    langue->BuildLanguageList();
    langue->SetLanguageIndex(1);   // listed French, German, Italian
    ASSERT_EQ(print_btn->text(), QStringLiteral("Drucken"));
    ASSERT_EQ(afterSwitches, 1);

    QFile::remove(languageFile(0x040C));
    WriteBytes(languageFile(0x0410), QByteArrayLiteral("ZOQ LANGUAGE FILE\x09\0\0\0 garbage follows"));
    for (const int index : {0, 2}) {
        EXPECT_THROW(langue->SetLanguageIndex(index), ELanguageFileDamaged);
        EXPECT_EQ(langue->LanguageIndex(), 1);                     // the choice stays
        EXPECT_EQ(savedCode(), 0x0407);
        EXPECT_EQ(print_btn->text(), QStringLiteral("Drucken"));   // and so do the texts
        EXPECT_EQ(afterSwitches, 1);                               // nobody is told of a switch
        EXPECT_EQ(langue->CurrentLanguageInfo(), QString());
    }
}

TEST_F(LangListTest, AFileOfAnUnknownRevisionSinceListingRaisesWithNoComponentChanged)
{
    writeLanguage({.Code = 0x040C});
    langue->BuildLanguageList();
    writeLanguage({.Code = 0x040C, .Revision = 5});
    EXPECT_THROW(langue->SetLanguageIndex(0), ELanguageFormat);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Print Now"));
    EXPECT_EQ(savedCode(), std::nullopt);
    EXPECT_EQ(afterSwitches, 0);
    EXPECT_EQ(langue->CurrentLanguageInfo(), QString());
}

TEST_F(LangListTest, TheSavedChoiceOrTheUsersLanguageIsSelected)
{
    const std::uint16_t user = UserDefaultLangId();
    ASSERT_NE(user, 0) << "the test needs a locale of the language table";
    // One file in the user's language, one in another.
    const std::uint16_t other = PrimaryLanguage(user) == 0x0C ? 0x0407 : 0x040C;
    writeLanguage({.Code = user, .Caption = "user's"});
    writeLanguage({.Code = other, .Caption = "other"});
    langue->BuildLanguageList();
    const int userIndex = langue->Languages().IndexOfObject(QVariant::fromValue(std::uint32_t{user}));
    const int otherIndex = 1 - userIndex;

    saveCode(other);
    EXPECT_TRUE(langue->LoadLanguageSetting());
    EXPECT_EQ(langue->LanguageIndex(), otherIndex);

    // No key, a value that is no number, a file of garbage, a folder where
    // the file should be: each is no saved choice, and the user's language wins.
    const QString file = settingsFile();
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no file", [&] { QFile::remove(file); }},
        {"no value", [&] { WriteBytes(file, "[General]\nother=1\n"); }},
        {"not a number", [&] { WriteBytes(file, "[General]\nlangue=French\n"); }},
        {"garbage", [&] { WriteBytes(file, QByteArray("\xFF\xFE\0\x01[[[=\n\x80", 10)); }},
        {"a folder", [&] { QFile::remove(file); QDir().mkpath(file); }},
    };
    for (const auto& [name, make] : cases) {
        langue->SetLanguageIndex(otherIndex);
        make();
        // Where the settings file should be, a folder: the switch is made,
        // and the user learns that it will not be remembered.
        if (QFileInfo(file).isDir())
            EXPECT_THROW(langue->LoadLanguageSetting(), ESettingNotSaved) << name;
        else
            EXPECT_TRUE(langue->LoadLanguageSetting()) << name;
        EXPECT_EQ(langue->LanguageIndex(), userIndex) << name;
        EXPECT_EQ(print_btn->text(), QStringLiteral("user's")) << name;
        QDir(file).removeRecursively();
    }

    langue->SetRegKey(QString());
    langue->SetLanguageIndex(otherIndex);
    EXPECT_FALSE(langue->LoadLanguageSetting());
    EXPECT_EQ(langue->LanguageIndex(), otherIndex);
}

TEST_F(LangListTest, FirstActivationSelectsTheSavedLanguageOnce)
{
    writeLanguage({.Code = 0x0407, .Caption = "Drucken"});
    writeLanguage({.Code = 0x040C});
    saveCode(0x040C);

    // Through the component that Loaded created, as the platform raises it.
    TApplicationEvents::Activate();
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(langue->Languages().Count(), 2);
    EXPECT_EQ(afterSwitches, 1);
    EXPECT_FALSE(QFile::exists(program.filePath(QStringLiteral("QRL_ORIGINAL.SPK"))));

    saveCode(0x0407);
    TApplicationEvents::Activate();
    langue->ApplicationActivate();
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(afterSwitches, 1);
}

TEST_F(LangListTest, WithoutAutoloadStartUpOnlyLists)
{
    writeLanguage({.Code = 0x040C});
    saveCode(0x040C);
    langue->SetAutoload(false);
    langue->ApplicationActivate();
    EXPECT_EQ(langue->Languages().Count(), 1);
    EXPECT_EQ(afterSwitches, 0);
}

TEST(TLangList, CompileSwitchForms)
{
    const auto asks = [](const QString& item) {
        return TLangList::AsksForOriginalFile({QStringLiteral("quorlo"), item});
    };
    for (const char* item : {"/CO", "-co", "-compile", "-CO", "/co", "/compile"})
        EXPECT_TRUE(asks(QString::fromLatin1(item))) << item;
    for (const char* item : {"co", "compile", "--co", "x/co", "-c", ""})
        EXPECT_FALSE(asks(QString::fromLatin1(item))) << item;
    // Only the items after the program name count, and any of them does.
    EXPECT_FALSE(TLangList::AsksForOriginalFile({QStringLiteral("-co")}));
    EXPECT_TRUE(TLangList::AsksForOriginalFile(
        {QStringLiteral("quorlo"), QStringLiteral("photo.jpg"), QStringLiteral("/Co")}));
}

TEST_F(LangListTest, CompileSwitchWritesTheDesignTimeTextsBeforeTheSavedLanguage)
{
    writeLanguage({.Code = 0x040C});
    saveCode(0x040C);
    langue->SetCommandLine({QStringLiteral("quorlo"), QStringLiteral("/CO")});
    langue->ApplicationActivate();
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));   // start-up went on

    const auto written = items(program.filePath(QStringLiteral("QRL_ORIGINAL.SPK")));
    ASSERT_GE(written.size(), 14u);
    EXPECT_EQ(intOf(written[0].second), 0x00040000);   // revision 4, LANGID 0
    TVersionInfo version;
    version.LoadFromModule();
    EXPECT_EQ(static_cast<std::uint32_t>(intOf(written[6].second)), version.FileVersionInt());
    EXPECT_EQ(static_cast<std::uint32_t>(intOf(written[6].second)), ParseVersion(QStringLiteral(QRL_PROJECT_VERSION)));
    EXPECT_EQ(written[10].second, KeyboardLayoutName().toLatin1());
    EXPECT_EQ(written[10].second.size(), 8);
    EXPECT_EQ(written[11].second, QByteArray("MS Sans Serif"));
    EXPECT_EQ(intOf(written[12].second), 1);   // the main form's character set
    const auto caption = std::find_if(written.begin(), written.end(),
                                      [](const auto& item) { return item.second == "MainDlg.print_btn"; });
    ASSERT_NE(caption, written.end());
    EXPECT_EQ((caption + 2)->second, QByteArray("Print Now"));
}

TEST_F(LangListTest, CompileSwitchThatCannotWriteSaysSoOnceAndStartUpGoesOn)
{
    writeLanguage({.Code = 0x040C});
    saveCode(0x040C);
    // The file's place is taken by a folder: the new file cannot replace it.
    const QString original = program.filePath(QStringLiteral("QRL_ORIGINAL.SPK"));
    QDir().mkpath(original + QStringLiteral("/keep"));
    langue->SetCommandLine({QStringLiteral("quorlo"), QStringLiteral("-compile")});

    testing::internal::CaptureStderr();
    langue->ApplicationActivate();
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("Cannot create file \"" + original.toStdString() + "\". " + std::strerror(EISDIR)),
              std::string::npos) << err;
    EXPECT_TRUE(QFileInfo(original + QStringLiteral("/keep")).isDir());
    EXPECT_FALSE(QFile::exists(original + QStringLiteral(".part")));
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(afterSwitches, 1);
    EXPECT_FALSE(langue->WriteOriginalFile());
    EXPECT_EQ(langue->OriginalRecord()->WriteError, QString::fromLocal8Bit(std::strerror(EISDIR)));
}

TEST_F(LangListTest, CompileSwitchInAnUnwritableFolderWritesNothingThere)
{
    const QString folder = unwritableFolder();
    if (folder.isEmpty())
        GTEST_SKIP() << "no folder refuses new files here";
    const UserDataFolder data;
    langue->SetProgramDir(folder);
    langue->SetCommandLine({QStringLiteral("quorlo"), QStringLiteral("-co")});

    testing::internal::CaptureStderr();
    langue->ApplicationActivate();
    const std::string err = testing::internal::GetCapturedStderr();

    const QString original = QDir(folder).filePath(QStringLiteral("QRL_ORIGINAL.SPK"));
    EXPECT_FALSE(QFile::exists(original));
    EXPECT_FALSE(QFile::exists(original + QStringLiteral(".part")));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    if (QFileInfo(folder).isWritable()) {
        // The super-user's view of a kernel folder: tried there, refused, said.
        EXPECT_NE(err.find(original.toStdString()), std::string::npos) << err;
        EXPECT_FALSE(langue->OriginalRecord()->WriteError.isEmpty());
        EXPECT_NE(err.find(langue->OriginalRecord()->WriteError.toStdString()), std::string::npos) << err;
    } else {
        // A folder whose mode forbids writing: the user's own folder instead.
        const QString user = data.path(QStringLiteral("quorlo/lang/QRL_ORIGINAL.SPK"));
        EXPECT_TRUE(QFile::exists(user));
        EXPECT_NE(err.find(user.toStdString()), std::string::npos) << err;
    }
}

TEST_F(LangListTest, AnInstalledProgramFindsItsSharedLanguageFolderUnlessItCarriesItsOwn)
{
    const InstalledLayout installed;
    langue->SetProgramDir(installed.bin);
    EXPECT_EQ(langue->LanguageDir(), installed.lang + '/');
    QFile::rename(writeLanguage({.Code = 0x040C}), installed.lang + QStringLiteral("/QRL_0000040C.SPK"));
    ASSERT_TRUE(langue->BuildLanguageList());
    EXPECT_EQ(texts(*langue), QStringList{kFrench});

    // A language file beside the program makes it a copy of its own.
    QFile::copy(installed.lang + QStringLiteral("/QRL_0000040C.SPK"),
                installed.bin + QStringLiteral("/QRL_00000407.SPK"));
    EXPECT_EQ(langue->LanguageDir(), installed.bin + '/');
    // So does a program folder without a shared folder above it.
    langue->SetProgramDir(program.path());
    EXPECT_EQ(langue->LanguageDir(), program.path() + '/');
}

TEST_F(LangListTest, CompileSwitchOfAnInstalledProgramWritesToTheUsersFolderAndSaysWhere)
{
    const InstalledLayout installed;
    const UserDataFolder data;
    langue->SetProgramDir(installed.bin);
    langue->SetCommandLine({QStringLiteral("quorlo"), QStringLiteral("-co")});

    testing::internal::CaptureStderr();
    langue->ApplicationActivate();
    const std::string err = testing::internal::GetCapturedStderr();

    const QString user = data.path(QStringLiteral("quorlo/lang/QRL_ORIGINAL.SPK"));
    EXPECT_EQ(langue->OriginalFilePath(), user);
    EXPECT_TRUE(items(user).size() > 0) << "a language file, written whole";
    EXPECT_FALSE(QFile::exists(installed.lang + QStringLiteral("/QRL_ORIGINAL.SPK")))
        << "the package's folder is left alone, even by the super-user";
    EXPECT_FALSE(QFile::exists(installed.bin + QStringLiteral("/QRL_ORIGINAL.SPK")));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(user.toStdString()), std::string::npos) << err;
}

TEST_F(LangListTest, FlagsComeFromTheFirstVariant)
{
    QImage flag(20, 13, QImage::Format_RGB32);
    flag.fill(QColor(0x00, 0x55, 0xA4));
    writeLanguage({.Code = 0x040C, .Flag = flag});
    QImage other(5, 5, QImage::Format_RGB32);
    other.fill(Qt::green);
    writeLanguage({.Code = 0x1040C, .Flag = other});
    writeLanguage({.Code = 0x0407});

    QImage loaded(3, 3, QImage::Format_RGB32);
    EXPECT_TRUE(langue->LoadFlagBitmap(0x040C, loaded));
    EXPECT_EQ(loaded.size(), QSize(20, 13));
    EXPECT_EQ(loaded.pixel(5, 5), flag.pixel(5, 5));
    EXPECT_FALSE(langue->LoadFlagBitmap(0x0407, loaded));   // a file without a flag
    EXPECT_TRUE(loaded.isNull());
    EXPECT_FALSE(langue->LoadFlagBitmap(0x0410, loaded));   // no file: none is made
    EXPECT_FALSE(QFile::exists(languageFile(0x0410)));
    WriteBytes(languageFile(0x040C), FileBytes(languageFile(0x040C)).replace("BM", "XX"));
    EXPECT_FALSE(langue->LoadFlagBitmap(0x040C, loaded));
}

TEST_F(LangListTest, ExcludedComponentsAndTheTranslationRoot)
{
    EXPECT_EQ(langue->TranslationRoot(), &TApplicationForms::Application());

    TStringList excluded(QStringList{QStringLiteral("img"), QStringLiteral("MainDlg.num_lbl"), QStringLiteral("IMG")});
    langue->SetExcludedComps(&excluded);
    langue->SetExcludedComps(nullptr);
    EXPECT_EQ(langue->ExcludedComps().ToStringList(), (QStringList{QStringLiteral("img"), QStringLiteral("MainDlg.num_lbl")}));
    // Excluded components keep their texts.
    LanguageFileBuilder b;
    b.Entry("MainDlg.num_lbl", textCaption | translatedBit, "Nombre");
    b.Write(languageFile(0x040C));
    langue->BuildLanguageList();
    langue->SetLanguageIndex(0);
    EXPECT_EQ(num_lbl->text(), QStringLiteral("Number of pictures :"));

    TLangList standalone(MainDlg.get());
    standalone.SetCplCompatibility(true);
    standalone.Loaded();
    EXPECT_EQ(standalone.TranslationRoot(), MainDlg.get());
    EXPECT_EQ(standalone.RegKey(), QStringLiteral("Software\\ZOQ\\Localization"));
}

// Runs in a process of its own with LANG=de_CH.UTF-8 (see CMakeLists.txt);
// skipped anywhere else.
TEST_F(LangListTest, UserLocaleSwissGerman)
{
    if (qgetenv("QRL_EXPECTED_LOCALE") != "de_CH")
        GTEST_SKIP() << "runs with LANG=de_CH.UTF-8 only";
    EXPECT_EQ(QLocale::system().name(), QStringLiteral("de_CH"));
    EXPECT_EQ(UserDefaultLangId(), 0x0807);
    writeLanguage({.Code = 0x040C});
    writeLanguage({.Code = 0x0407, .Caption = "Drucken"});
    langue->ApplicationActivate();
    EXPECT_EQ(langue->LanguageCode(langue->LanguageIndex()), 0x0407u);
    EXPECT_EQ(print_btn->text(), QStringLiteral("Drucken"));
}

TEST_F(LangListTest, AChoiceThatCannotBeSavedIsAppliedAndSaysWhere)
{
    writeLanguage({.Code = 0x040C});
    langue->BuildLanguageList();
    // A file where the settings folder should be: nothing can be written.
    WriteBytes(QDir(config.path()).filePath(QStringLiteral("Varnel")), "in the way");
    try {
        langue->SetLanguageIndex(0);
        ADD_FAILURE() << "no error";
    } catch (const ESettingNotSaved& e) {
        EXPECT_EQ(e.Message, QStringLiteral("The language is changed, but the choice cannot be saved in \"%1\".")
                                 .arg(config.path() + QStringLiteral("/Varnel/Quorlo.conf")));
    }
    EXPECT_EQ(print_btn->text(), QStringLiteral("Imprimer"));
    EXPECT_EQ(afterSwitches, 1);
}
