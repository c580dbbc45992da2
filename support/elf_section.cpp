#include "elf_section.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace {

// An open regular file and its size; every read is checked against that size.
class TFileBytes {
public:
    explicit TFileBytes(const std::string& path)
    {
        // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0)
            return;
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
            close();
            return;
        }
        size_ = static_cast<std::uint64_t>(st.st_size);
    }
    ~TFileBytes() { close(); }
    TFileBytes(const TFileBytes&) = delete;
    TFileBytes& operator=(const TFileBytes&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    std::uint64_t size() const { return size_; }

    bool contains(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= size_ && count <= size_ - offset;
    }

    bool read(std::uint64_t offset, std::size_t count, std::uint8_t* dest) const
    {
        if (!contains(offset, count))
            return false;
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::pread(fd_, dest + done, count - done,
                                      static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            // The file may have shrunk since fstat: a short read is damage.
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Reads one unsigned field of the file's byte order.
std::uint64_t field(const std::uint8_t* p, std::size_t width, bool bigEndian)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t byte = bigEndian ? i : width - 1 - i;
        v = (v << 8) | p[byte];
    }
    return v;
}

#define QRL_FIELD(bytes, Struct, member, bigEndian) \
    field((bytes) + offsetof(Struct, member), sizeof(Struct::member), (bigEndian))

struct TSection {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t link = 0;
};

// The section table of one ELF class: Ehdr and Shdr are <elf.h>'s structures,
// whose members sit exactly where the file format puts them.
template <class Ehdr, class Shdr>
class TSectionTable {
public:
    TSectionTable(const TFileBytes& file, bool bigEndian) : file_(file), big_(bigEndian) {}

    bool load()
    {
        std::uint8_t h[sizeof(Ehdr)];
        if (!file_.read(0, sizeof h, h))
            return false;
        offset_ = QRL_FIELD(h, Ehdr, e_shoff, big_);
        entrySize_ = QRL_FIELD(h, Ehdr, e_shentsize, big_);
        count_ = QRL_FIELD(h, Ehdr, e_shnum, big_);
        names_ = QRL_FIELD(h, Ehdr, e_shstrndx, big_);
        if (offset_ == 0 || entrySize_ < sizeof(Shdr))
            return false;

        // Files with many sections keep the true count and name-table index
        // in the first section header.
        const std::uint64_t declared = count_;
        if (declared == 0 || names_ == SHN_XINDEX) {
            TSection first;
            count_ = 1;
            if (!section(0, first))
                return false;
            count_ = declared == 0 ? first.size : declared;
            if (names_ == SHN_XINDEX)
                names_ = first.link;
        }
        // The whole table must lie inside the file, whatever the header claims.
        if (offset_ > file_.size() || count_ > (file_.size() - offset_) / entrySize_)
            return false;
        return names_ < count_;
    }

    bool section(std::uint64_t index, TSection& s) const
    {
        if (index >= count_)
            return false;
        std::uint8_t b[sizeof(Shdr)];
        // index < count_ <= file size / entry size: the product cannot overflow.
        if (!file_.read(offset_ + index * entrySize_, sizeof b, b))
            return false;
        s.name = static_cast<std::uint32_t>(QRL_FIELD(b, Shdr, sh_name, big_));
        s.type = static_cast<std::uint32_t>(QRL_FIELD(b, Shdr, sh_type, big_));
        s.offset = QRL_FIELD(b, Shdr, sh_offset, big_);
        s.size = QRL_FIELD(b, Shdr, sh_size, big_);
        s.link = static_cast<std::uint32_t>(QRL_FIELD(b, Shdr, sh_link, big_));
        return true;
    }

    std::optional<std::vector<std::uint8_t>> find(std::string_view name, std::uint64_t maxSize) const
    {
        TSection names;
        if (!section(names_, names) || names.type != SHT_STRTAB
            || !file_.contains(names.offset, names.size))
            return std::nullopt;
        for (std::uint64_t i = 1; i < count_; ++i) {
            TSection s;
            if (!section(i, s))
                return std::nullopt;
            if (!isNamed(names, s.name, name))
                continue;
            if (s.type == SHT_NOBITS || !file_.contains(s.offset, s.size))
                return std::nullopt;
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(s.size, maxSize)));
            if (!file_.read(s.offset, bytes.size(), bytes.data()))
                return std::nullopt;
            return bytes;
        }
        return std::nullopt;
    }

private:
    // The name must end with its NUL inside the name table.
    bool isNamed(const TSection& names, std::uint32_t at, std::string_view name) const
    {
        const std::uint64_t needed = name.size() + 1;
        if (at >= names.size || needed > names.size - at)
            return false;
        std::vector<std::uint8_t> stored(needed);
        if (!file_.read(names.offset + at, stored.size(), stored.data()))
            return false;
        return stored.back() == 0 && std::equal(name.begin(), name.end(), stored.begin());
    }

    const TFileBytes& file_;
    const bool big_;
    std::uint64_t offset_ = 0;
    std::uint64_t entrySize_ = 0;
    std::uint64_t count_ = 0;
    std::uint64_t names_ = 0;
};

template <class Ehdr, class Shdr>
std::optional<std::vector<std::uint8_t>> findIn(const TFileBytes& file, bool bigEndian,
                                                std::string_view name, std::uint64_t maxSize)
{
    TSectionTable<Ehdr, Shdr> table(file, bigEndian);
    if (!table.load())
        return std::nullopt;
    return table.find(name, maxSize);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& nativePath,
                                                        std::string_view name,
                                                        std::uint64_t maxSize)
{
    const TFileBytes file(nativePath);
    std::uint8_t ident[EI_NIDENT];
    if (!file.isOpen() || !file.read(0, sizeof ident, ident))
        return std::nullopt;
    if (ident[EI_MAG0] != ELFMAG0 || ident[EI_MAG1] != ELFMAG1 || ident[EI_MAG2] != ELFMAG2
        || ident[EI_MAG3] != ELFMAG3 || ident[EI_VERSION] != EV_CURRENT)
        return std::nullopt;
    if (ident[EI_DATA] != ELFDATA2LSB && ident[EI_DATA] != ELFDATA2MSB)
        return std::nullopt;
    const bool bigEndian = ident[EI_DATA] == ELFDATA2MSB;
    if (ident[EI_CLASS] == ELFCLASS64)
        return findIn<Elf64_Ehdr, Elf64_Shdr>(file, bigEndian, name, maxSize);
    if (ident[EI_CLASS] == ELFCLASS32)
        return findIn<Elf32_Ehdr, Elf32_Shdr>(file, bigEndian, name, maxSize);
    return std::nullopt;
}
