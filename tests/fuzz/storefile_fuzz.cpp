// A storage file walked every way: forward, backward, by index, verified,
// and read with every reader, then appended to.
#include "fuzz_support.h"

#include "Lang_Storageobj.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the signature's length (0 to 17 bytes of the
    // language files' own), the rest is the file.
    if (size < 1)
        return 0;
    static const QByteArray kSignature("ZOQ LANGUAGE FILE");
    const QByteArray signature = kSignature.left(data[0] % (kSignature.size() + 1));
    const QString path = WriteFuzzFile(QStringLiteral("storage.dat"), FuzzBytes(data + 1, size - 1));

    TStorefile storage;
    storage.SetSignature(signature);
    storage.SetFilename(path);
    storage.SetReadOnly(true);
    storage.Open();
    if (!storage.Opened())
        return 0;
    storage.Verify();
    QByteArray text;
    std::int32_t value = 0;
    char buffer[16];
    // A walk is bounded by the file: every step reads at least a record header.
    for (storage.First(); !storage.Eof();) {
        std::int32_t length = sizeof buffer;
        storage.DataSize();
        storage.ReadData(buffer, length, false);
        storage.ReadInteger(value, false);
        storage.ReadString(text, true);
    }
    for (bool more = storage.Last(); more; more = storage.Prior())
        storage.DataSize();
    const std::int32_t count = storage.RecordCount();
    for (const std::int32_t index : {count / 2, count - 1, 0, count, -1, count / 3})
        storage.GoToRecord(index);
    storage.Close();

    // Writable: appending after the last record keeps the file walkable.
    storage.SetReadOnly(false);
    storage.Open();
    if (storage.Opened()) {
        storage.Last();
        storage.Next();
        storage.WriteString(7, QByteArray("appended"));
        storage.Close();
    }
    return 0;
}
