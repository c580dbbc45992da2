#pragma once

#include <QString>

#include <elf.h>

#include <cstdint>
#include <string>
#include <vector>

/// One section of a test ELF file.
struct TElfSection {
    std::string Name;
    std::vector<std::uint8_t> Data;
    std::uint32_t Type = SHT_PROGBITS;
};

enum class TElfHeaderField { ShOff, ShEntSize, ShNum, ShStrNdx };
enum class TElfSectionField { Name, Type, Offset, Size, Link };

/// A minimal ELF file for the tests: the header, the section contents, the
/// name table and the section header table, in that order. Section 0 is the
/// null section, the given sections follow, ".shstrtab" is the last one.
/// Fields can be overwritten afterwards to damage the file on purpose.
class TElfImage {
public:
    explicit TElfImage(const std::vector<TElfSection>& sections, bool is64 = true,
                       bool bigEndian = false);

    void SetHeader(TElfHeaderField field, std::uint64_t value);
    void SetSection(int index, TElfSectionField field, std::uint64_t value);
    std::uint64_t SectionTableOffset() const { return tableOffset_; }
    std::size_t SectionHeaderSize() const;

    std::vector<std::uint8_t> Bytes;

private:
    void put(std::size_t offset, std::size_t width, std::uint64_t value);

    bool is64_;
    bool big_;
    std::uint64_t tableOffset_ = 0;
};

/// Writes bytes to a file, replacing it.
void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes);

/// The whole content of a file (empty when it cannot be read).
std::vector<std::uint8_t> ReadBytes(const QString& path);
