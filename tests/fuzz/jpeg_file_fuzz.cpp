// The photo's road from a file: TBitmap32::LoadFromFile as the main window
// loads it, then the photo cell of a sheet, as "Print Now" renders it.
#include "fuzz_support.h"

#include "bitmap32.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "test_printer.h"

#include "exception.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    // A 150 dpi printer keeps the cell small: the cost per input is the
    // decoder's, not the resampler's.
    static TTestPrinter* printer = new TTestPrinter(1240, 1754, 150, 150);
    static TIDPrinter* sheet = new TIDPrinter(*printer);
    static TBitmap32* photo = [] {
        auto* p = new TBitmap32;
        p->SetStretchFilter(sfMitchell);
        return p;
    }();

    const QString path = WriteFuzzFile(QStringLiteral("photo.jpg"), FuzzBytes(data, size));
    try {
        photo->LoadFromFile(path);
    } catch (const Exception&) {
        return 0;   // refused with a message: the previous photo stays
    }
    if (!photo->Empty())
        RenderPhotoCell(*photo, kMainPhotoViewLook, *sheet);
    return 0;
}
