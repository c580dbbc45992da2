#include "text_wrap.h"

#include <gtest/gtest.h>

namespace {

TEST(TextWrapTest, BreaksWhereTheLanguageAllowsWithinTheColumns)
{
    const struct {
        const char* text;
        int width;
        QStringList lines;
    } cases[] = {
        {"print the pages as one job (not with --paper)", 30,
         {"print the pages as one job", "(not with --paper)"}},
        // Never inside an option or a hyphenated word.
        {"one job (not with --paper)", 20, {"one job (not with", "--paper)"}},
        {"a head-size rule", 8, {"a", "head-size", "rule"}},
        // East Asian characters take two columns and break between each other,
        // never before the closing punctuation.
        {"写真の形式です。", 8, {"写真の形", "式です。"}},
        {"「印刷」と同じ", 10, {"「印刷」と", "同じ"}},
        {"", 10, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QStringList lines = WrapText(QString::fromUtf8(c.text), c.width);
        EXPECT_EQ(lines, c.lines);
        for (const QString& line : lines)
            EXPECT_TRUE(TerminalColumns(line) <= c.width || !line.contains(u' '));
    }
}

}  // namespace
