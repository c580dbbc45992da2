#include "lang_format.h"

#include "Lang_Storageobj.h"
#include "lang_file_builder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace LangFile;

TEST(LangFormat, HeaderValue)
{
    EXPECT_EQ(EncodeHeader(4, 0), 0x00040000);
    const THeader h = DecodeHeader(0x0003040C);
    EXPECT_EQ(h.Revision, 3);
    EXPECT_EQ(h.LangId, 0x040C);

    // A revision-0 header holds 2 bytes: read into a value that starts as 0,
    // they are the LANGID and the revision is 0.
    QTemporaryDir dir;
    LanguageFileBuilder::Options o;
    o.Revision = 0;
    o.TwoByteHeader = true;
    LanguageFileBuilder(o).Write(dir.filePath("r0.spk"));
    TStorefile s;
    s.SetSignature(kSignatureBytes);
    s.SetFilename(dir.filePath("r0.spk"));
    s.SetReadOnly(true);
    s.Open();
    EXPECT_EQ(s.DataSize(), 2);
    std::int32_t value = 0;
    s.ReadInteger(value, false);
    EXPECT_EQ(DecodeHeader(value).LangId, 0x040C);
    EXPECT_EQ(DecodeHeader(value).Revision, 0);
    EXPECT_EQ(PeekCharset(s, 0), 1);
}

TEST(LangFormat, PackedVersionAndNames)
{
    EXPECT_EQ(VersionText(0x01020C05), "1.2.3.5");
    EXPECT_EQ(PackVersion(1, 2, 3, 5), 0x01020C05u);
    EXPECT_EQ(VersionText(0xFFFFFFFF), "255.255.63.1023");
    EXPECT_EQ(LanguageFileName("QRL_", 0x040C), "QRL_0000040C.SPK");
    EXPECT_EQ(LanguageFileName("QRL_", 0x0001080C), "QRL_0001080C.SPK");
    EXPECT_EQ(LanguageFileName("", 0xABCDEF01), "ABCDEF01.SPK");
    EXPECT_EQ(OriginalFileName("QRL_"), "QRL_ORIGINAL.SPK");
}

TEST(LangFormat, CharsetItemByRevision)
{
    QTemporaryDir dir;
    for (const int revision : {1, 2, 3, 4}) {
        LanguageFileBuilder::Options o;
        o.Revision = revision;
        o.Charset = 204;
        const QString name = dir.filePath(QString::number(revision));
        LanguageFileBuilder(o).Write(name);
        TStorefile s;
        s.SetSignature(kSignatureBytes);
        s.SetFilename(name);
        s.SetReadOnly(true);
        s.Open();
        s.Next();
        EXPECT_EQ(PeekCharset(s, revision), 204) << revision;
        EXPECT_EQ(s.RecordIndex(), 1);   // the storage did not move
        EXPECT_EQ(s.RecordCount(), kHeaderItems + SettingsItems(revision));
    }
}
