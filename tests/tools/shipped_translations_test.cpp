// The translations under lang/ against the program's own texts, as the build
// regenerates them: a form that gains a text makes these tests fail until
// every translation has it.
#include "lang_catalogue.h"
#include "lang_file_contents.h"
#include "po_file.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TPoFile readPo(const QString& name)
{
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return ParsePo(file.readAll(), name);
}

QStringList translations()
{
    const QDir dir(QStringLiteral(QRL_LANG_SOURCE_DIR));
    QStringList names;
    for (const QString& name : dir.entryList({QStringLiteral("*.po")}, QDir::Files, QDir::Name))
        names.append(dir.filePath(name));
    return names;
}

/// Context and source of every message.
QSet<QString> messages(const TPoFile& po)
{
    QSet<QString> keys;
    for (const TPoEntry& e : po.Entries)
        keys.insert(e.Context + QStringLiteral(" = ") + e.Id);
    return keys;
}

/// The keys as sorted lines of text: a failed comparison prints them readably.
std::vector<std::string> lines(const QSet<QString>& keys)
{
    std::vector<std::string> out;
    for (const QString& key : keys)
        out.push_back(key.toStdString());
    std::sort(out.begin(), out.end());
    return out;
}

QString builtFile(const TPoFile& po)
{
    const int langId = po.HeaderValue(QStringLiteral("X-Quorlo-LangId")).toInt(nullptr, 16);
    return QStringLiteral(QRL_LANG_OUTPUT_DIR "/QRL_") +
           QStringLiteral("%1").arg(langId, 8, 16, QLatin1Char('0')).toUpper() + QStringLiteral(".SPK");
}

TEST(ShippedTranslationsTest, TheLanguagesAreAllThere)
{
    QSet<QString> ids;
    for (const QString& name : translations())
        ids.insert(readPo(name).HeaderValue(QStringLiteral("X-Quorlo-LangId")));
    EXPECT_EQ(lines(ids),
              lines({"0409", "040C", "0407", "0C0A", "0410", "0413", "0416", "0415", "0419", "0411"}));
}

TEST(ShippedTranslationsTest, EveryTranslationHasEveryTextOfTheForms)
{
    const TPoFile regenerated = readPo(QStringLiteral(QRL_LANG_BUILD_DIR "/quorlo.pot"));
    ASSERT_GT(regenerated.Entries.size(), 30);
    const QSet<QString> wanted = messages(regenerated);
    const QSet<QString> shipped = messages(readPo(QStringLiteral(QRL_LANG_SOURCE_DIR "/quorlo.pot")));
    const char* const regenerate = "lang/quorlo.pot is out of date: quorlo-lang pot QRL_ORIGINAL.SPK > lang/quorlo.pot";
    EXPECT_EQ(lines(wanted - shipped), std::vector<std::string>()) << "the template lacks these; " << regenerate;
    EXPECT_EQ(lines(shipped - wanted), std::vector<std::string>()) << "the forms no longer have these; " << regenerate;
    for (const QString& name : translations()) {
        const TPoFile po = readPo(name);
        const QSet<QString> have = messages(po);
        for (const QString& m : wanted - have)
            ADD_FAILURE() << name.toStdString() << " lacks " << m.toStdString();
        for (const QString& m : have - wanted)
            ADD_FAILURE() << name.toStdString() << " has a text the forms no longer have: " << m.toStdString();
        for (const TPoEntry& e : po.Entries)
            EXPECT_TRUE(e.Translated()) << name.toStdString() << ": " << e.Context.toStdString();
    }
}

TEST(ShippedTranslationsTest, DumpOfEachBuiltFileGivesItsTranslationBack)
{
    const TLangFileContents original = ReadLanguageFile(QStringLiteral(QRL_LANG_OUTPUT_DIR "/QRL_ORIGINAL.SPK"));
    for (const QString& name : translations()) {
        const TPoFile po = readPo(name);
        const TPoFile dumped = LangCatalogue::Dump(ReadLanguageFile(builtFile(po)), &original);
        for (const char* field : {"X-Quorlo-LangId", "X-Quorlo-Charset", "X-Quorlo-Language-Name",
                                  "X-Quorlo-Country-Name", "X-Quorlo-Info", "X-Quorlo-Font", "X-Quorlo-Min-Font-Size"})
            EXPECT_EQ(dumped.HeaderValue(QString::fromLatin1(field)).toStdString(),
                      po.HeaderValue(QString::fromLatin1(field)).toStdString())
                << name.toStdString() << " " << field;
        ASSERT_EQ(dumped.Entries.size(), po.Entries.size()) << name.toStdString();
        for (qsizetype i = 0; i < po.Entries.size(); ++i) {
            EXPECT_EQ(dumped.Entries[i].Context.toStdString(), po.Entries[i].Context.toStdString()) << name.toStdString();
            EXPECT_EQ(dumped.Entries[i].Id.toStdString(), po.Entries[i].Id.toStdString()) << name.toStdString();
            EXPECT_EQ(dumped.Entries[i].Str.toStdString(), po.Entries[i].Str.toStdString()) << name.toStdString();
        }
    }
}

}  // namespace
