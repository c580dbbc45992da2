#pragma once

#include "exception.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

class QFile;
class QIODevice;

/// A file the system refused, with the file's name and the system's error
/// number (an errno value: ENOENT, EACCES, ENOSPC, ...) beside the message,
/// so that a window can say which and why in the user's language.
class EFileError : public Exception {
public:
    EFileError(QString message, QString fileName, int errorNumber)
        : Exception(std::move(message)), FileName(std::move(fileName)), ErrorNumber(errorNumber)
    {
    }
    const QString FileName;   ///< as given; empty for a device that is no file
    const int ErrorNumber;
};

/// A file that cannot be opened for reading:
/// "Impossible d'ouvrir le fichier "<full name>". <system error text>".
/// A file above the reading limit gives EFBIG.
class EFOpenError : public EFileError {
    using EFileError::EFileError;
};
/// A file that cannot be created or written:
/// "Impossible de créer le fichier "<full name>". <system error text>".
class EFCreateError : public EFileError {
    using EFileError::EFileError;
};

/// Opens File for reading; raises EFOpenError with its full name.
void OpenForReading(QFile& File);

/// Reads what remains of Device. Raises EFOpenError (naming the device's file,
/// if it is one) when the read fails or more than Limit bytes remain.
QByteArray ReadAtMost(QIODevice& Device, std::int64_t Limit);

/// Writes all of Bytes to Device; raises EFCreateError when it cannot.
void WriteAll(QIODevice& Device, const QByteArray& Bytes);

/// A file written piece by piece through a temporary file in the same folder,
/// which replaces FileName only on Commit, once every byte is on disk; the
/// file keeps the permissions of the one it replaces. A symbolic link is
/// followed to the end of its chain, not replaced; a write-protected file is
/// refused when the writer is made. Every failure raises EFCreateError naming
/// FileName with the system's error text; without a Commit, or after a
/// failure, the temporary file is removed and a previous file of that name
/// stays as it was.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(const QString& FileName);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    void Write(const char* Data, std::size_t Size);
    /// Syncs the temporary file and renames it onto the target.
    void Commit();

private:
    QString FFileName;
    QByteArray FTarget;
    QByteArray FTemporary;   // empty once it is gone or became the target
    int FFd = -1;
    unsigned FMode = 0;
};

/// Writes Bytes as FileName through a temporary file in the same folder that
/// replaces it only once every byte is on disk; the file keeps the permissions
/// of the one it replaces. A symbolic link is followed to the end of its
/// chain, not replaced; a write-protected file is refused. On any
/// failure the temporary file is removed, a previous file of that name stays
/// as it was, and EFCreateError names FileName with the system's error text.
void SaveFileAtomically(const QString& FileName, const QByteArray& Bytes);
