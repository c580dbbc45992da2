#include "Lang_Storageobj.h"

#include "lang_file_builder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct StoreTest : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    /// A fresh storage file with `count` string records, record i tagged i
    /// and holding i bytes of 'a' + i % 26.
    void makeFile(const QString& name, int count, const QByteArray& signature = "SIG")
    {
        TStorefile s;
        s.SetSignature(signature);
        s.SetFilename(path(name));
        s.Open();
        for (int i = 0; i < count; ++i)
            s.WriteString(i, QByteArray(i % 40, char('a' + i % 26)));
    }
};

QByteArray le(std::int32_t v)
{
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

}  // namespace

TEST_F(StoreTest, LayoutOfHeaderAndRecords)
{
    TStorefile s;
    s.SetFilename(path("plain.dat"));   // empty signature: the file starts with the count
    s.Open();
    ASSERT_TRUE(s.Opened());
    EXPECT_EQ(FileBytes(path("plain.dat")), le(0));
    EXPECT_EQ(s.WriteString(7, "hello"), 1);
    EXPECT_EQ(s.WriteInteger(8, -2), 2);
    EXPECT_EQ(s.WriteString(9, ""), 3);
    // The header count is written by Close only.
    EXPECT_EQ(FileBytes(path("plain.dat")).left(4), le(0));
    s.Close();
    const QByteArray expected = le(3) + le(13) + le(7) + "hello" + le(17) + le(12) + le(8) + le(-2) + le(16) +
                                le(8) + le(9) + le(12);
    EXPECT_EQ(FileBytes(path("plain.dat")), expected);

    s.Open();
    EXPECT_EQ(s.RecordCount(), 3);
    EXPECT_EQ(s.RecordIndex(), 0);
    QByteArray text;
    EXPECT_EQ(s.ReadString(text, true), 7);
    EXPECT_EQ(text, "hello");
    std::int32_t value = 0;
    EXPECT_EQ(s.ReadInteger(value, true), 8);
    EXPECT_EQ(value, -2);
    EXPECT_EQ(s.ReadString(text, true), 9);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(s.Eof());
    EXPECT_EQ(s.ReadString(text, true), 0);   // reading at the end: tag 0, nothing
}

TEST_F(StoreTest, PartialReads)
{
    TStorefile s;
    s.SetFilename(path("p.dat"));
    s.Open();
    s.WriteData(1, "\x34\x12", 2);
    s.WriteData(2, "0123456789", 10);
    s.First();
    std::int32_t value = static_cast<std::int32_t>(0xAABBCCDD);
    s.ReadInteger(value, true);
    EXPECT_EQ(static_cast<std::uint32_t>(value), 0xAABB1234u);   // only the low-order bytes
    char buffer[100];
    std::int32_t length = 100;
    EXPECT_EQ(s.DataSize(), 10);
    EXPECT_EQ(s.ReadData(buffer, length, false), 2);
    EXPECT_EQ(length, 10);
    length = -1;
    s.ReadData(buffer, length, false);
    EXPECT_EQ(length, 10);
    length = 3;
    s.ReadData(buffer, length, true);   // advancing skips the unread rest
    EXPECT_EQ(QByteArray(buffer, length), "012");
    EXPECT_TRUE(s.Eof());
    EXPECT_EQ(s.DataSize(), 0);
}

TEST_F(StoreTest, Navigation)
{
    makeFile("nav.dat", 1000);
    TStorefile s;
    s.SetSignature("SIG");
    s.SetFilename(path("nav.dat"));
    s.SetReadOnly(true);
    s.Open();
    ASSERT_EQ(s.RecordCount(), 1000);
    EXPECT_FALSE(s.Prior());
    EXPECT_EQ(s.RecordIndex(), 0);

    QByteArray data;
    for (const int target : {5, 3, 999, 500, 998, 0, 1, 640}) {
        s.GoToRecord(target);
        EXPECT_EQ(s.RecordIndex(), target);
        EXPECT_EQ(s.ReadString(data, false), target);
        EXPECT_EQ(data, QByteArray(target % 40, char('a' + target % 26)));
    }
    s.GoToRecord(-1);
    s.GoToRecord(1000);
    EXPECT_EQ(s.RecordIndex(), 640);

    ASSERT_TRUE(s.Last());
    EXPECT_EQ(s.ReadString(data, true), 999);
    EXPECT_TRUE(s.Eof());
    EXPECT_EQ(s.RecordIndex(), 1000);
    EXPECT_FALSE(s.Next());
    EXPECT_EQ(s.RecordIndex(), 1000);
    EXPECT_TRUE(s.Prior());
    EXPECT_EQ(s.RecordIndex(), 999);
    EXPECT_TRUE(s.Verify());
}

