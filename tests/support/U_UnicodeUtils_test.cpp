#include "U_UnicodeUtils.h"

#include "elf_builder.h"
#include "version_block.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <string>

namespace {

const QString kNotFound = QStringLiteral("File not found");
const QString kNoVersion = QStringLiteral("Unable to retrieve file version info");
const QString kSample = QStringLiteral(QRL_VERSIONED_SAMPLE);

QString writeFile(const QTemporaryDir& dir, const QString& name, const std::vector<std::uint8_t>& bytes)
{
    const QString path = dir.filePath(name);
    WriteBytes(path, bytes);
    return path;
}

// Where the sample's block starts in the file.
std::size_t blockOffset(const std::vector<std::uint8_t>& file)
{
    const auto at = std::search(file.begin(), file.end(), kVersionBlockMagic.begin(), kVersionBlockMagic.end());
    return static_cast<std::size_t>(at - file.begin());
}

void putLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

// Restores the wide/narrow choice and the C library's character set.
struct TNarrowNames {
    TNarrowNames() : locale(std::setlocale(LC_CTYPE, nullptr)) { SetWideApiAvailable(false); }
    ~TNarrowNames()
    {
        SetWideApiAvailable(true);
        std::setlocale(LC_CTYPE, locale.c_str());
    }
    std::string locale;
};

}  // namespace

TEST(GetFileVersionString, ReadsTheEmbeddedFileVersion)
{
    EXPECT_EQ(GetFileVersionString(kSample), QStringLiteral("65535.0.10.2"));
    // strip keeps the section: installed programs still have their version.
    EXPECT_EQ(GetFileVersionString(QStringLiteral(QRL_STRIPPED_SAMPLE)), QStringLiteral("65535.0.10.2"));
    // The test program carries the project's own block, as quorlo does.
    EXPECT_EQ(GetFileVersionString(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))),
              QStringLiteral(QRL_PROJECT_VERSION));
}

TEST(GetFileVersionString, FilesWithoutAVersion)
{
    QTemporaryDir dir;
    EXPECT_EQ(GetFileVersionString(QStringLiteral("/bin/sh")), kNoVersion);
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("notes.txt"), {'h', 'i', '\n'})), kNoVersion);
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("empty"), {})), kNoVersion);
    EXPECT_EQ(GetFileVersionString(dir.path()), kNotFound);
    EXPECT_EQ(GetFileVersionString(dir.filePath(QStringLiteral("missing"))), kNotFound);
    EXPECT_EQ(GetFileVersionString(QString()), kNotFound);
}

TEST(GetFileVersionString, DamagedCopiesOfAProgram)
{
    QTemporaryDir dir;
    const std::vector<std::uint8_t> whole = ReadBytes(kSample);
    ASSERT_GT(whole.size(), 1000u);
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("copy"), whole)), QStringLiteral("65535.0.10.2"));

    // The section table ends the file, so every cut loses the block.
    for (std::size_t cut = 0; cut < whole.size(); cut += 1 + whole.size() / 97) {
        const std::vector<std::uint8_t> part(whole.begin(), whole.begin() + cut);
        EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("cut"), part)), kNoVersion) << cut;
    }
    const std::vector<std::uint8_t> lastByteLost(whole.begin(), whole.end() - 1);
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("cut"), lastByteLost)), kNoVersion);

    const std::size_t block = blockOffset(whole);
    const std::optional<std::vector<std::uint8_t>> read = ReadVersionBlock(kSample.toStdString());
    ASSERT_TRUE(read);
    const std::vector<std::uint8_t>& embedded = *read;
    ASSERT_LE(block + embedded.size(), whole.size());
    ASSERT_TRUE(std::equal(embedded.begin(), embedded.end(), whole.begin() + block));
    std::vector<std::uint8_t> bytes = whole;
    bytes[block] = 'X';
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("magic"), bytes)), kNoVersion);
    bytes = whole;
    putLe32(bytes, block + 8, 0x7FFFFFF0);
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("size"), bytes)), kNoVersion);
    // A root value one byte short of the fixed record.
    bytes = whole;
    putLe32(bytes, block + 16 + 4, kFixedFileInfoSize - 1);
    EXPECT_EQ(GetFileVersionString(writeFile(dir, QStringLiteral("root"), bytes)), kNoVersion);
}

