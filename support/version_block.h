#pragma once

// The version block: the program's version information as the build embeds it
// in the executable (cmake/VersionBlock.cmake puts it in the ELF section
// ".qrl_version"), and the queries that read it back.
//
// This header needs only the standard library: the source that the build
// generates for every versioned executable includes it to lay out the block
// at compile time.
//
// Layout. Every integer is little-endian; offsets count from the block's first
// byte, and every record starts at a multiple of 4.
//
//   header, 16 bytes
//      0  8 bytes  magic "QRLVER01"
//      8  u32      block size in bytes, header included (a multiple of 4)
//     12  u32      number of records that follow
//   record
//      0  u16      key length K in bytes, without a terminating NUL
//      2  u16      value kind: 0 binary, 1 text (UTF-8 ending in one NUL)
//      4  u32      value length V in bytes (a text's NUL included)
//      8  K bytes  key, then zero bytes up to a multiple of 4
//         V bytes  value, then zero bytes up to a multiple of 4
//
// The keys are the query paths of the classic version-resource interface:
//   "\"                                the fixed file information, 52 bytes
//                                      (TFixedFileInfo's fields in order)
//   "\VarFileInfo\Translation"         (language, code page) pairs, u16 each
//   "\StringFileInfo\llllcccc\<Name>"  text values of the string table for
//                                      language llll and code page cccc
//                                      (hexadecimal, lower case)
// Text values are UTF-8 whatever the code page says; the build writes code
// page 65001 (UTF-8) so that the translation table tells the truth.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kVersionBlockMagic = "QRLVER01";
inline constexpr std::size_t kVersionBlockHeaderSize = 16;
/// The name of the ELF section that holds the block.
inline constexpr std::string_view kVersionSectionName = ".qrl_version";
/// Readers refuse larger blocks: a size beyond this is damage, not data.
inline constexpr std::uint32_t kMaxVersionBlockSize = 1u << 20;

enum class TVersionValueKind : std::uint16_t { Binary = 0, Text = 1 };

/// The fixed file information behind the root query "\": thirteen u32 in this
/// order, 52 bytes in the block. A version is four 16-bit numbers a.b.c.d with
/// a.b in the most significant double word (a high) and c.d in the least.
struct TFixedFileInfo {
    std::uint32_t dwSignature = 0xFEEF04BD;
    std::uint32_t dwStrucVersion = 0x00010000;
    std::uint32_t dwFileVersionMS = 0;
    std::uint32_t dwFileVersionLS = 0;
    std::uint32_t dwProductVersionMS = 0;
    std::uint32_t dwProductVersionLS = 0;
    std::uint32_t dwFileFlagsMask = 0;
    std::uint32_t dwFileFlags = 0;
    std::uint32_t dwFileOS = 0;
    std::uint32_t dwFileType = 0;
    std::uint32_t dwFileSubtype = 0;
    std::uint32_t dwFileDateMS = 0;
    std::uint32_t dwFileDateLS = 0;
};
inline constexpr std::size_t kFixedFileInfoSize = 13 * 4;

/// File flags and types as the classic interface numbers them.
inline constexpr std::uint32_t kVS_FF_DEBUG = 0x01;
inline constexpr std::uint32_t kVS_FFI_FILEFLAGSMASK = 0x3F;
inline constexpr std::uint32_t kVOS_UNKNOWN = 0;
inline constexpr std::uint32_t kVFT_APP = 1;

/// One entry of the string table.
struct TVersionString {
    std::string_view Name;
    std::string_view Value;
};

/// Everything one block holds: the fixed information, one translation and
/// its string table.
struct TVersionSource {
    TFixedFileInfo Fixed;
    std::uint16_t Language = 0x0409;
    std::uint16_t CodePage = 65001;
    std::span<const TVersionString> Strings;
};

namespace version_block_detail {

// Writes into `out` when it is set; counts the bytes either way, so the same
// code first measures the block and then fills it (also at compile time).
class TBlockWriter {
public:
    constexpr explicit TBlockWriter(std::uint8_t* out) : FOut(out) {}