TEST_F(StoreTest, OpenRules)
{
    makeFile("sig.dat", 2, "ZOQ LANGUAGE FILE");
    TStorefile s;
    s.SetSignature("ZOQ LANGUAGE FILF");
    s.SetFilename(path("sig.dat"));
    s.Open();
    EXPECT_FALSE(s.Opened());
    EXPECT_EQ(s.RecordCount(), 0);
    EXPECT_TRUE(s.Eof());

    // A name without a directory part lives in the current directory.
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TStorefile local;
    local.SetFilename("local.dat");
    local.Open();
    QDir::setCurrent(old);
    EXPECT_TRUE(local.Opened());
    EXPECT_EQ(local.Filename(), QDir(dir.path()).canonicalPath() + "/local.dat");

    // Missing directories are created, also for a storage that asked to read only.
    TStorefile deep;
    deep.SetFilename(path("a/b/c/deep.dat"));
    deep.SetReadOnly(true);
    deep.Open();
    EXPECT_TRUE(deep.Opened());
    EXPECT_TRUE(QFile::exists(path("a/b/c/deep.dat")));
}

TEST_F(StoreTest, WritingRules)
{
    makeFile("w.dat", 3);
    TStorefile s;
    s.SetSignature("SIG");
    s.SetFilename(path("w.dat"));
    s.Open();
    ASSERT_TRUE(s.Opened());
    EXPECT_FALSE(s.OpenedReadOnly());
    EXPECT_EQ(s.WriteString(1, "x"), 0);   // positioned at record 0: no append
    s.GoToRecord(2);
    s.Next();
    EXPECT_EQ(s.WriteString(3, "x"), 4);

    // The writer holds the file: nobody else gets in meanwhile.
    TStorefile other;
    other.SetSignature("SIG");
    other.SetFilename(path("w.dat"));
    other.SetReadOnly(true);
    other.Open();
    EXPECT_FALSE(other.Opened());
    s.Close();
    other.Open();
    ASSERT_TRUE(other.Opened());
    EXPECT_EQ(other.RecordCount(), 4);
    try {
        other.Last();
        other.Next();
        other.WriteString(1, "x");
        FAIL() << "no exception";
    } catch (const EStorefileReadOnly& e) {
        EXPECT_EQ(e.Message, "Attempt to write a data while in ReadOnly mode");
    }
    EXPECT_THROW(other.Erase(), EStorefileReadOnly);
    EXPECT_EQ(other.RecordCount(), 4);
    other.Close();

    // Erasing an open storage leaves a fresh, empty one.
    s.Open();
    s.Erase();
    EXPECT_TRUE(s.Opened());
    EXPECT_EQ(s.RecordCount(), 0);
    EXPECT_EQ(FileBytes(path("w.dat")), QByteArray("SIG") + le(0));
}

TEST_F(StoreTest, DamagedLengthsEndNavigation)
{
    // Three records (L 0, 1, 2); record 1's size field points far past the end.
    makeFile("d.dat", 3);
    QByteArray bytes = FileBytes(path("d.dat"));
    const int second = 3 + 4 + 12;
    bytes.replace(3, 4, le(100000));   // a count no file of this size holds
    bytes.replace(second, 4, le(0x7FFFFFF0));
    WriteBytes(path("d.dat"), bytes);

    TStorefile s;
    s.SetSignature("SIG");
    s.SetFilename(path("d.dat"));
    s.SetReadOnly(true);
    s.Open();
    ASSERT_TRUE(s.Opened());
    EXPECT_EQ(s.RecordCount(), 3);   // what fits in the file
    EXPECT_FALSE(s.Verify());
    EXPECT_TRUE(s.Next());
    EXPECT_FALSE(s.Next());   // the damaged size field: as if the file ended here
    EXPECT_TRUE(s.Eof());
    EXPECT_EQ(s.RecordIndex(), 1);
    QByteArray data("untouched");
    EXPECT_EQ(s.ReadString(data, true), 0);
    EXPECT_TRUE(data.isEmpty());
    // Beyond the damage nothing is reached, from either end.
    s.First();
    s.GoToRecord(2);
    EXPECT_EQ(s.RecordIndex(), 1);
    EXPECT_FALSE(s.Last());

    // Negative and too-small trailers stop the backward walk.
    for (const std::int32_t trailer : {-12, 4, 1 << 30}) {
        bytes = FileBytes(path("d.dat"));
        bytes.replace(bytes.size() - 4, 4, le(trailer));
        WriteBytes(path("e.dat"), bytes);
        TStorefile e;
        e.SetSignature("SIG");
        e.SetFilename(path("e.dat"));
        e.SetReadOnly(true);
        e.Open();
        EXPECT_FALSE(e.Last()) << trailer;
    }
}
