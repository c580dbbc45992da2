#include "elf_section.h"

#include "elf_builder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace {

const std::vector<std::uint8_t> kPayload = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

class ElfSection : public ::testing::Test {
protected:
    std::string write(const std::vector<std::uint8_t>& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("f%1").arg(++files));
        WriteBytes(path, bytes);
        return path.toStdString();
    }

    std::optional<std::vector<std::uint8_t>> find(const std::vector<std::uint8_t>& bytes,
                                                  std::uint64_t maxSize = 1 << 20)
    {
        return ReadElfSection(write(bytes), ".qrl_version", maxSize);
    }

    static TElfImage sample(bool is64 = true, bool bigEndian = false)
    {
        return TElfImage({{".text", {0xC3}}, {".qrl_version", kPayload}, {".comment", {'x', 0}}},
                         is64, bigEndian);
    }

    QTemporaryDir dir;
    int files = 0;
};

}  // namespace

TEST_F(ElfSection, FoundInEveryClassAndByteOrder)
{
    for (const bool is64 : {true, false})
        for (const bool big : {false, true})
            EXPECT_EQ(find(sample(is64, big).Bytes), kPayload) << is64 << big;
    EXPECT_EQ(find(sample().Bytes, 4), std::vector<std::uint8_t>(kPayload.begin(), kPayload.begin() + 4));
}

TEST_F(ElfSection, NamesMatchWhole)
{
    for (const char* name : {".qrl_versio", ".qrl_version2", ".QRL_VERSION"})
        EXPECT_FALSE(find(TElfImage({{name, kPayload}}).Bytes)) << name;
}

TEST_F(ElfSection, FilesThatAreNoElfHaveNone)
{
    EXPECT_FALSE(find({}));
    EXPECT_FALSE(find({'h', 'e', 'l', 'l', 'o', '\n'}));
    std::vector<std::uint8_t> header = sample().Bytes;
    header.resize(40);
    EXPECT_FALSE(find(header));

    EXPECT_FALSE(ReadElfSection(dir.path().toStdString(), ".qrl_version", 64));
    EXPECT_FALSE(ReadElfSection(dir.filePath(QStringLiteral("missing")).toStdString(), ".qrl_version", 64));
    // Opening a FIFO for reading must not wait for a writer.
    const std::string fifo = dir.filePath(QStringLiteral("fifo")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadElfSection(fifo, ".qrl_version", 64));

    TElfImage wrongVersion = sample();
    wrongVersion.Bytes[EI_VERSION] = 2;
    EXPECT_FALSE(find(wrongVersion.Bytes));
    TElfImage wrongClass = sample();
    wrongClass.Bytes[EI_CLASS] = 3;
    EXPECT_FALSE(find(wrongClass.Bytes));
}

TEST_F(ElfSection, DamagedTablesAndSectionsHaveNone)
{
    const TElfImage good = sample();
    const std::uint64_t fileSize = good.Bytes.size();
    constexpr int kVersion = 2;  // .qrl_version's index: after the null section and .text
    constexpr int kNames = 4;

    const std::vector<std::pair<const char*, std::function<void(TElfImage&)>>> damages = {
        {"no table", [](TElfImage& e) { e.SetHeader(TElfHeaderField::ShOff, 0); }},
        {"table past the end", [&](TElfImage& e) { e.SetHeader(TElfHeaderField::ShOff, fileSize); }},
        {"table runs past the end", [&](TElfImage& e) { e.SetHeader(TElfHeaderField::ShOff, e.SectionTableOffset() + 8); }},
        {"table at 2^64 - 8", [](TElfImage& e) { e.SetHeader(TElfHeaderField::ShOff, ~std::uint64_t{7}); }},
        {"entries too small", [](TElfImage& e) { e.SetHeader(TElfHeaderField::ShEntSize, 16); }},
        {"entries of 0 bytes", [](TElfImage& e) { e.SetHeader(TElfHeaderField::ShEntSize, 0); }},
        {"too many entries", [](TElfImage& e) { e.SetHeader(TElfHeaderField::ShNum, 0xFFFE); }},
        {"name table out of range", [](TElfImage& e) { e.SetHeader(TElfHeaderField::ShStrNdx, 5); }},
        {"name table is no string table", [](TElfImage& e) { e.SetSection(kNames, TElfSectionField::Type, SHT_PROGBITS); }},
        {"name table past the end", [&](TElfImage& e) { e.SetSection(kNames, TElfSectionField::Offset, fileSize - 2); }},
        {"name table of 2^64 - 1 bytes", [](TElfImage& e) { e.SetSection(kNames, TElfSectionField::Size, ~std::uint64_t{0}); }},
        {"name beyond the name table", [](TElfImage& e) { e.SetSection(kVersion, TElfSectionField::Name, 4000); }},
        {"name without its NUL", [](TElfImage& e) { e.SetSection(kNames, TElfSectionField::Size, 7 + 12); }},
        {"section past the end", [&](TElfImage& e) { e.SetSection(kVersion, TElfSectionField::Offset, fileSize); }},
        {"section runs past the end", [&](TElfImage& e) { e.SetSection(kVersion, TElfSectionField::Size, fileSize); }},
        {"offset + size wraps", [](TElfImage& e) {
             e.SetSection(kVersion, TElfSectionField::Offset, ~std::uint64_t{3});
             e.SetSection(kVersion, TElfSectionField::Size, 16);
         }},
        {"section without bytes", [](TElfImage& e) { e.SetSection(kVersion, TElfSectionField::Type, SHT_NOBITS); }},
    };
    for (const auto& [what, damage] : damages) {
        TElfImage damaged = good;
        damage(damaged);
        EXPECT_FALSE(find(damaged.Bytes)) << what;
    }
    // Every truncation removes part of the section table, which ends the file.
    for (std::size_t cut = 0; cut < good.Bytes.size(); ++cut)
        EXPECT_FALSE(find(std::vector<std::uint8_t>(good.Bytes.begin(), good.Bytes.begin() + cut))) << cut;
}

TEST_F(ElfSection, ExtendedSectionNumbering)
{
    // The true count and name-table index may live in section 0.
    for (const bool is64 : {true, false}) {
        TElfImage e = sample(is64);
        e.SetHeader(TElfHeaderField::ShNum, 0);
        e.SetHeader(TElfHeaderField::ShStrNdx, SHN_XINDEX);
        e.SetSection(0, TElfSectionField::Size, 5);
        e.SetSection(0, TElfSectionField::Link, 4);
        EXPECT_EQ(find(e.Bytes), kPayload);
        e.SetSection(0, TElfSectionField::Size, 1u << 30);
        EXPECT_FALSE(find(e.Bytes));
    }
}
