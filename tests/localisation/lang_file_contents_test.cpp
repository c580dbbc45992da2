#include "lang_file_contents.h"

#include "lang_format.h"
#include "lang_file_builder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace LangFile;

namespace {

QByteArray le(std::int32_t v)
{
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

TEST(LangFileContentsTest, WhatCannotBeReadIsRefusedNamingFileAndReason)
{
    QTemporaryDir dir;
    const QByteArray good = LanguageFileBuilder().Entry("MainDlg.print_btn", textCaption, "Print").Write(dir.filePath("good.spk"));
    LanguageFileBuilder::Options newer;
    newer.Revision = 5;
    LanguageFileBuilder(newer).Write(dir.filePath("newer.spk"));
    WriteBytes(dir.filePath("sig.spk"), "ZOQ LANGUAGE FILX" + good.mid(17));
    WriteBytes(dir.filePath("cut.spk"), good.chopped(7));
    // A revision-4 header value over the items of revision 0.
    LanguageFileBuilder::Options oldest;
    oldest.Revision = 0;
    QByteArray bare = LanguageFileBuilder(oldest).Write(dir.filePath("bare.spk"));
    WriteBytes(dir.filePath("bare.spk"), bare.replace(29, 4, le(EncodeHeader(4, 0x040C))));

    const struct {
        const char* Name;
        const char* Reason;
        bool Format;
    } cases[] = {
        {"missing.spk", "no such file", false},
        {"sig.spk", "not a language file (no \"ZOQ LANGUAGE FILE\" signature)", false},
        {"cut.spk", "the language file is damaged", false},
        {"bare.spk", "the language file is damaged", false},
        {"newer.spk", "format revision 5 is not supported (0 to 4 are)", true},
    };
    for (const auto& c : cases) {
        const QString name = dir.filePath(c.Name);
        const QString expected = name + QStringLiteral(": ") + QString::fromUtf8(c.Reason);
        try {
            ReadLanguageFile(name);
            ADD_FAILURE() << "read " << c.Name;
        } catch (const ELanguageFormat& e) {
            EXPECT_TRUE(c.Format) << c.Name;
            EXPECT_EQ(e.Message, expected);
        } catch (const ELanguageFileDamaged& e) {
            EXPECT_FALSE(c.Format) << c.Name;
            EXPECT_EQ(e.Message, expected);
        }
    }
}

TEST(LangFileContentsTest, AFileWrittenFromWhatWasReadHasTheSameBytes)
{
    QTemporaryDir dir;
    LanguageFileBuilder::Options o;
    o.LangId = 0x0415;
    o.Charset = 238;
    o.HeaderText1 = "Polski \xB9\xE6";
    o.HeaderLines = "line one\r\nline two\r\n";
    o.Flag = QByteArray("BM") + QByteArray(60, '\x01');
    constexpr std::int32_t T = translatedBit;
    const QByteArray original = LanguageFileBuilder(o)
        .Entry("MainDlg.print_btn", textCaption | T, "Drukuj", textHint | hintShownBit, "Print the sheet")
        .Entry("MainDlg.format_cmb", 0, {}, 0, {}, textLines | T, "a\r\nb\r\n", 2)
        .Entry("MainDlg.blank_lbl", 0, {})
        .Write(dir.filePath("QRL_00000415.SPK"));

    const TLangFileContents read = ReadLanguageFile(dir.filePath("QRL_00000415.SPK"));
    EXPECT_EQ(read.HeaderText1, QString::fromUtf8("Polski ąć"));
    ASSERT_EQ(WriteLanguageFile(read, dir.filePath("again.spk")), std::nullopt);
    EXPECT_EQ(FileBytes(dir.filePath("again.spk")), original);
}

}  // namespace