    constexpr void U8(std::uint8_t v)
    {
        if (FOut)
            FOut[FPos] = v;
        ++FPos;
    }
    constexpr void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    constexpr void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    constexpr void Text(std::string_view s)
    {
        for (const char c : s)
            U8(static_cast<std::uint8_t>(c));
    }
    constexpr void Hex4(std::uint16_t v)
    {
        constexpr std::string_view digits = "0123456789abcdef";
        for (int shift = 12; shift >= 0; shift -= 4)
            U8(static_cast<std::uint8_t>(digits[(v >> shift) & 0xF]));
    }
    constexpr void Pad()
    {
        while (FPos % 4 != 0)
            U8(0);
    }
    constexpr std::size_t Pos() const { return FPos; }
    constexpr void Seek(std::size_t pos) { FPos = pos; }

private:
    std::uint8_t* FOut;
    std::size_t FPos = 0;
};

inline constexpr std::string_view kRootKey = "\\";
inline constexpr std::string_view kTranslationKey = "\\VarFileInfo\\Translation";
inline constexpr std::string_view kStringTableKey = "\\StringFileInfo\\";

}  // namespace version_block_detail

/// Lays out the block for `source` into `out` (nothing is written when `out`
/// is null) and returns its size in bytes.
constexpr std::size_t EncodeVersionBlock(const TVersionSource& source, std::uint8_t* out)
{
    using namespace version_block_detail;
    TBlockWriter w(out);
    w.Text(kVersionBlockMagic);
    const std::size_t sizeField = w.Pos();
    w.U32(0);
    w.U32(static_cast<std::uint32_t>(2 + source.Strings.size()));

    const TFixedFileInfo& f = source.Fixed;
    w.U16(static_cast<std::uint16_t>(kRootKey.size()));
    w.U16(static_cast<std::uint16_t>(TVersionValueKind::Binary));
    w.U32(kFixedFileInfoSize);
    w.Text(kRootKey);
    w.Pad();
    for (const std::uint32_t v : {f.dwSignature, f.dwStrucVersion, f.dwFileVersionMS,
                                  f.dwFileVersionLS, f.dwProductVersionMS, f.dwProductVersionLS,
                                  f.dwFileFlagsMask, f.dwFileFlags, f.dwFileOS, f.dwFileType,
                                  f.dwFileSubtype, f.dwFileDateMS, f.dwFileDateLS})
        w.U32(v);

    w.U16(static_cast<std::uint16_t>(kTranslationKey.size()));
    w.U16(static_cast<std::uint16_t>(TVersionValueKind::Binary));
    w.U32(4);
    w.Text(kTranslationKey);
    w.Pad();
    w.U16(source.Language);
    w.U16(source.CodePage);

    for (const TVersionString& s : source.Strings) {
        w.U16(static_cast<std::uint16_t>(kStringTableKey.size() + 8 + 1 + s.Name.size()));
        w.U16(static_cast<std::uint16_t>(TVersionValueKind::Text));
        w.U32(static_cast<std::uint32_t>(s.Value.size() + 1));
        w.Text(kStringTableKey);
        w.Hex4(source.Language);
        w.Hex4(source.CodePage);
        w.U8('\\');
        w.Text(s.Name);
        w.Pad();
        w.Text(s.Value);
        w.U8(0);
        w.Pad();
    }

    const std::size_t size = w.Pos();
    w.Seek(sizeField);
    w.U32(static_cast<std::uint32_t>(size));
    return size;
}

/// The block for `source` as an array, for a compile-time constant:
/// N must be EncodeVersionBlock(source, nullptr).
template <std::size_t N>
constexpr std::array<std::uint8_t, N> MakeVersionBlock(const TVersionSource& source)
{
    std::array<std::uint8_t, N> block{};
    EncodeVersionBlock(source, block.data());
    return block;
}

/// The value stored under `path` in `block`, or none. Paths match as the
/// classic interface matches them: ASCII case is ignored and the leading "\"
/// may be left out ("" and "\" are both the root). A block whose header is
/// wrong answers nothing; a truncated or damaged one answers only the records
/// that lie wholly inside it, before the first damaged one.
std::optional<std::span<const std::uint8_t>> VerQueryValue(std::span<const std::uint8_t> block,
                                                           std::string_view path);

/// The fixed file information in a root value; none when it is shorter than
/// the 52-byte record.
std::optional<TFixedFileInfo> DecodeFixedFileInfo(std::span<const std::uint8_t> value);

/// The version block of the file named by the byte string `nativePath`, or
/// none: for a file that cannot be opened or is not a regular file, a file
/// that is not ELF or is damaged, and one whose ".qrl_version" section does
/// not start with a sound header (magic, size within the section and at most
/// kMaxVersionBlockSize). Returns exactly the header's block size in bytes.
std::optional<std::vector<std::uint8_t>> ReadVersionBlock(const std::string& nativePath);
