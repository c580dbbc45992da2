// The settings store reading a settings file made of the input: every value
// read as text and as a number, then one written back.
#include "fuzz_support.h"

#include "registry.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    static const bool folder = QDir().mkpath(FuzzFolder() + "/config/Varnel");
    (void)folder;
    WriteFuzzFile(QStringLiteral("config/Varnel/Quorlo.conf"), FuzzBytes(data, size));

    const QString key = QStringLiteral("Software\\Varnel\\Quorlo");
    {
        TRegistry registry(TRootKey::CurrentUser);
        if (registry.OpenKeyReadOnly(key)) {
            for (const char* name : {"langue", "photo", "General/langue", "", "\\"}) {
                registry.ValueExists(QString::fromLatin1(name));
                registry.ReadString(QString::fromLatin1(name));
                registry.ReadInteger(QString::fromLatin1(name));
            }
        }
    }
    TRegistry registry(TRootKey::CurrentUser);
    if (registry.OpenKey(key, true)) {
        registry.WriteInteger(QStringLiteral("langue"), 0x040C);
        registry.ReadInteger(QStringLiteral("langue"));
    }
    return 0;
}
