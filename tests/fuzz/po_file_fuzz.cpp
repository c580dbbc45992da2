// The PO reader of the translator's tool: any input is read or refused with
// EPoSyntax; what is read writes back to a PO file that reads the same.
#include "fuzz_support.h"

#include "po_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TPoFile po;
    try {
        po = ParsePo(FuzzBytes(data, size), QStringLiteral("fuzz.po"));
    } catch (const EPoSyntax&) {
        return 0;
    }
    const QByteArray written = WritePo(po);
    TPoFile again;
    try {
        again = ParsePo(written, QStringLiteral("written.po"));
    } catch (const EPoSyntax&) {
        __builtin_trap();   // the writer made a file its own reader refuses
    }
    if (again.Entries.size() != po.Entries.size())
        __builtin_trap();
    for (qsizetype i = 0; i < po.Entries.size(); ++i) {
        const TPoEntry& a = po.Entries[i];
        const TPoEntry& b = again.Entries[i];
        if (a.Context != b.Context || a.Id != b.Id || a.Str != b.Str)
            __builtin_trap();
    }
    return 0;
}
