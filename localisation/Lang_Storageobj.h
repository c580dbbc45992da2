#pragma once

#include "exception.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

/// Raised by every write (and Erase) while ReadOnly reads true.
QRL_DECLARE_EXCEPTION(EStorefileReadOnly, Exception);

/// An append-only file of tagged records behind an optional signature.
///
/// Layout, all integers 32-bit signed little-endian:
///   signature bytes (S bytes, no length, no terminator) | record count N |
///   N records of: size field = L + 8 | tag | L data bytes | trailer = L + 12
/// The size field and the trailer let a reader step forward and backward
/// without an index. The header count is the one of the last Close.
///
/// The stored lengths are not trusted: a size field or trailer that is
/// negative, too small for a record or reaches past the end of the file ends
/// navigation there, as if the file ended at that record. Nothing is ever read
/// outside the file and no read allocates more than the file holds.
///
/// A writable storage holds an exclusive lock on its file; a read-only one a
/// shared lock (others may read, not write). One caller at a time.
class TStorefile {
public:
    TStorefile() = default;
    TStorefile(const TStorefile&) = delete;
    TStorefile& operator=(const TStorefile&) = delete;
    /// Closes the file (writing the count back when writable).
    ~TStorefile();

    QByteArray Signature() const { return FSignature; }
    void SetSignature(const QByteArray& value) { FSignature = value; }
    QString Filename() const { return FFilename; }
    void SetFilename(const QString& value) { FFilename = value; }
    /// True when set, and while the open file could only be opened for reading.
    bool ReadOnly() const { return FReadOnly || FOpenedReadOnly; }
    /// Sets the requested flag only; takes effect at once for the write checks.
    void SetReadOnly(bool value) { FReadOnly = value; }

    bool Opened() const { return FHandle >= 0; }
    bool OpenedReadOnly() const { return FOpenedReadOnly; }

    /// Opens Filename, or creates it (with missing directories, also when
    /// ReadOnly is set) when it does not exist. A name without a directory part
    /// gets the current directory in front and keeps it. Does nothing when open
    /// or when Filename is empty. Failures, a signature mismatch and a file too
    /// short for its header leave the storage closed without an error.
    void Open();
    /// Writes the count back when records were appended, then closes. False
    /// when that count could not be written.
    bool Close();
    /// Deletes the file; an open storage is closed first and re-opened, which
    /// creates a fresh empty file. Raises EStorefileReadOnly when ReadOnly.
    void Erase();

    /// Records in the file; 0 when closed.
    std::int32_t RecordCount() const { return FRecordCount; }
    /// 0-based current record; RecordCount when after the last one.
    std::int32_t RecordIndex() const { return FRecordIndex; }
    /// True when closed, after the last record, or at a damaged record.
    bool Eof() const;

    bool First();
    /// False when closed, when the last trailer is damaged, or once a damaged
    /// record was met.
    bool Last();
    /// False at Eof (also at a damaged size field); does not move then.
    bool Next();
    /// False when closed, at record 0 or before a damaged trailer.
    bool Prior();
    /// Walks to record `index` from the nearest of the current, the first and
    /// the last record. Out-of-range indexes are ignored; a damaged record on
    /// the way stops the walk there.
    void GoToRecord(std::int32_t index);
    /// Walks every record from the first, checking each size field against
    /// its trailer: true when exactly RecordCount intact records fill the file
    /// to its end. Leaves the storage at record 0.
    bool Verify();

    /// Data length L of the current record without moving; 0 at Eof.
    std::int32_t DataSize();
    /// Reads the current record's tag and up to `length` data bytes into
    /// `buffer` (all L when `length` is negative or larger); `length` returns
    /// the number read. With `advance` the next record becomes current. At Eof
    /// the length becomes 0 and the result is tag 0.
    std::int32_t ReadData(void* buffer, std::int32_t& length, bool advance);
    /// Reads all of the current record's data; empty with tag 0 at Eof.
    std::int32_t ReadString(QByteArray& s, bool advance);
    /// Reads up to 4 data bytes into the low-order bytes of `value`; the bytes
    /// a shorter record does not hold keep their previous content.
    std::int32_t ReadInteger(std::int32_t& value, bool advance);

    /// Appends a record when positioned after the last one; returns the new
    /// record count, or 0 when nothing was written (closed, not at the end, or
    /// the write failed). Raises EStorefileReadOnly when ReadOnly.
    std::int32_t WriteData(std::int32_t tag, const void* buffer, std::int32_t length);
    std::int32_t WriteString(std::int32_t tag, const QByteArray& s);
    std::int32_t WriteInteger(std::int32_t tag, std::int32_t value);

private:
    bool openExisting(const QByteArray& path);
    bool createNew(const QByteArray& path);
    bool readAt(std::int64_t offset, void* buffer, std::int64_t length) const;
    bool readInt32At(std::int64_t offset, std::int32_t& value) const;
    bool writeAt(std::int64_t offset, const void* buffer, std::int64_t length) const;
    /// Data length of the record at Position, or -1 when its size field is
    /// damaged (which then ends navigation there).
    std::int64_t currentDataLength();
    void checkWritable() const;
    void reset();

    QByteArray FSignature;
    QString FFilename;
    bool FReadOnly = false;
    bool FOpenedReadOnly = false;
    int FHandle = -1;
    std::int32_t FRecordCount = 0;
    std::int32_t FRecordIndex = 0;
    std::int64_t FPosition = 0;
    std::int64_t FDataStart = 0;
    std::int64_t FEndPosition = 0;
    /// Where navigation ends: EndPosition, or the first damaged record found.
    std::int64_t FNavigationEnd = 0;
    bool FCountChanged = false;
};