TEST(GetFileVersionString, EveryByteOfTheHeadersAndTheBlockDamaged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged"));
    const std::vector<std::uint8_t> whole = ReadBytes(kSample);
    const std::size_t block = blockOffset(whole);
    const std::optional<std::vector<std::uint8_t>> read = ReadVersionBlock(kSample.toStdString());
    ASSERT_TRUE(read);
    const std::size_t blockSize = read->size();
    std::uint64_t tableOffset = 0;
    std::copy_n(whole.begin() + offsetof(Elf64_Ehdr, e_shoff), sizeof tableOffset,
                reinterpret_cast<std::uint8_t*>(&tableOffset));
    ASSERT_LT(tableOffset, whole.size());

    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < sizeof(Elf64_Ehdr); ++i)
        positions.push_back(i);
    for (std::size_t i = tableOffset; i < whole.size(); ++i)
        positions.push_back(i);
    for (std::size_t i = block; i < block + blockSize; ++i)
        positions.push_back(i);

    const QRegularExpression version(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"));
    for (const std::size_t at : positions) {
        std::vector<std::uint8_t> bytes = whole;
        bytes[at] ^= 0xFF;
        WriteBytes(path, bytes);
        const QString text = GetFileVersionString(path);
        EXPECT_TRUE(text == kNoVersion || version.match(text).hasMatch()) << at;
    }
}

TEST(WideGetFileVersionInfo, SizeAndCopy)
{
    std::uint32_t handle = 77;
    const std::uint32_t size = WideGetFileVersionInfoSize(kSample, handle);
    EXPECT_EQ(handle, 0u);
    ASSERT_GT(size, kVersionBlockHeaderSize);
    const std::optional<std::vector<std::uint8_t>> read = ReadVersionBlock(kSample.toStdString());
    ASSERT_TRUE(read);
    EXPECT_EQ(size, read->size());

    std::vector<std::uint8_t> buffer(size + 8, 0xAA);
    ASSERT_TRUE(WideGetFileVersionInfo(kSample, 0, size, buffer.data()));
    EXPECT_TRUE(std::equal(kVersionBlockMagic.begin(), kVersionBlockMagic.end(), buffer.begin()));
    EXPECT_EQ(buffer[size], 0xAA);

    // A short buffer gets only what fits: a truncated block.
    std::fill(buffer.begin(), buffer.end(), 0xAA);
    ASSERT_TRUE(WideGetFileVersionInfo(kSample, 0, 20, buffer.data()));
    EXPECT_EQ(buffer[19], 0x00);  // high byte of the root record's value length
    EXPECT_EQ(buffer[20], 0xAA);
    EXPECT_FALSE(VerQueryValue(std::span(buffer).first(20), "\\"));

    EXPECT_FALSE(WideGetFileVersionInfo(kSample, 0, size, nullptr));
    EXPECT_EQ(WideGetFileVersionInfoSize(QStringLiteral("/bin/sh"), handle), 0u);
    EXPECT_FALSE(WideGetFileVersionInfo(QStringLiteral("/bin/sh"), 0, size, buffer.data()));
}

TEST(WideFileExists, FilesButNotFolders)
{
    QTemporaryDir dir;
    const QString file = writeFile(dir, QStringLiteral("photo.jpg"), {1});
    EXPECT_TRUE(WideFileExists(file));
    EXPECT_FALSE(WideFileExists(dir.path()));
    EXPECT_FALSE(WideFileExists(dir.filePath(QStringLiteral("missing.jpg"))));
    ASSERT_TRUE(QFile::link(file, dir.filePath(QStringLiteral("link.jpg"))));
    EXPECT_TRUE(WideFileExists(dir.filePath(QStringLiteral("link.jpg"))));
    // A NUL would cut the name short and name the folder instead.
    EXPECT_FALSE(WideFileExists(file + QChar(u'\0') + QStringLiteral("x")));
    EXPECT_FALSE(WideFileExists(dir.path() + QChar(u'\0') + QStringLiteral("/photo.jpg")));
}

TEST(WideFileExists, NarrowNamesFollowTheLocaleCharacterSet)
{
    EXPECT_TRUE(ProbeWideApi());
    EXPECT_TRUE(WideApiAvailable());

    QTemporaryDir dir;
    const QString accented = writeFile(dir, QStringLiteral("photo-\u00e9t\u00e9.jpg"), {1});
    const QString plain = writeFile(dir, QStringLiteral("photo.jpg"), {1});
    EXPECT_TRUE(WideFileExists(accented));

    TNarrowNames narrow;
    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C"));
    EXPECT_TRUE(WideFileExists(plain));
    EXPECT_FALSE(WideFileExists(accented));  // ASCII has no "é"
    EXPECT_FALSE(NativeFileName(accented));
    EXPECT_EQ(GetFileVersionString(kSample), QStringLiteral("65535.0.10.2"));

    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_TRUE(WideFileExists(accented));
    EXPECT_EQ(*NativeFileName(accented), accented.toStdString());
}
