#include "file_io.h"

#include "file_target.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString fullName(const QString& fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

[[noreturn]] void throwOpenError(const QString& fileName, int errorNumber, const QString& reason)
{
    throw EFOpenError(QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2").arg(fullName(fileName), reason),
                      fileName, errorNumber);
}

[[noreturn]] void throwCreateError(const QString& fileName, int errorNumber)
{
    throw EFCreateError(QStringLiteral("Impossible de créer le fichier \"%1\". %2")
                            .arg(fullName(fileName), qt_error_string(errorNumber)),
                        fileName, errorNumber);
}

// The reason a Qt file call just failed: errno as the system left it; Qt
// refuses a folder itself, and a failure without a reason counts as EIO.
int lastFileError(const QString& fileName)
{
    const int error = errno;
    if (error != 0)
        return error;
    return QFileInfo(fileName).isDir() ? EISDIR : EIO;
}

// The name for messages about a device: its file's, or none for a buffer.
QString deviceFileName(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return file ? file->fileName() : QString();
}

}  // namespace

void OpenForReading(QFile& File)
{
    errno = 0;
    if (!File.open(QIODevice::ReadOnly))
        throwOpenError(File.fileName(), lastFileError(File.fileName()), File.errorString());
}

QByteArray ReadAtMost(QIODevice& Device, std::int64_t Limit)
{
    // A regular file is read in one piece; a device or a pipe has no size to
    // trust, so it is read in pieces until it ends or passes the limit.
    qint64 piece = 1 << 16;
    if (!Device.isSequential())
        piece = std::max(piece, std::min<qint64>(Device.size() - Device.pos(), Limit) + 1);
    QByteArray data;
    for (;;) {
        const qsizetype old = data.size();
        const qint64 wanted = std::min<qint64>(piece, Limit + 1 - old);
        data.resize(old + wanted);
        errno = 0;
        const qint64 n = Device.read(data.data() + old, wanted);
        if (n < 0)
            throwOpenError(deviceFileName(Device), lastFileError(deviceFileName(Device)), Device.errorString());
        data.resize(old + n);
        if (data.size() > Limit) {
            throwOpenError(deviceFileName(Device), EFBIG,
                           QStringLiteral("Fichier trop volumineux (plus de %1 octets).").arg(Limit));
        }
        // A short read ends a regular file; a pipe may deliver less at a time.
        if (n == 0 || (!Device.isSequential() && n < wanted))
            return data;
    }
}

void WriteAll(QIODevice& Device, const QByteArray& Bytes)
{
    errno = 0;
    if (Device.write(Bytes) != Bytes.size())
        throwCreateError(deviceFileName(Device), lastFileError(deviceFileName(Device)));
}

TAtomicFileWriter::TAtomicFileWriter(const QString& FileName)
    : FFileName(FileName)
{
    // Renaming onto a link would replace the link; write the file at the end
    // of its chain.
    const std::optional<QString> resolved = FinalLinkTarget(FileName);
    if (!resolved)
        throwCreateError(FileName, errno);
    const QString& path = *resolved;
    if (IsWriteProtected(path))
        throwCreateError(FileName, EACCES);
    FTarget = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const QByteArray base = QFile::encodeName(QFileInfo(path).fileName()).left(200);

    FTemporary = folder + "/." + base + ".XXXXXX";
    FFd = ::mkstemp(FTemporary.data());
    if (FFd < 0) {
        FTemporary.clear();
        throwCreateError(FileName, errno);
    }

    // mkstemp makes the file private; it gets the mode the target has, or
    // the one a newly created file would get.
    struct stat existing {};
    if (::stat(FTarget.constData(), &existing) == 0) {
        FMode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        FMode = 0666 & ~mask;
    }
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    if (FFd >= 0)
        ::close(FFd);
    if (!FTemporary.isEmpty())
        ::unlink(FTemporary.constData());
}

void TAtomicFileWriter::Write(const char* Data, std::size_t Size)
{
    if (FFd < 0)
        throwCreateError(FFileName, EBADF);
    while (Size > 0) {
        const ssize_t n = ::write(FFd, Data, Size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throwCreateError(FFileName, n < 0 ? errno : EIO);
        Data += n;
        Size -= static_cast<std::size_t>(n);
    }
}

void TAtomicFileWriter::Commit()
{
    if (FFd < 0)
        throwCreateError(FFileName, EBADF);
    if (::fchmod(FFd, static_cast<mode_t>(FMode)) != 0 || ::fsync(FFd) != 0)
        throwCreateError(FFileName, errno);
    const int fd = std::exchange(FFd, -1);
    if (::close(fd) != 0 || ::rename(FTemporary.constData(), FTarget.constData()) != 0)
        throwCreateError(FFileName, errno);
    FTemporary.clear();   // it is the target now
}

void SaveFileAtomically(const QString& FileName, const QByteArray& Bytes)
{
    TAtomicFileWriter file(FileName);
    file.Write(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
    file.Commit();
}
