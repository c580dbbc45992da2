// quorlo-sheet's command line: the input split at NUL bytes into arguments.
#include "fuzz_support.h"

#include "sheet_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QStringList args;
    for (const QByteArray& arg : FuzzBytes(data, size).split('\0'))
        args << QString::fromUtf8(arg);
    try {
        ParseSheetOptions(args);
    } catch (const ESheetUsage&) {
    }
    return 0;
}
