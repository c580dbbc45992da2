#include "Lang_Storageobj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Bytes of a record besides its data: size field, tag and trailer.
constexpr std::int64_t kRecordOverhead = 12;

void putInt32(unsigned char* p, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

std::int32_t getInt32(const unsigned char* p)
{
    const std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                            std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    return static_cast<std::int32_t>(v);
}

/// Takes a lock without waiting. Only another holder refuses it: a file
/// system that knows no locks lets the file be used unlocked.
bool lock(int fd, int operation)
{
    if (::flock(fd, operation | LOCK_NB) == 0)
        return true;
    return errno != EWOULDBLOCK && errno != EINTR;
}

/// Opens `path` and takes the lock that stands for the sharing mode: a shared
/// lock lets others read, an exclusive one lets nobody else in. Returns -1
/// when either step fails.
int openLocked(const QByteArray& path, int flags, int lockOperation)
{
    // Without blocking: a named pipe put where a file was would otherwise
    // wait for a writer for ever.
    const int fd = ::open(path.constData(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {};
    // A directory, a pipe or a device opens too; only a regular file is a storage.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !lock(fd, lockOperation)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

TStorefile::~TStorefile()
{
    Close();
}

void TStorefile::reset()
{
    FHandle = -1;
    FRecordCount = 0;
    FRecordIndex = 0;
    FPosition = 0;
    FDataStart = 0;
    FEndPosition = 0;
    FNavigationEnd = 0;
    FCountChanged = false;
}

void TStorefile::Open()
{
    if (Opened() || FFilename.isEmpty())
        return;
    if (!FFilename.contains(u'/'))
        FFilename = QDir::currentPath() + u'/' + FFilename;
    const QByteArray path = QFile::encodeName(FFilename);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0)
        openExisting(path);
    else
        createNew(path);
}

bool TStorefile::openExisting(const QByteArray& path)
{
    int fd = -1;
    if (FReadOnly) {
        fd = openLocked(path, O_RDONLY, LOCK_SH);
        FOpenedReadOnly = fd >= 0;
    } else {
        fd = openLocked(path, O_RDWR, LOCK_EX);
        FOpenedReadOnly = false;
    }
    if (fd < 0) {
        fd = openLocked(path, O_RDONLY, LOCK_EX);
        FOpenedReadOnly = fd >= 0;
    }
    if (fd < 0)
        return false;
    FHandle = fd;

    struct stat st {};
    const std::int64_t headerSize = FSignature.size() + 4;
    QByteArray head(static_cast<qsizetype>(headerSize), '\0');
    std::int32_t count = 0;
    if (::fstat(fd, &st) != 0 || !readAt(0, head.data(), headerSize) ||
        head.left(FSignature.size()) != FSignature) {
        ::close(fd);
        reset();
        FOpenedReadOnly = false;
        return false;
    }
    count = getInt32(reinterpret_cast<const unsigned char*>(head.constData()) + FSignature.size());

    FDataStart = headerSize;
    FPosition = headerSize;
    FEndPosition = st.st_size;
    FNavigationEnd = FEndPosition;
    FRecordIndex = 0;
    // The header count is not trusted either: no file holds more records than
    // fit in it, and a negative count means none.
    const std::int64_t fitting = (FEndPosition - FDataStart) / kRecordOverhead;
    FRecordCount = static_cast<std::int32_t>(std::clamp<std::int64_t>(count, 0, fitting));
    FCountChanged = false;
    return true;
}

bool TStorefile::createNew(const QByteArray& path)
{
    const QString dir = QFileInfo(FFilename).absolutePath();
    if (!QDir().mkpath(dir))
        return false;
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    FHandle = fd;
    QByteArray head = FSignature;
    head.append(4, '\0');
    if (!lock(fd, LOCK_EX) || !writeAt(0, head.constData(), head.size())) {
        ::close(fd);
        ::unlink(path.constData());
        reset();
        return false;
    }
    FOpenedReadOnly = false;
    FDataStart = head.size();
    FPosition = FDataStart;
    FEndPosition = FDataStart;
    FNavigationEnd = FDataStart;
    FRecordIndex = 0;
    FRecordCount = 0;
    FCountChanged = false;
    return true;
}

bool TStorefile::Close()
{
    const bool openedReadOnly = FOpenedReadOnly;
    FOpenedReadOnly = false;
    if (!Opened())
        return true;
    bool written = true;
    // Only a count that appends changed is written: a damaged header whose
    // count was corrected in memory stays as the user left it.
    if (!openedReadOnly && FCountChanged) {
        unsigned char bytes[4];
        putInt32(bytes, FRecordCount);
        written = writeAt(FDataStart - 4, bytes, 4);
    }
    if (::close(FHandle) != 0)
        written = false;
    reset();
    return written;
}

void TStorefile::checkWritable() const
{
    if (ReadOnly())
        throw EStorefileReadOnly(QStringLiteral("Attempt to write a data while in ReadOnly mode"));
}

void TStorefile::Erase()
{
    checkWritable();
    if (Opened()) {
        Close();
        QFile::remove(FFilename);
        Open();
        return;
    }
    if (!FFilename.isEmpty())
        QFile::remove(FFilename);
}

bool TStorefile::readAt(std::int64_t offset, void* buffer, std::int64_t length) const
{
    auto* p = static_cast<char*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pread(FHandle, p, static_cast<size_t>(length), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        offset += n;
        length -= n;
    }
    return true;
}

bool TStorefile::readInt32At(std::int64_t offset, std::int32_t& value) const
{
    unsigned char bytes[4];
    if (offset < 0 || !readAt(offset, bytes, 4))
        return false;
    value = getInt32(bytes);
    return true;
}

bool TStorefile::writeAt(std::int64_t offset, const void* buffer, std::int64_t length) const
{
    const auto* p = static_cast<const char*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pwrite(FHandle, p, static_cast<size_t>(length), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        offset += n;
        length -= n;
    }
    return true;
}

bool TStorefile::Eof() const
{
    return !Opened() || FPosition >= FNavigationEnd;
}

std::int64_t TStorefile::currentDataLength()
{
    std::int32_t size = 0;
    // A damaged size field ends the walk: trust no length past the file's end.
    if (!readInt32At(FPosition, size) || size < 8 || FPosition + 4 + size > FEndPosition) {
        FNavigationEnd = FPosition;
        return -1;
    }
    return std::int64_t{size} - 8;
}

bool TStorefile::First()
{
    FRecordIndex = 0;
    if (!Opened())
        return false;
    FPosition = FDataStart;
    return true;
}

bool TStorefile::Last()
{
    if (!Opened())
        return false;
    if (FRecordCount == 0)
        return First();
    // Past a damaged record the file is taken to end there: no last record.
    if (FNavigationEnd != FEndPosition)
        return false;
    std::int32_t trailer = 0;
    if (!readInt32At(FEndPosition - 4, trailer) || trailer < kRecordOverhead ||
        FEndPosition - trailer < FDataStart)
        return false;
    FPosition = FEndPosition - trailer;
    FRecordIndex = FRecordCount - 1;
    return true;
}

bool TStorefile::Next()
{
    if (Eof())
        return false;
    const std::int64_t length = currentDataLength();
    if (length < 0)
        return false;
    FPosition += length + kRecordOverhead;
    ++FRecordIndex;
    return true;
}

bool TStorefile::Prior()
{
    if (!Opened() || FRecordIndex == 0 || FPosition <= FDataStart)
        return false;
    std::int32_t trailer = 0;
    if (!readInt32At(FPosition - 4, trailer) || trailer < kRecordOverhead ||
        FPosition - trailer < FDataStart)
        return false;
    FPosition -= trailer;
    --FRecordIndex;
    return true;
}

void TStorefile::GoToRecord(std::int32_t index)
{
    if (!Opened() || index < 0 || index >= FRecordCount || index == FRecordIndex)
        return;
    // Every step either moves by at least one record or stops the walk, so a
    // damaged file cannot keep it going.
    const auto forward = [&] {
        while (FRecordIndex < index && Next()) {
        }
    };
    const auto backward = [&] {
        while (FRecordIndex > index && Prior()) {
        }
    };
    if (index < FRecordIndex) {
        if (index < FRecordIndex - index) {
            First();
            forward();
        } else {
            backward();
        }
        return;
    }
    if (index - FRecordIndex < FRecordCount - index) {
        forward();
    } else if (Last()) {
        backward();
    } else {
        forward();
    }
}

bool TStorefile::Verify()
{
    if (!First())
        return false;
    std::int64_t position = FDataStart;
    std::int64_t records = 0;
    while (position < FEndPosition) {
        std::int32_t size = 0;
        std::int32_t trailer = 0;
        if (!readInt32At(position, size) || size < 8 || position + 4 + size > FEndPosition ||
            !readInt32At(position + size, trailer) || std::int64_t{trailer} != std::int64_t{size} + 4 ||
            ++records > FRecordCount)
            return false;
        position += std::int64_t{size} + 4;
    }
    return records == FRecordCount;
}

std::int32_t TStorefile::DataSize()
{
    if (Eof())
        return 0;
    const std::int64_t length = currentDataLength();
    return length < 0 ? 0 : static_cast<std::int32_t>(length);
}

std::int32_t TStorefile::ReadData(void* buffer, std::int32_t& length, bool advance)
{
    const std::int64_t available = Eof() ? -1 : currentDataLength();
    std::int32_t tag = 0;
    if (available < 0) {
        length = 0;
        return 0;
    }
    if (length < 0 || length > available)
        length = static_cast<std::int32_t>(available);
    if (!readInt32At(FPosition + 4, tag) || (length > 0 && !readAt(FPosition + 8, buffer, length))) {
        FNavigationEnd = FPosition;
        length = 0;
        return 0;
    }
    if (advance) {
        FPosition += available + kRecordOverhead;
        ++FRecordIndex;
    }
    return tag;
}

std::int32_t TStorefile::ReadString(QByteArray& s, bool advance)
{
    // The length was checked against the file's size, so this allocation is
    // never more than the file holds.
    const std::int32_t length = DataSize();
    s.resize(length);
    std::int32_t read = length;
    const std::int32_t tag = ReadData(s.data(), read, advance);
    s.resize(read);
    return tag;
}

std::int32_t TStorefile::ReadInteger(std::int32_t& value, bool advance)
{
    unsigned char bytes[4] = {};
    std::int32_t length = 4;
    const std::int32_t tag = ReadData(bytes, length, advance);
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < length; ++i) {
        v &= ~(std::uint32_t{0xFF} << (8 * i));
        v |= std::uint32_t{bytes[i]} << (8 * i);
    }
    value = static_cast<std::int32_t>(v);
    return tag;
}

std::int32_t TStorefile::WriteData(std::int32_t tag, const void* buffer, std::int32_t length)
{
    checkWritable();
    if (!Opened() || FPosition != FEndPosition || length < 0 ||
        length > std::numeric_limits<std::int32_t>::max() - kRecordOverhead ||
        FRecordCount == std::numeric_limits<std::int32_t>::max())
        return 0;
    const std::int64_t total = length + kRecordOverhead;
    std::vector<unsigned char> record(static_cast<size_t>(total));
    putInt32(record.data(), length + 8);
    putInt32(record.data() + 4, tag);
    if (length > 0)
        std::memcpy(record.data() + 8, buffer, static_cast<size_t>(length));
    putInt32(record.data() + 8 + length, static_cast<std::int32_t>(total));
    if (!writeAt(FEndPosition, record.data(), total)) {
        // A half-written record would shift every later one: cut it off.
        if (::ftruncate(FHandle, static_cast<off_t>(FEndPosition)) != 0) {
        }
        return 0;
    }
    FPosition += total;
    FEndPosition += total;
    FNavigationEnd = FEndPosition;
    ++FRecordIndex;
    ++FRecordCount;
    FCountChanged = true;
    return FRecordCount;
}

std::int32_t TStorefile::WriteString(std::int32_t tag, const QByteArray& s)
{
    return WriteData(tag, s.constData(), static_cast<std::int32_t>(s.size()));
}

std::int32_t TStorefile::WriteInteger(std::int32_t tag, std::int32_t value)
{
    unsigned char bytes[4];
    putInt32(bytes, value);
    return WriteData(tag, bytes, 4);
}
