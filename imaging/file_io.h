#pragma once

#include "Exception.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class QFile;
class QIODevice;

/// A file that cannot be opened for reading:
/// "Impossible d'ouvrir le fichier "<full name>". <system error text>".
QRL_DECLARE_EXCEPTION(EFOpenError, Exception);
/// A file that cannot be created or written:
/// "Impossible de créer le fichier "<full name>". <system error text>".
QRL_DECLARE_EXCEPTION(EFCreateError, Exception);

/// Opens File for reading; raises EFOpenError with its full name.
void OpenForReading(QFile& File);

/// Reads what remains of Device. Raises EFOpenError (naming the device's file,
/// if it is one) when the read fails or more than Limit bytes remain.
QByteArray ReadAtMost(QIODevice& Device, std::int64_t Limit);

/// Writes all of Bytes to Device; raises EFCreateError when it cannot.
void WriteAll(QIODevice& Device, const QByteArray& Bytes);

/// Writes Bytes as FileName through a temporary file in the same folder that
/// replaces it only once every byte is on disk; the file keeps the permissions
/// of the one it replaces. A symbolic link is followed to the end of its
/// chain, not replaced; a write-protected file is refused. On any
/// failure the temporary file is removed, a previous file of that name stays
/// as it was, and EFCreateError names FileName with the system's error text.
void SaveFileAtomically(const QString& FileName, const QByteArray& Bytes);
