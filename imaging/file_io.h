#pragma once

#include "Exception.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

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

/// Writes FileName through a temporary file in the same folder that replaces
/// it only when Write returned and every byte reached the disk. On any
/// failure, an exception from Write included, the temporary file is removed
/// and a previous file of that name stays as it was. Raises EFCreateError.
void SaveFileAtomically(const QString& FileName, const std::function<void(QIODevice&)>& Write);
