#include "flag_art.h"
#include "lang_catalogue.h"
#include "lang_file_builder.h"
#include "lang_file_contents.h"
#include "lang_tool.h"

#include "flag_bitmap.h"
#include "lang_format.h"
#include "Lang_Storageobj.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace LangFile;

namespace {

constexpr std::uint32_t kVersion = PackVersion(1, 2, 0, 7);

class LangToolTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return FDir.filePath(QString::fromLatin1(name)); }

    int run(const QStringList& arguments)
    {
        Out.clear();
        Err.clear();
        return RunLangTool(arguments, kVersion, Out, Err);
    }

    void writePo(const char* name, const QByteArray& body, const char* langId = "0419", int charset = 204)
    {
        WriteBytes(path(name), "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                               "\"X-Quorlo-LangId: " + QByteArray(langId) + "\\n\"\n"
                               "\"X-Quorlo-Charset: " + QByteArray::number(charset) + "\\n\"\n"
                               "\"X-Quorlo-Language-Name: Язык\\n\"\n\"X-Quorlo-Country-Name: Страна\\n\"\n"
                               "\"X-Quorlo-Flag: hstripes #FFFFFF #0039A6 #D52B1E\\n\"\n"
                               "\"X-Quorlo-Font: MS Sans Serif\\n\"\n\n" + body);
    }

    /// An original-language file with a caption, a shown hint and a list.
    void writeOriginal()
    {
        LanguageFileBuilder::Options o;
        o.LangId = 0;
        o.HeaderText1 = o.HeaderText2 = o.HeaderText3 = "";
        LanguageFileBuilder(o)
            .Entry("MainDlg.print_btn", textCaption, "Print Now", textHint | hintShownBit, "Print the sheet")
            .Entry("MainDlg.format_cmb", 0, "", 0, "", textLines, "35 x 45 mm\r\n2 x 2 in.\r\n")
            .Write(path("QRL_ORIGINAL.SPK"));
    }

    QTemporaryDir FDir;
    QByteArray Out;
    QByteArray Err;
};

TEST_F(LangToolTest, BuildWritesRevision4InTheCodePageWithTranslatedBitsVersionAndFlag)
{
    writePo("ru.po",
            "msgctxt \"MainDlg.print_btn|text\"\nmsgid \"Print Now\"\nmsgstr \"Печать\"\n\n"
            "msgctxt \"MainDlg.print_btn|shown-hint\"\nmsgid \"Print the sheet\"\nmsgstr \"\"\n\n"
            "msgctxt \"MainDlg.format_cmb|line 1\"\nmsgid \"2 x 2 in.\"\nmsgstr \"2 x 2 дюйма\"\n");
    ASSERT_EQ(run({"build", path("ru.po"), "-o", path("QRL_00000419.SPK")}), 0) << Err.constData();

    const TLangFileContents c = ReadLanguageFile(path("QRL_00000419.SPK"));
    EXPECT_EQ(c.Revision, 4);
    EXPECT_EQ(c.LangId, 0x0419);
    EXPECT_EQ(c.Charset, 204);
    EXPECT_EQ(c.ProgramVersion, kVersion);
    EXPECT_EQ(c.HeaderText1, QStringLiteral("Язык"));
    EXPECT_EQ(c.InputMethodName, QStringLiteral("00000419"));
    const QImage flag = BitmapFromBmpBytes(c.Flag);
    ASSERT_EQ(flag.size(), QSize(24, 16));
    EXPECT_EQ(QColor(flag.pixel(0, 15)).name(), QStringLiteral("#d52b1e"));
    ASSERT_EQ(c.Entries.size(), 2);
    const TLangEntry& button = c.Entries[0];
    EXPECT_EQ(button.PathTag, tagPathBase + 2);
    EXPECT_EQ(button.Caption.Tag, textCaption | translatedBit);
    EXPECT_EQ(button.Hint.Tag, textHint | hintShownBit);   // untranslated: carried, not applied
    EXPECT_EQ(button.Hint.Text, QStringLiteral("Print the sheet"));
    EXPECT_EQ(c.Entries[1].Lines.Tag, textLines | translatedBit);
    EXPECT_EQ(c.Entries[1].Lines.Text, QStringLiteral("\r\n2 x 2 дюйма\r\n"));
    // The bytes are code page 1251: П is 0xCF.
    EXPECT_TRUE(FileBytes(path("QRL_00000419.SPK")).contains("\xCF\xE5\xF7\xE0\xF2\xFC"));
}

