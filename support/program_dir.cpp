#include "program_dir.h"

#include <QCoreApplication>
#include <QFile>

#include <climits>

#include <fcntl.h>
#include <unistd.h>

QString PathOfNativeDirectory(const QByteArray& nativePath)
{
    const QString decoded = QFile::decodeName(nativePath);
    if (QFile::encodeName(decoded) == nativePath)
        return decoded;
    // Qt's strings cannot hold the bytes of this name: a descriptor of the
    // folder stands in, so files beside it are still found and written there.
    const int fd = ::open(nativePath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

QString ProgramDirectory()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n > 0 && n < static_cast<ssize_t>(sizeof buffer)) {
        QByteArray exe(buffer, n);
        exe.truncate(exe.lastIndexOf('/'));
        const QString dir = PathOfNativeDirectory(exe.isEmpty() ? QByteArray("/") : exe);
        if (!dir.isEmpty())
            return dir;
    }
    return QCoreApplication::applicationDirPath();
}
