#include "interface_numbers.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Language x text -> the number, or a refusal: only a whole number in the
// language's own style is taken.
TEST(InterfaceNumbers, ATextIsTakenWholeInItsLanguagesStyleOrRefused)
{
    const QLocale english(QStringLiteral("en_US"));
    const QLocale german(QStringLiteral("de_DE"));
    const QLocale french(QStringLiteral("fr_FR"));
    const QLocale japanese(QStringLiteral("ja_JP"));
    const struct {
        const QLocale& locale;
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {english, "99.5", 99.5},
        {english, " 101 ", 101},
        {english, "99.", 99},
        {english, ".5", 0.5},
        {english, "-2.25", -2.25},
        {english, "99,5", std::nullopt},
        {english, "12abc", std::nullopt},
        {english, "1,000.5", std::nullopt},
        {english, "1e2", std::nullopt},
        {english, "9.9.5", std::nullopt},
        {english, "", std::nullopt},
        {english, "-", std::nullopt},
        {german, "99,5", 99.5},
        {german, "100", 100},
        {german, "99.5", std::nullopt},
        {german, "1.000,5", std::nullopt},
        {german, "12abc", std::nullopt},
        {french, "99,5", 99.5},
        {french, "99.5", std::nullopt},
        {japanese, "99.5", 99.5},
        {japanese, "99,5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " \"" + c.text + "\"");
        EXPECT_EQ(ParseNumber(QString::fromUtf8(c.text), c.locale), c.number);
    }
}

// What is shown reads back as the same number in the same language.
TEST(InterfaceNumbers, ShownInTheLanguagesStyleWithoutGroups)
{
    const QLocale english(QStringLiteral("en_US"));
    const QLocale german(QStringLiteral("de_DE"));
    EXPECT_EQ(FormatNumber(100, 1, english), "100.0");
    EXPECT_EQ(FormatNumber(100, 1, german), "100,0");
    EXPECT_EQ(FormatNumber(1234.5, 1, german), "1234,5");
    EXPECT_EQ(FormatNumber(34.5, -1, german), "34,5");
    EXPECT_EQ(FormatNumber(30, -1, german), "30");
    for (const QLocale& locale : {english, german})
        EXPECT_EQ(ParseNumber(FormatNumber(99.5, 1, locale), locale), 99.5);
}

}  // namespace