TEST_F(LangToolTest, TextsOutsideTheCodePageAreErrorsNamingTheEntry)
{
    writePo("pl.po",
            "msgctxt \"MainDlg.print_btn|text\"\nmsgid \"Print Now\"\nmsgstr \"Drukuj 印刷\"\n\n"
            "msgctxt \"MainDlg.open_btn|text\"\nmsgid \"Open\"\nmsgstr \"Otwórz\"\n",
            "0415", 238);
    EXPECT_EQ(run({"build", path("pl.po"), "-o", path("QRL_00000415.SPK")}), 2);
    EXPECT_TRUE(Err.contains("MainDlg.print_btn|text: \"Drukuj 印刷\" does not fit code page 1250 (印刷)")) << Err.constData();
    EXPECT_FALSE(Err.contains("open_btn"));
    EXPECT_FALSE(QFile::exists(path("QRL_00000415.SPK")));
}

TEST_F(LangToolTest, BuildRefusesHeadersAndContextsItCannotUse)
{
    const struct {
        QByteArray Body;
        const char* LangId;
        const char* Expected;
    } cases[] = {
        {"", "", "needs X-Quorlo-LangId"},
        {"", "zz", "X-Quorlo-LangId: \"zz\" is not a number"},
        {"msgctxt \"nobar\"\nmsgid \"a\"\nmsgstr \"b\"\n", "0419", "ru.po:12: the context \"nobar\" names no component"},
        {"msgctxt \"A.b|caption\"\nmsgid \"a\"\nmsgstr \"b\"\n", "0419", "ru.po:12: unknown item \"caption\""},
        {"msgctxt \"A.b|line x\"\nmsgid \"a\"\nmsgstr \"b\"\n", "0419", "ru.po:12: \"line x\" is no line number"},
    };
    for (const auto& c : cases) {
        writePo("ru.po", c.Body, c.LangId);
        EXPECT_EQ(run({"build", path("ru.po"), "-o", path("QRL_00000419.SPK")}), 2);
        EXPECT_TRUE(Err.contains(c.Expected)) << Err.constData();
    }
}

TEST_F(LangToolTest, DumpOfABuiltFileGivesThePoBack)
{
    writeOriginal();
    writePo("ru.po",
            "msgctxt \"MainDlg.print_btn|text\"\nmsgid \"Print Now\"\nmsgstr \"Печать\"\n\n"
            "msgctxt \"MainDlg.print_btn|shown-hint\"\nmsgid \"Print the sheet\"\nmsgstr \"Напечатать лист\"\n\n"
            "msgctxt \"MainDlg.format_cmb|line 0\"\nmsgid \"35 x 45 mm\"\nmsgstr \"35 x 45 мм\"\n\n"
            "msgctxt \"MainDlg.format_cmb|line 1\"\nmsgid \"2 x 2 in.\"\nmsgstr \"2 x 2 дюйма\"\n");
    ASSERT_EQ(run({"build", path("ru.po"), "-o", path("QRL_00000419.SPK")}), 0) << Err.constData();
    ASSERT_EQ(run({"dump", path("QRL_00000419.SPK")}), 0) << Err.constData();

    const TPoFile source = ParsePo(FileBytes(path("ru.po")), QStringLiteral("ru.po"));
    const TPoFile dumped = ParsePo(Out, QStringLiteral("dump"));
    for (const char* field : {"X-Quorlo-LangId", "X-Quorlo-Charset", "X-Quorlo-Language-Name",
                              "X-Quorlo-Country-Name", "X-Quorlo-Flag", "X-Quorlo-Font"})
        EXPECT_EQ(dumped.HeaderValue(QString::fromLatin1(field)), source.HeaderValue(QString::fromLatin1(field))) << field;
    EXPECT_EQ(dumped.HeaderValue(QStringLiteral("Language")), QStringLiteral("ru_RU"));
    ASSERT_EQ(dumped.Entries.size(), source.Entries.size());
    for (qsizetype i = 0; i < source.Entries.size(); ++i) {
        EXPECT_EQ(dumped.Entries[i].Context, source.Entries[i].Context);
        EXPECT_EQ(dumped.Entries[i].Id, source.Entries[i].Id);
        EXPECT_EQ(dumped.Entries[i].Str, source.Entries[i].Str);
    }
}

TEST_F(LangToolTest, DumpReadsEveryRevision)
{
    for (int revision = 0; revision <= 4; ++revision) {
        LanguageFileBuilder::Options o;
        o.Revision = revision;
        o.Charset = 0;
        LanguageFileBuilder b(o);
        if (revision == 0)
            b.String(6, "Form1.Button1").String(0, "Imprimer").String(0, "").String(12, "Form1.TS").String(0, "un\r\ndeux\r\n");
        else
            b.Entry("Form1.Button1", textCaption | translatedBit, "Imprimer", 0, "", textLines, "a\r\n");
        b.Write(path("QRL_0000040C.SPK"));
        ASSERT_EQ(run({"dump", path("QRL_0000040C.SPK")}), 0) << revision << Err.constData();
        const TPoFile po = ParsePo(Out, QStringLiteral("dump"));
        EXPECT_EQ(po.HeaderValue(QStringLiteral("X-Quorlo-Language-Name")), QStringLiteral("Français")) << revision;
        ASSERT_GE(po.Entries.size(), 2) << revision;
        EXPECT_EQ(po.Entries[0].Context, QStringLiteral("Form1.Button1|text"));
        EXPECT_EQ(po.Entries[0].Str, QStringLiteral("Imprimer")) << revision;
        // Without the original the source text is not known.
        EXPECT_TRUE(po.Entries[0].Fuzzy);
        EXPECT_EQ(po.Entries[1].Context, revision == 0 ? QStringLiteral("Form1.TS|line 0") : QStringLiteral("Form1.Button1|line 0"));
        EXPECT_FALSE(po.Entries[1].Fuzzy && revision > 0) << "untranslated lines are their own source";
    }
    LanguageFileBuilder::Options o;
    o.Revision = 5;
    LanguageFileBuilder(o).Write(path("QRL_0000040C.SPK"));
    EXPECT_EQ(run({"dump", path("QRL_0000040C.SPK")}), 2);
    EXPECT_TRUE(Err.contains("format revision 5 is not supported")) << Err.constData();
}

