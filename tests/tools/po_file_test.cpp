#include "po_file.h"

#include <gtest/gtest.h>

namespace {

TEST(PoFileTest, WrittenFileReadsBackTheSame)
{
    TPoFile po;
    po.HeaderComments = {QStringLiteral("Quorlo")};
    po.Header = {{QStringLiteral("Content-Type"), QStringLiteral("text/plain; charset=UTF-8")},
                 {QStringLiteral("X-Quorlo-Line"), QStringLiteral("one")},
                 {QStringLiteral("X-Quorlo-Line"), QStringLiteral("two")}};
    TPoEntry e;
    e.Context = QStringLiteral("MainDlg.print_btn|text");
    e.Id = QStringLiteral("Say \"cheese\"\\\nsecond line\n");
    e.Str = QStringLiteral("Dites « ouistiti »\tnow");
    e.Flags = {QStringLiteral("fuzzy")};
    e.TranslatorComments = {QStringLiteral("checked")};
    po.Entries = {e};

    const TPoFile back = ParsePo(WritePo(po), QStringLiteral("x.po"));
    EXPECT_EQ(back.HeaderComments, po.HeaderComments);
    EXPECT_EQ(back.Header, po.Header);
    EXPECT_EQ(back.HeaderValues(QStringLiteral("X-Quorlo-Line")), QStringList({"one", "two"}));
    ASSERT_EQ(back.Entries.size(), 1);
    EXPECT_EQ(back.Entries[0].Context, e.Context);
    EXPECT_EQ(back.Entries[0].Id, e.Id);
    EXPECT_EQ(back.Entries[0].Str, e.Str);
    EXPECT_TRUE(back.Entries[0].Fuzzy());
    EXPECT_FALSE(back.Entries[0].Translated());
    EXPECT_EQ(back.Entries[0].TranslatorComments, e.TranslatorComments);
}

TEST(PoFileTest, DamagedInputIsRefusedNamingFileAndLine)
{
    const QByteArray header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    const struct {
        QByteArray Text;
        const char* Expected;
    } cases[] = {
        {header + "msgctxt \"a|text\"\nmsgid \"open\nmsgstr \"\"\n", "fr.po:5: the string is not closed"},
        {header + "msgid \"a\\\"\nmsgstr \"\"\n", "fr.po:4: the string is not closed"},
        {header + "msgid a\nmsgstr \"\"\n", "fr.po:4: a string in double quotes was expected"},
        {header + "msgctxt \"a|text\"\nmsgid \"x\"\n", "fr.po:6: the message has no msgstr"},
        {header + "msgstr \"alone\"\n", "fr.po:4: msgstr without msgid"},
        {header + "msgid \"a\"\nmsgstr \"b\\q\"\n", "fr.po:5: unknown escape \\q"},
        {header + "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n", "fr.po:7: message given twice"},
        {header + "msgid \"a\"\nmsgid_plural \"as\"\n", "fr.po:5: plural forms"},
        {header + "msgid \"a\"\nmsgstr \"\\xff\"\n", "fr.po:5: unknown escape"},
        {header + "msgid \"a\"\nmsgstr \"caf\xE9\"\n", "fr.po:5: the file is not UTF-8 text"},
        {header + "msgi \"a\"\n", "fr.po:4: unknown keyword: msgi"},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", "fr.po:1: the header names another charset"},
        {header + "\"stray\"\n", "fr.po:4: a string continues no keyword"},
        // A blank name before the colon is no name: written back, it would not read.
        {"msgid \"\"\nmsgstr \"Language: fr\\n :efr\\n\"\n", "fr.po:1: header field without a name"},
    };
    for (const auto& c : cases) {
        try {
            ParsePo(c.Text, QStringLiteral("fr.po"));
            ADD_FAILURE() << "accepted: " << c.Text.constData();
        } catch (const EPoSyntax& e) {
            EXPECT_TRUE(e.Message.startsWith(QString::fromUtf8(c.Expected)))
                << e.Message.toStdString() << " / expected " << c.Expected;
        }
    }
}

TEST(PoFileTest, ContinuationLinesObsoleteMessagesAndCrLfAreRead)
{
    const QByteArray text =
        "# comment\r\nmsgid \"\"\r\nmsgstr \"\"\r\n\"Content-Type: text/plain; charset=UTF-8\\n\"\r\n\"X-A: b\\n\"\r\n\r\n"
        "msgctxt \"p|line 0\"\r\nmsgid \"\"\r\n\"first \"\r\n\"second\"\r\nmsgstr \"un\"\r\n\r\n"
        "#~ msgid \"old\"\r\n#~ msgstr \"vieux\"\r\n";
    const TPoFile po = ParsePo(text, QStringLiteral("x.po"));
    EXPECT_EQ(po.HeaderValue(QStringLiteral("x-a")), QStringLiteral("b"));
    ASSERT_EQ(po.Entries.size(), 1);
    EXPECT_EQ(po.Entries[0].Id, QStringLiteral("first second"));
    EXPECT_EQ(po.Entries[0].Line, 8);
}

}  // namespace
