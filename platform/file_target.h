#pragma once

#include <QString>

#include <optional>

// What every writer of a user's file checks before it replaces the file, so
// that the JPEG page, the PDF page and the other outputs behave alike.

/// The name that a write to FileName must replace: FileName itself, or, when
/// it is a symbolic link, the end of its whole chain of links (each relative
/// link read from its own folder), which need not exist yet. Replacing the
/// first link instead would cut the chain and leave the real file old. None,
/// with errno set to ELOOP, for a chain that loops or is longer than 40 links.
std::optional<QString> FinalLinkTarget(const QString& FileName);

/// True when FileName names an existing file that is write-protected: none
/// of its write permission bits is set (which even the superuser respects
/// here), or the user's permissions do not allow writing it. Writers refuse such a file with the
/// system's text for EACCES.
bool IsWriteProtected(const QString& FileName);

/// True when FileName, or the folder a new FileName would be made in, lies
/// on a file system mounted read-only: the disk refuses the write, whatever
/// the file's own permissions say. Writers report that with the system's
/// text for EROFS, never as a write-protected file.
bool IsOnReadOnlyDisk(const QString& FileName);

/// Forces the file's contents to the disk; false, with errno set, when it
/// cannot be opened or synced.
bool SyncFileToDisk(const QString& FileName);

/// The error number of a failed attempt to create or write FileName, for a
/// writer whose library reports it only as text: the reason the folder it
/// lies in gives (missing, no folder, no permission, a read-only disk), else
/// `Reported` (errno right after the failed call), else EIO.
int WriteErrorNumber(const QString& FileName, int Reported);