TEST_F(LangToolTest, CheckNamesMissingAndStaleTexts)
{
    writeOriginal();
    LanguageFileBuilder::Options o;
    o.Charset = 0;
    LanguageFileBuilder(o)
        .Entry("MainDlg.print_btn", textCaption | translatedBit, "Imprimer", textHint | hintShownBit, "Print the sheet")
        .Entry("MainDlg.gone_btn", textCaption | translatedBit, "Parti")
        .Entry("MainDlg.format_cmb", 0, "", 0, "", textLines, "35 x 45 mm\r\n2 x 2 inches\r\n")
        .Write(path("QRL_0000040C.SPK"));
    EXPECT_EQ(run({"check", path("QRL_0000040C.SPK")}), 1);
    const QString report = QString::fromUtf8(Out);
    EXPECT_TRUE(report.contains("missing: MainDlg.print_btn|shown-hint \"Print the sheet\"")) << report.toStdString();
    EXPECT_TRUE(report.contains("stale: MainDlg.gone_btn|text \"Parti\": the program has no such text"));
    EXPECT_TRUE(report.contains("stale: MainDlg.format_cmb|line 1 \"2 x 2 inches\" is now \"2 x 2 in.\""));
    EXPECT_FALSE(report.contains("missing: MainDlg.print_btn|text"));
    EXPECT_TRUE(report.contains("5 problem(s)"));
}

TEST_F(LangToolTest, PotListsEveryTextOfTheOriginal)
{
    writeOriginal();
    ASSERT_EQ(run({"pot", path("QRL_ORIGINAL.SPK")}), 0) << Err.constData();
    const TPoFile po = ParsePo(Out, QStringLiteral("pot"));
    EXPECT_EQ(po.HeaderValue(QStringLiteral("X-Quorlo-Font")), QStringLiteral("MS Sans Serif"));
    QStringList contexts;
    for (const TPoEntry& e : po.Entries) {
        contexts.append(e.Context);
        EXPECT_TRUE(e.Str.isEmpty());
    }
    EXPECT_EQ(contexts, QStringList({"MainDlg.print_btn|text", "MainDlg.print_btn|shown-hint",
                                     "MainDlg.format_cmb|line 0", "MainDlg.format_cmb|line 1"}));
}

TEST_F(LangToolTest, VersionNamesTheVersionThenTheLicence)
{
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(Out, "quorlo-lang 1.2.0.7\nLicense GPL-3.0-or-later: GNU GPL version 3 or later "
                   "<https://gnu.org/licenses/gpl.html>\n");
    EXPECT_TRUE(Err.isEmpty());
}

TEST(FlagArtTest, ShapesDrawAndStripesAreDescribedBack)
{
    const QImage japan = DrawFlag(QStringLiteral("field #FFFFFF; disc 12 8 4.8 #BC002D"));
    ASSERT_EQ(japan.size(), QSize(24, 16));
    EXPECT_EQ(japan.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(japan.pixel(12, 8), qRgb(0xBC, 0x00, 0x2D));
    EXPECT_EQ(japan.pixel(12, 2), qRgb(255, 255, 255));

    for (const char* stripes : {"vstripes #0055A4 #FFFFFF #EF4135", "hstripes #000000 #DD0000 #FFCE00", "field #123456"})
        EXPECT_EQ(DescribeFlag(DrawFlag(QString::fromLatin1(stripes))), QString::fromLatin1(stripes));
    // What has no short description is kept whole.
    const QString described = DescribeFlag(japan);
    EXPECT_TRUE(described.startsWith(QStringLiteral("bmp ")));
    EXPECT_EQ(DrawFlag(described), japan);

    for (const char* bad : {"circle 1 2 3 #FFFFFF", "field red", "rect 0 0 4 #FFFFFF", "disc 1 2 1e9 #FFFFFF", "hstripes"})
        EXPECT_THROW(DrawFlag(QString::fromLatin1(bad)), ELangTool) << bad;
}

}  // namespace
