#include "file_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// The kernel's own limit on links followed while resolving one name.
constexpr int kMaxLinks = 40;

}  // namespace

std::optional<QString> FinalLinkTarget(const QString& FileName)
{
    QString path = QFileInfo(FileName).absoluteFilePath();
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        const QByteArray native = QFile::encodeName(path);
        struct stat st {};
        if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(static_cast<qsizetype>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(native.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (n < 0)
            return std::nullopt;
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        path = QDir::cleanPath(QFileInfo(path).absoluteDir().absoluteFilePath(next));
    }
    errno = ELOOP;
    return std::nullopt;
}

bool IsWriteProtected(const QString& FileName)
{
    const QByteArray native = QFile::encodeName(FileName);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    // A read-only file system is not the file's protection: the write fails
    // on its own with that reason.
    return ::access(native.constData(), W_OK) != 0 && errno == EACCES;
}

bool IsOnReadOnlyDisk(const QString& FileName)
{
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(FileName).constData(), &fs) != 0
        && ::statvfs(QFile::encodeName(QFileInfo(FileName).absolutePath()).constData(), &fs) != 0)
        return false;
    return (fs.f_flag & ST_RDONLY) != 0;
}

bool SyncFileToDisk(const QString& FileName)
{
    const int fd = ::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

int WriteErrorNumber(const QString& FileName, int Reported)
{
    // What keeps a new file out of the folder is known for certain; the
    // failed call's errno may be that of a later call that tidied up.
    const QByteArray folder = QFile::encodeName(QFileInfo(FileName).absolutePath());
    struct stat st {};
    if (::stat(folder.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return errno;
    return Reported != 0 ? Reported : EIO;
}
