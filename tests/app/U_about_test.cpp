#include "U_about.h"

#include "C_LangList.h"
#include "messages.h"
#include "message_storage.h"
#include "C_TextStorage.h"
#include "lang_components.h"
#include "lang_format.h"
#include "lang_file_builder.h"
#include "links.h"
#include "desktop_env.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

using namespace LangFile;

namespace {

template <class T>
T* child(const QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString text(const QObject& parent, const char* name)
{
    QLabel* label = child<QLabel>(parent, name);
    return label ? label->text() : QString();
}

struct AboutTest : ::testing::Test {
    void SetUp() override
    {
        previousName = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("Quorlo"));
    }
    void TearDown() override { QCoreApplication::setApplicationName(previousName); }
    QString previousName;
};

const QString kVersion = QStringLiteral(QRL_PROJECT_VERSION);

}  // namespace

TEST_F(AboutTest, BannerIconAndTextStorage)
{
    TAboutDlg AboutDlg;
    EXPECT_EQ(AboutDlg.size(), QSize(389, 285));
    EXPECT_FALSE(AboutDlg.windowIcon().isNull());
    EXPECT_EQ(child<QLabel>(AboutDlg, "Image1")->pixmap().size(), QSize(388, 96));
    // Paths in language files go by these names: AboutDlg.TS_about, AboutDlg.forum_btn.
    EXPECT_EQ(AboutDlg.objectName(), QStringLiteral("AboutDlg"));
    EXPECT_EQ(AboutDlg.TS_about()->objectName(), QStringLiteral("TS_about"));
    EXPECT_EQ(AboutDlg.TS_about()->Items().ToStringList(),
              (QStringList{"About", "Application Name :", "Version :", "unused", "Identity photo sheets"}));
    EXPECT_EQ(child<QPushButton>(AboutDlg, "forum_btn")->text(), QStringLiteral("Forums"));
    EXPECT_TRUE(TApplicationForms::Application().Forms().contains(&AboutDlg));
}

TEST_F(AboutTest, TextsAreComposedAtEveryShowingInTheCurrentLanguage)
{
    QTemporaryDir program;
    QTemporaryDir config;
    const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    QWidget MainDlg;
    MainDlg.setObjectName(QStringLiteral("MainDlg"));
    auto* langue = new TLangList(&MainDlg);
    langue->setObjectName(QStringLiteral("langue"));
    langue->SetFilePrefix(QStringLiteral("QRL_"));
    langue->SetRegKey(QStringLiteral("Software\\Varnel\\Quorlo"));
    langue->SetProgramDir(program.path());
    langue->Loaded();
    RegisterForm(&MainDlg);
    TAboutDlg AboutDlg;

    AboutDlg.UpdateTexts();
    EXPECT_EQ(AboutDlg.windowTitle(), QStringLiteral("About Quorlo"));
    EXPECT_EQ(text(AboutDlg, "appname_lbl"), QStringLiteral("Application Name : Quorlo"));
    EXPECT_EQ(text(AboutDlg, "version_lbl"), QStringLiteral("Version : ") + kVersion);

    LanguageFileBuilder french;
    french.Entry("AboutDlg.TS_about", 0, {}, 0, {}, textLines | translatedBit,
                 "\xC0 propos de\r\nNom de l'application :\r\nVersion :\r\nunused\r\n");
    french.Entry("AboutDlg.ok_btn", textCaption | translatedBit, "D'accord");
    french.Write(program.filePath(QStringLiteral("QRL_0000040C.SPK")));
    langue->BuildLanguageList();
    langue->SetLanguageIndex(0);
    ASSERT_EQ(child<QPushButton>(AboutDlg, "ok_btn")->text(), QStringLiteral("D'accord"));

    // Execute composes them anew; OK closes with true.
    QTimer::singleShot(0, &AboutDlg, [&] { child<QPushButton>(AboutDlg, "ok_btn")->click(); });
    EXPECT_TRUE(AboutDlg.Execute());
    EXPECT_EQ(AboutDlg.windowTitle(), QStringLiteral("\u00c0 propos de Quorlo"));
    EXPECT_EQ(text(AboutDlg, "appname_lbl"), QStringLiteral("Nom de l'application : Quorlo"));
    EXPECT_EQ(text(AboutDlg, "version_lbl"), QStringLiteral("Version : ") + kVersion);

    if (previousConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfig);
}

TEST_F(AboutTest, LinkButtonsOpenTheMakersAddresses)
{
    UrlCatcher catcher;
    for (const char* scheme : {"mailto", "https", "http"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    TAboutDlg AboutDlg;
    for (const char* name : {"email_btn", "web_btn", "forum_btn"})
        child<QPushButton>(AboutDlg, name)->click();
    OpenAddress(Links::kHelp);
    for (const char* scheme : {"mailto", "https", "http"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    EXPECT_EQ(catcher.Opened, (QStringList{Links::kEmail, Links::kWebSite, Links::kForum, Links::kHelp}));
    EXPECT_TRUE(QString::fromLatin1(Links::kEmail).startsWith(QStringLiteral("mailto:")));
}

TEST_F(AboutTest, LinksThatCannotOpenShowTheAddressForCopying)
{
    const NoDesktopPrograms noPrograms;

    // The message comes from the text storage, as a language file left it.
    QWidget messages;
    TApplicationForms::Application().AddForm(&messages);
    TTextStorage* storage = CreateMessageStorage(&messages);
    TStringList lines = storage->Items();
    const QString french = QString::fromUtf8("Aucun programme de cet ordinateur ne peut ouvrir cette adresse.");
    lines.SetString(static_cast<int>(MessageOriginals().indexOf(QString::fromUtf8(Msg::kNoAddressHandler))), french);
    storage->SetItems(lines);

    TAboutDlg AboutDlg;
    const std::pair<const char*, QString> links[] = {
        {"email_btn", QString::fromLatin1(Links::kEmail).mid(7)},   // without "mailto:"
        {"web_btn", Links::kWebSite},
        {"forum_btn", Links::kForum},
    };
    for (const auto& [button, address] : links) {
        SCOPED_TRACE(button);
        AddressMessageCatcher message;
        child<QPushButton>(AboutDlg, button)->click();
        EXPECT_EQ(message.Shown, french + QStringLiteral("\n\n") + address);
        EXPECT_TRUE(message.Selectable);
    }
}
