#include "user_guide.h"

#include "links.h"
#include "desktop_env.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

/// <root>/bin for the program, <root>/share/doc/quorlo for the installed
/// documents; a guide is written where a case asks.
struct GuideFolders {
    GuideFolders()
    {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        QDir(root.path()).mkpath(QStringLiteral("share/doc/quorlo"));
    }
    QString bin() const { return root.filePath(QStringLiteral("bin")); }
    QString beside() const { return root.filePath(QStringLiteral("bin/guide.html")); }
    QString installed() const { return root.filePath(QStringLiteral("share/doc/quorlo/guide.html")); }
    static void write(const QString& name)
    {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE html>\n");
    }
    QTemporaryDir root;
};

}  // namespace

TEST(UserGuideTest, FoundBesideTheProgramFirstThenInTheInstalledDocuments)
{
    enum Where { None, Beside, Installed };
    struct Case {
        const char* name;
        bool beside;
        bool installed;
        Where expected;
    };
    const Case cases[] = {
        {"a build folder", true, false, Beside},
        {"installed", false, true, Installed},
        {"a copy beside an installed one", true, true, Beside},
        {"none", false, false, None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuideFolders folders;
        if (c.beside)
            GuideFolders::write(folders.beside());
        if (c.installed)
            GuideFolders::write(folders.installed());
        const QString expected = c.expected == Beside      ? folders.beside()
                                 : c.expected == Installed ? folders.installed()
                                                           : QString();
        EXPECT_EQ(UserGuideFile(folders.bin()), expected);
    }
    EXPECT_EQ(UserGuideFile(QString()), QString());
}

TEST(UserGuideTest, TheGuideInTheInterfacesLanguageWhenThereIsOne)
{
    GuideFolders folders;
    GuideFolders::write(folders.beside());
    for (const char* language : {"guide-de.html", "guide-pt_BR.html"})
        GuideFolders::write(QDir(folders.bin()).filePath(QString::fromLatin1(language)));
    const struct {
        QLocale language;
        const char* expected;
    } cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), "guide-de.html"},
        {QLocale(QLocale::German, QLocale::Switzerland), "guide-de.html"},
        {QLocale(QLocale::Portuguese, QLocale::Brazil), "guide-pt_BR.html"},
        {QLocale(QLocale::Portuguese, QLocale::Portugal), "guide.html"},
        {QLocale(QLocale::French, QLocale::France), "guide.html"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo(UserGuideFile(folders.bin(), c.language)).fileName(), c.expected)
            << c.language.name().toStdString();
}

TEST(UserGuideTest, OpensTheGuideOrWithoutItTheOnlineHelp)
{
    UrlCatcher catcher;
    for (const char* scheme : {"file", "https"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    GuideFolders with;
    GuideFolders::write(with.beside());
    GuideFolders without;
    OpenUserGuide(nullptr, with.bin());
    OpenUserGuide(nullptr, without.bin());
    for (const char* scheme : {"file", "https"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    EXPECT_EQ(catcher.Opened,
              (QStringList{QUrl::fromLocalFile(with.beside()).toString(), QString::fromLatin1(Links::kHelp)}));
}

TEST(UserGuideTest, AGuideThatCannotBeOpenedIsShownAsItsPath)
{
    const NoDesktopPrograms noPrograms;
    GuideFolders folders;
    GuideFolders::write(folders.installed());

    AddressMessageCatcher message;
    OpenUserGuide(nullptr, folders.bin());

    EXPECT_TRUE(message.Shown.endsWith(QStringLiteral("\n\n") + folders.installed())) << message.Shown.toStdString();
}
