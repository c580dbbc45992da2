#include "elf_builder.h"

#include <QFile>

#include <cstddef>

namespace {

struct TField {
    std::size_t offset;
    std::size_t width;
};

#define QRL_FIELD_OF(Struct, member) TField{offsetof(Struct, member), sizeof(Struct::member)}

TField headerField(bool is64, TElfHeaderField f)
{
    switch (f) {
    case TElfHeaderField::ShOff:
        return is64 ? QRL_FIELD_OF(Elf64_Ehdr, e_shoff) : QRL_FIELD_OF(Elf32_Ehdr, e_shoff);
    case TElfHeaderField::ShEntSize:
        return is64 ? QRL_FIELD_OF(Elf64_Ehdr, e_shentsize) : QRL_FIELD_OF(Elf32_Ehdr, e_shentsize);
    case TElfHeaderField::ShNum:
        return is64 ? QRL_FIELD_OF(Elf64_Ehdr, e_shnum) : QRL_FIELD_OF(Elf32_Ehdr, e_shnum);
    case TElfHeaderField::ShStrNdx:
        return is64 ? QRL_FIELD_OF(Elf64_Ehdr, e_shstrndx) : QRL_FIELD_OF(Elf32_Ehdr, e_shstrndx);
    }
    return {};
}

TField sectionField(bool is64, TElfSectionField f)
{
    switch (f) {
    case TElfSectionField::Name:
        return is64 ? QRL_FIELD_OF(Elf64_Shdr, sh_name) : QRL_FIELD_OF(Elf32_Shdr, sh_name);
    case TElfSectionField::Type:
        return is64 ? QRL_FIELD_OF(Elf64_Shdr, sh_type) : QRL_FIELD_OF(Elf32_Shdr, sh_type);
    case TElfSectionField::Offset:
        return is64 ? QRL_FIELD_OF(Elf64_Shdr, sh_offset) : QRL_FIELD_OF(Elf32_Shdr, sh_offset);
    case TElfSectionField::Size:
        return is64 ? QRL_FIELD_OF(Elf64_Shdr, sh_size) : QRL_FIELD_OF(Elf32_Shdr, sh_size);
    case TElfSectionField::Link:
        return is64 ? QRL_FIELD_OF(Elf64_Shdr, sh_link) : QRL_FIELD_OF(Elf32_Shdr, sh_link);
    }
    return {};
}

void align(std::vector<std::uint8_t>& bytes, std::size_t to)
{
    while (bytes.size() % to != 0)
        bytes.push_back(0);
}

}  // namespace

TElfImage::TElfImage(const std::vector<TElfSection>& sections, bool is64, bool bigEndian)
    : is64_(is64), big_(bigEndian)
{
    Bytes.assign(is64 ? sizeof(Elf64_Ehdr) : sizeof(Elf32_Ehdr), 0);
    const std::uint8_t ident[] = {ELFMAG0, ELFMAG1, ELFMAG2, ELFMAG3,
                                  static_cast<std::uint8_t>(is64 ? ELFCLASS64 : ELFCLASS32),
                                  static_cast<std::uint8_t>(bigEndian ? ELFDATA2MSB : ELFDATA2LSB),
                                  EV_CURRENT};
    std::copy(std::begin(ident), std::end(ident), Bytes.begin());

    std::vector<TElfSection> all = sections;
    all.insert(all.begin(), TElfSection{"", {}, SHT_NULL});
    TElfSection names{".shstrtab", {0}, SHT_STRTAB};
    std::vector<std::uint32_t> nameAt;
    for (const TElfSection& s : all) {
        nameAt.push_back(s.Name.empty() ? 0 : static_cast<std::uint32_t>(names.Data.size()));
        if (!s.Name.empty()) {
            names.Data.insert(names.Data.end(), s.Name.begin(), s.Name.end());
            names.Data.push_back(0);
        }
    }
    nameAt.push_back(static_cast<std::uint32_t>(names.Data.size()));
    names.Data.insert(names.Data.end(), names.Name.begin(), names.Name.end());
    names.Data.push_back(0);
    all.push_back(names);

    std::vector<std::uint64_t> dataAt;
    for (const TElfSection& s : all) {
        align(Bytes, 4);
        dataAt.push_back(s.Type == SHT_NULL ? 0 : Bytes.size());
        if (s.Type != SHT_NOBITS)
            Bytes.insert(Bytes.end(), s.Data.begin(), s.Data.end());
    }
    align(Bytes, 8);
    tableOffset_ = Bytes.size();
    Bytes.resize(Bytes.size() + all.size() * SectionHeaderSize(), 0);

    SetHeader(TElfHeaderField::ShOff, tableOffset_);
    SetHeader(TElfHeaderField::ShEntSize, SectionHeaderSize());
    SetHeader(TElfHeaderField::ShNum, all.size());
    SetHeader(TElfHeaderField::ShStrNdx, all.size() - 1);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int index = static_cast<int>(i);
        SetSection(index, TElfSectionField::Name, nameAt[i]);
        SetSection(index, TElfSectionField::Type, all[i].Type);
        SetSection(index, TElfSectionField::Offset, dataAt[i]);
        SetSection(index, TElfSectionField::Size, all[i].Data.size());
    }
}

std::size_t TElfImage::SectionHeaderSize() const
{
    return is64_ ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
}

void TElfImage::SetHeader(TElfHeaderField field, std::uint64_t value)
{
    const TField f = headerField(is64_, field);
    put(f.offset, f.width, value);
}

void TElfImage::SetSection(int index, TElfSectionField field, std::uint64_t value)
{
    const TField f = sectionField(is64_, field);
    put(tableOffset_ + static_cast<std::size_t>(index) * SectionHeaderSize() + f.offset, f.width, value);
}

void TElfImage::put(std::size_t offset, std::size_t width, std::uint64_t value)
{
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t byte = big_ ? width - 1 - i : i;
        Bytes.at(offset + byte) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void WriteBytes(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return {all.begin(), all.end()};
}
