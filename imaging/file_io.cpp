#include "file_io.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

QString fullName(const QString& fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

[[noreturn]] void throwOpenError(const QString& fileName, const QString& reason)
{
    throw EFOpenError(QStringLiteral("Impossible d'ouvrir le fichier \"%1\". %2")
                          .arg(fullName(fileName), reason));
}

[[noreturn]] void throwCreateError(const QString& fileName, const QString& reason)
{
    throw EFCreateError(QStringLiteral("Impossible de créer le fichier \"%1\". %2")
                            .arg(fullName(fileName), reason));
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
    if (!File.open(QIODevice::ReadOnly))
        throwOpenError(File.fileName(), File.errorString());
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
        const qint64 n = Device.read(data.data() + old, wanted);
        if (n < 0)
            throwOpenError(deviceFileName(Device), Device.errorString());
        data.resize(old + n);
        if (data.size() > Limit)
            throwOpenError(deviceFileName(Device), QStringLiteral("Fichier trop volumineux (plus de %1 octets).").arg(Limit));
        // A short read ends a regular file; a pipe may deliver less at a time.
        if (n == 0 || (!Device.isSequential() && n < wanted))
            return data;
    }
}

void WriteAll(QIODevice& Device, const QByteArray& Bytes)
{
    if (Device.write(Bytes) != Bytes.size())
        throwCreateError(deviceFileName(Device), Device.errorString());
}

void SaveFileAtomically(const QString& FileName, const std::function<void(QIODevice&)>& Write)
{
    QSaveFile file(FileName);
    // Without a temporary file next to the target there is no safe way to
    // replace it, so never fall back to writing over the target directly.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throwCreateError(FileName, file.errorString());
    // An exception from Write leaves through QSaveFile's destructor, which
    // removes the uncommitted temporary file.
    Write(file);
    if (file.error() != QFileDevice::NoError || !file.commit())
        throwCreateError(FileName, file.errorString());
}
