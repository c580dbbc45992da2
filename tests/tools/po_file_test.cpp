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
    e.Fuzzy = true;
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
    EXPECT_TRUE(back.Entries[0].Fuzzy);
    EXPECT_FALSE(back.Entries[0].Translated());
    EXPECT_EQ(back.Entries[0].TranslatorComments, e.TranslatorComments);
}

// gettext's reader gives its own reasons, in the user's language: of those
// only the place is checked. The reasons after it are this program's.
TEST(PoFileTest, DamagedInputIsRefusedNamingFileAndLine)
{
    const QByteArray header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    const struct {
        QByteArray Text;
        const char* Expected;
    } cases[] = {
        {header + "msgctxt \"a|text\"\nmsgid \"open\nmsgstr \"\"\n", "fr.po:6: "},
        {header + "msgid \"a\\\"\nmsgstr \"\"\n", "fr.po:5: "},
        {header + "msgid a\nmsgstr \"\"\n", "fr.po:4: "},
        {header + "msgctxt \"a|text\"\nmsgid \"x\"\n", "fr.po:5: "},
        {header + "msgstr \"alone\"\n", "fr.po:4: "},
        {header + "msgid \"a\"\nmsgstr \"b\\q\"\n", "fr.po:5: "},
        {header + "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n", "fr.po:7: "},
        {header + "msgid \"a\"\nmsgstr \"caf\xE9\"\n", "fr.po:5: "},
        {header + "msgi \"a\"\n", "fr.po:4: "},
        {header + "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"x\"\nmsgstr[1] \"y\"\n",
         "fr.po:4: plural forms are not used by language files"},
        {header + "msgid \"a\"\nmsgstr \"\\xff\"\n", "fr.po:4: the file is not UTF-8 text"},
        {header + "msgid \"a\"\nmsgstr \"b\\0c\"\n" + QByteArray(1, '\0'), "fr.po:6: the file holds a NUL byte"},
        {header + "domain \"other\"\nmsgid \"a\"\nmsgstr \"b\"\n", "fr.po:4: domains are not used by language files"},
        {header + "msgid \"a\"\nmsgstr \"b\"\n\nmsgctxt \"\"\nmsgid \"a\"\nmsgstr \"c\"\n",
         "fr.po:8: message given twice"},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n",
         "fr.po:1: the header names another charset than UTF-8"},
        // A string after a blank line continues the header.
        {header + "\"stray\"\n", "fr.po:1: header field without a name: stray"},
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

TEST(PoFileTest, ByteOrderMarkObsoleteMessagesContinuationLinesAndCrLfAreRead)
{
    const QByteArray text =
        "\xEF\xBB\xBF# comment\r\nmsgid \"\"\r\nmsgstr \"\"\r\n\"Content-Type: text/plain; charset=UTF-8\\n\"\r\n"
        "\"X-A: b\\n\"\r\n\r\n#~ msgid \"old\"\r\n#~ msgstr \"vieux\"\r\n\r\n"
        "msgctxt \"p|line 0\"\r\nmsgid \"\"\r\n\"first \"\r\n\"second\"\r\nmsgstr \"un\"\r\n";
    const TPoFile po = ParsePo(text, QStringLiteral("x.po"));
    EXPECT_EQ(po.HeaderComments, QStringList{"comment"});
    EXPECT_EQ(po.HeaderValue(QStringLiteral("x-a")), QStringLiteral("b"));
    ASSERT_EQ(po.Entries.size(), 1);
    EXPECT_EQ(po.Entries[0].Id, QStringLiteral("first second"));
    EXPECT_EQ(po.Entries[0].Line, 11);
}

}  // namespace
