#include "Lang_Languages.h"

#include <QLocale>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

TEST(LanguageTable, HoldsTheProbedIdentifiersInListOrder)
{
    const auto table = LanguageTable();
    ASSERT_EQ(table.size(), 146u);
    EXPECT_EQ(table[0].LangId, 0x0000);   // neutral: never probed
    const auto scanned = ScannedLanguages();
    ASSERT_EQ(scanned.size(), 145u);
    EXPECT_EQ(scanned.front().LangId, 0x0400);
    EXPECT_EQ(scanned[1].LangId, 0x0436);
    EXPECT_EQ(scanned[39].LangId, 0x0409);
    EXPECT_EQ(scanned[56].LangId, 0x040C);
    EXPECT_EQ(scanned[65].LangId, 0x0807);
    EXPECT_EQ(scanned.back().LangId, 0x042A);
    std::set<std::uint16_t> seen;
    for (const TLanguageEntry& entry : table) {
        EXPECT_TRUE(seen.insert(entry.LangId).second) << entry.Name;
        EXPECT_FALSE(QString::fromLatin1(entry.Name).isEmpty());
    }
    EXPECT_EQ(LanguageName(0x0807), QStringLiteral("German (Switzerland)"));
    EXPECT_EQ(LanguageName(0x1234), QString());
}

TEST(LangIdOfLocale, TerritoryThenLanguageThenScript)
{
    const auto of = [](const char* name) { return LangIdOfLocale(QLocale(QString::fromLatin1(name))); };
    EXPECT_EQ(of("de_CH"), 0x0807);
    EXPECT_EQ(of("de_DE"), 0x0407);
    EXPECT_EQ(of("fr_FR"), 0x040C);
    EXPECT_EQ(of("fr_CA"), 0x0C0C);
    EXPECT_EQ(of("es_ES"), 0x0C0A);
    EXPECT_EQ(of("es_MX"), 0x080A);
    EXPECT_EQ(of("zh_TW"), 0x0404);
    EXPECT_EQ(of("pt_BR"), 0x0416);
    EXPECT_EQ(of("nb_NO"), 0x0414);
    EXPECT_EQ(of("sr_Cyrl_RS"), 0x0C1A);
    EXPECT_EQ(of("sr_Latn_RS"), 0x081A);
    // A territory the table lacks keeps the language, and the script where
    // the language has forms of both.
    EXPECT_EQ(of("en_IN"), 0x0409);
    EXPECT_EQ(of("fr_SN"), 0x040C);
    EXPECT_EQ(of("sr_Latn_BA"), 0x081A);
    EXPECT_EQ(of("C"), 0x0409);
    EXPECT_EQ(of("cy_GB"), 0);   // Welsh is not in the table
    // Every locale the table names maps back to its own identifier, except
    // the second of two entries for one locale (none here) or a bare language.
    for (const TLanguageEntry& entry : ScannedLanguages()) {
        const QString tag = QString::fromLatin1(entry.Locale);
        if (!tag.contains(u'-'))
            continue;
        EXPECT_EQ(LangIdOfLocale(QLocale(tag)), entry.LangId) << entry.Name;
    }
}

TEST(KeyboardLayoutName, EightUpperCaseHexDigits)
{
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}$")).match(KeyboardLayoutName()).hasMatch())
        << KeyboardLayoutName().toStdString();
}

TEST(LangIdOfPosixLocale, TheModifierPicksTheScript)
{
    const struct {
        const char* Name;
        std::uint16_t LangId;
    } cases[] = {
        {"sr_RS@latin", 0x081A},     {"sr_RS.UTF-8@latin", 0x081A}, {"sr_RS", 0x0C1A},
        {"sr_RS@cyrillic", 0x0C1A},  {"uz_UZ@cyrillic", 0x0843},    {"uz_UZ.UTF-8", 0x0443},
        {"de_CH.UTF-8", 0x0807},     {"fr_FR@euro", 0x040C},        {"C", 0x0409},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LangIdOfPosixLocale(c.Name), c.LangId) << c.Name;
}

TEST(UserDefaultLangId, LangWithAModifier)
{
    const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "sr_RS.UTF-8@latin");
    EXPECT_EQ(UserDefaultLangId(), 0x081A);
    qputenv("LC_MESSAGES", "sr_RS@cyrillic");
    EXPECT_EQ(UserDefaultLangId(), 0x0C1A);
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (int i = 0; i < 3; ++i)
        saved[i].isEmpty() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}
