#include "version_block.h"

#include "elf_section.h"

#include <algorithm>

namespace {

std::uint32_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}

std::uint32_t le32(const std::uint8_t* p)
{
    return le16(p) | le16(p + 2) << 16;
}

std::uint64_t padded(std::uint64_t n)
{
    return (n + 3) / 4 * 4;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Stored keys always begin with "\"; a query may leave it out.
bool sameKey(std::span<const std::uint8_t> stored, std::string_view wanted)
{
    if (!wanted.starts_with('\\') && !stored.empty() && stored.front() == '\\')
        stored = stored.subspan(1);
    return stored.size() == wanted.size()
        && std::equal(stored.begin(), stored.end(), wanted.begin(), [](std::uint8_t a, char b) {
               return asciiLower(static_cast<char>(a)) == asciiLower(b);
           });
}

bool hasSoundHeader(std::span<const std::uint8_t> block)
{
    return block.size() >= kVersionBlockHeaderSize
        && std::equal(kVersionBlockMagic.begin(), kVersionBlockMagic.end(), block.begin());
}

}  // namespace

std::optional<std::span<const std::uint8_t>> VerQueryValue(std::span<const std::uint8_t> block,
                                                           std::string_view path)
{
    if (!hasSoundHeader(block))
        return std::nullopt;
    // A header claiming more than the buffer holds is a truncated block: the
    // walk stays inside whichever is smaller.
    const std::uint64_t end = std::min<std::uint64_t>(le32(block.data() + 8), block.size());
    const std::uint32_t records = le32(block.data() + 12);
    std::uint64_t at = kVersionBlockHeaderSize;
    for (std::uint32_t i = 0; i < records; ++i) {
        if (end < at || end - at < 8)
            return std::nullopt;
        const std::uint8_t* r = block.data() + at;
        const std::uint64_t keyLength = le16(r);
        const std::uint64_t valueLength = le32(r + 4);
        // 64-bit sums of values below 2^32 cannot wrap; each part is checked
        // against what is left before the next one is read.
        const std::uint64_t valueAt = at + padded(8 + keyLength);
        if (valueAt > end || valueLength > end - valueAt)
            return std::nullopt;
        if (sameKey(block.subspan(at + 8, keyLength), path))
            return block.subspan(valueAt, valueLength);
        at = valueAt + padded(valueLength);
    }
    return std::nullopt;
}

std::optional<TFixedFileInfo> DecodeFixedFileInfo(std::span<const std::uint8_t> value)
{
    if (value.size() < kFixedFileInfoSize)
        return std::nullopt;
    const std::uint8_t* p = value.data();
    TFixedFileInfo f;
    for (std::uint32_t* field : {&f.dwSignature, &f.dwStrucVersion, &f.dwFileVersionMS,
                                 &f.dwFileVersionLS, &f.dwProductVersionMS, &f.dwProductVersionLS,
                                 &f.dwFileFlagsMask, &f.dwFileFlags, &f.dwFileOS, &f.dwFileType,
                                 &f.dwFileSubtype, &f.dwFileDateMS, &f.dwFileDateLS}) {
        *field = le32(p);
        p += 4;
    }
    return f;
}

std::optional<std::vector<std::uint8_t>> ReadVersionBlock(const std::string& nativePath)
{
    std::optional<std::vector<std::uint8_t>> section =
        ReadElfSection(nativePath, kVersionSectionName, kMaxVersionBlockSize);
    if (!section || !hasSoundHeader(*section))
        return std::nullopt;
    const std::uint32_t size = le32(section->data() + 8);
    if (size < kVersionBlockHeaderSize || size > section->size())
        return std::nullopt;
    section->resize(size);
    return section;
}
