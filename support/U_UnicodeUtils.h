#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

/// True when file names are handed to the system as UTF-8 byte strings (the
/// "wide" file functions); false when every name is first converted to the
/// character set of the current locale (the "narrow" functions), so a name
/// that set cannot express names no file. Set once by the start-up probe,
/// before main().
bool WideApiAvailable();

/// Overrides the probe's choice (start-up code and tests only).
void SetWideApiAvailable(bool value);

/// The start-up probe: whether a search of the system's root folder works
/// through a UTF-8 name. The module runs it once and keeps the answer.
bool ProbeWideApi();

/// The byte string the system gets for `Name`, converted as WideApiAvailable
/// says; none when the name holds a NUL character (it would name another file)
/// or, in the narrow variant, a character the locale's character set lacks.
std::optional<std::string> NativeFileName(const QString& Name);

/// True when a file of that name exists and is not a directory.
bool WideFileExists(const QString& Name);

/// The size in bytes of the file's version block; 0 when the file has none or
/// cannot be read. Handle is set to 0, as the platform call does; nobody reads it.
std::uint32_t WideGetFileVersionInfoSize(const QString& Name, std::uint32_t& Handle);

/// Copies the file's version block into Buffer, at most Size bytes of it (a
/// shorter buffer holds a truncated block, which answers fewer queries).
/// False when the file has no block or Buffer is null.
bool WideGetFileVersionInfo(const QString& Name, std::uint32_t Handle, std::uint32_t Size,
                            void* Buffer);

/// The file version of the file's fixed version information as
/// "major.minor.release.build" (decimal, no leading zeros, up to 65535 each,
/// no prefix); "File not found" when no such file exists or it is a directory,
/// and "Unable to retrieve file version info" when it has no readable version.
QString GetFileVersionString(const QString& FileName);
