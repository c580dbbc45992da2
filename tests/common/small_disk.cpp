#include "small_disk.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

TSmallDisk::TSmallDisk(std::int64_t bytes)
{
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder to mount on");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(static_cast<qlonglong>(bytes)) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
        reason_ = QStringLiteral("cannot mount a small tmpfs here (%1); the full-disk and read-only "
                                 "cases need the superuser")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

TSmallDisk::~TSmallDisk()
{
    // Detached at once even if a test left a file open; the folder is then
    // empty again for QTemporaryDir to remove.
    if (mounted_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool TSmallDisk::Fill(const QString& name)
{
    const int fd = ::open(QFile::encodeName(FilePath(name)).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const std::vector<char> block(4096, 'F');
    bool full = false;
    while (!full) {
        const ssize_t n = ::write(fd, block.data(), block.size());
        full = n < 0 && errno == ENOSPC;
        if (n < 0 && !full)
            break;
        // Short writes end in ENOSPC on the next call.
    }
    ::close(fd);
    return full;
}

bool TSmallDisk::MakeReadOnly()
{
    return ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                   MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
