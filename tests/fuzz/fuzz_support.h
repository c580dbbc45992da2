#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: a Qt application on the offscreen platform,
// created once per process, and a private folder for the files a target
// writes from its input.

/// Creates the application (offscreen, no display needed) on first use.
void EnsureFuzzApplication();

/// A folder of this process's own, removed at exit.
QString FuzzFolder();

/// Writes `bytes` as `name` in FuzzFolder(); returns the full path.
QString WriteFuzzFile(const QString& name, const QByteArray& bytes);

inline QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
