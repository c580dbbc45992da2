#include "version_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TVersionString kStrings[] = {
    {"CompanyName", "Varnel"},
    {"FileVersion", "1.2.0.15"},
};

constexpr TVersionSource kSource{
    {.dwFileVersionMS = 0x00010002, .dwFileVersionLS = 0x0000000F, .dwFileType = kVFT_APP},
    0x0409, 65001, kStrings};

constexpr TVersionSource kBare{{}, 0x0409, 65001, {}};

// The generated sources build their block at compile time; this proves the
// encoder still can, and pins the size of the smallest block:
// header 16, root record 8 + 4 + 52, translation record 8 + 24 + 4.
static_assert(EncodeVersionBlock(kBare, nullptr) == 116);
constexpr auto kCompiled = MakeVersionBlock<EncodeVersionBlock(kSource, nullptr)>(kSource);

std::vector<std::uint8_t> encode(const TVersionSource& source)
{
    std::vector<std::uint8_t> block(EncodeVersionBlock(source, nullptr));
    EncodeVersionBlock(source, block.data());
    return block;
}

std::string text(std::span<const std::uint8_t> value)
{
    return {value.begin(), value.end()};
}

}  // namespace

TEST(VersionBlock, LayoutIsTheDocumentedOne)
{
    const std::vector<std::uint8_t> b = encode(kBare);
    ASSERT_EQ(b.size(), 116u);
    EXPECT_EQ(text(std::span(b).first(8)), "QRLVER01");
    EXPECT_EQ(b[8], 116);  // block size, little-endian
    EXPECT_EQ(b[12], 2);   // records
    // Root record: key length 1, binary, 52 bytes, key "\" padded to 4,
    // then the signature 0xFEEF04BD little-endian.
    const std::vector<std::uint8_t> root(b.begin() + 16, b.begin() + 32);
    EXPECT_EQ(root, (std::vector<std::uint8_t>{1, 0, 0, 0, 52, 0, 0, 0, '\\', 0, 0, 0,
                                               0xBD, 0x04, 0xEF, 0xFE}));
    // Translation record last: language 0x0409 and code page 65001 (0xFDE9).
    EXPECT_EQ(text(std::span(b).subspan(88, 24)), "\\VarFileInfo\\Translation");
    EXPECT_EQ(std::vector<std::uint8_t>(b.end() - 4, b.end()),
              (std::vector<std::uint8_t>{0x09, 0x04, 0xE9, 0xFD}));
}

TEST(VersionBlock, AnswersTheClassicQueries)
{
    const std::vector<std::uint8_t> b = encode(kSource);
    EXPECT_EQ(b, std::vector<std::uint8_t>(kCompiled.begin(), kCompiled.end()));
    EXPECT_EQ(b.size() % 4, 0u);

    const auto root = VerQueryValue(b, "\\");
    ASSERT_TRUE(root);
    const std::optional<TFixedFileInfo> f = DecodeFixedFileInfo(*root);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(f->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(f->dwFileVersionLS, 0x0000000Fu);
    EXPECT_EQ(f->dwFileType, kVFT_APP);
    const auto unrooted = VerQueryValue(b, "");
    ASSERT_TRUE(unrooted);
    EXPECT_EQ(unrooted->data(), root->data());

    // Text values keep their NUL; case and the leading "\" do not matter.
    const auto company = VerQueryValue(b, "\\StringFileInfo\\0409fde9\\CompanyName");
    const auto fileVersion = VerQueryValue(b, "stringfileinfo\\0409FDE9\\FILEVERSION");
    const auto translation = VerQueryValue(b, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(company && fileVersion && translation);
    EXPECT_EQ(text(*company), std::string("Varnel", 7));
    EXPECT_EQ(text(*fileVersion), std::string("1.2.0.15", 9));
    EXPECT_EQ(translation->size(), 4u);

    EXPECT_FALSE(VerQueryValue(b, "\\StringFileInfo\\040904b0\\CompanyName"));
    EXPECT_FALSE(VerQueryValue(b, "\\StringFileInfo\\0409fde9\\Company"));
    EXPECT_FALSE(VerQueryValue(b, "\\StringFileInfo\\0409fde9\\ProductName"));
    EXPECT_FALSE(DecodeFixedFileInfo(root->first(51)));
}

TEST(VersionBlock, DamagedBlocksAnswerOnlyWhatLiesWhollyInside)
{
    const std::vector<std::uint8_t> whole = encode(kSource);
    const std::string company = "\\StringFileInfo\\0409fde9\\CompanyName";

    // Every truncation: a value is found only when it ends inside the cut.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const std::vector<std::uint8_t> b(whole.begin(), whole.begin() + cut);
        for (const std::string& path : {std::string("\\"), std::string("\\VarFileInfo\\Translation"), company}) {
            const auto value = VerQueryValue(b, path);
            if (value) {
                EXPECT_LE(value->data() + value->size(), b.data() + b.size()) << cut;
            }
        }
        EXPECT_EQ(VerQueryValue(b, "\\").has_value(), cut >= 16 + 12 + 52) << cut;
    }

    std::vector<std::uint8_t> b = whole;
    b[0] = 'X';
    EXPECT_FALSE(VerQueryValue(b, "\\"));

    // A translation value claiming 4 GiB stops the walk there: records before
    // it are still answered, those after it are not.
    b = whole;
    b[16 + 64 + 4] = b[16 + 64 + 5] = b[16 + 64 + 6] = b[16 + 64 + 7] = 0xFF;
    EXPECT_TRUE(VerQueryValue(b, "\\"));
    EXPECT_FALSE(VerQueryValue(b, "\\VarFileInfo\\Translation"));
    EXPECT_FALSE(VerQueryValue(b, company));

    // A record count beyond the records, and a size beyond the buffer.
    b = whole;
    b[12] = b[13] = b[14] = b[15] = 0xFF;
    b[8] = b[9] = b[10] = b[11] = 0xFF;
    EXPECT_TRUE(VerQueryValue(b, company));
    EXPECT_FALSE(VerQueryValue(b, "\\StringFileInfo\\0409fde9\\Missing"));
}
