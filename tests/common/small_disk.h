#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cstdint>

/// A small tmpfs mounted on a temporary folder for the life of the object,
/// to make a disk run full or turn read-only under a writer. Mounting needs
/// the superuser; where it is impossible Mounted() is false and Reason()
/// says why, for GTEST_SKIP.
class TSmallDisk {
public:
    explicit TSmallDisk(std::int64_t bytes);
    ~TSmallDisk();
    TSmallDisk(const TSmallDisk&) = delete;
    TSmallDisk& operator=(const TSmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const QString& Reason() const { return reason_; }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }
    QString Path() const { return dir_.path(); }

    /// Fills every free byte with the file `name`; false if it could not.
    bool Fill(const QString& name);
    /// Mounts the disk again read-only; false if it could not.
    bool MakeReadOnly();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};
