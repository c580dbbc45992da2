// The photo's road from a file: TBitmap32::LoadFromFile into the main
// window's view, then the photo cell of a sheet, as "Print Now" renders it.
#include "fuzz_support.h"

#include "bitmap32.h"
#include "image_view.h"
#include "printer.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "test_printer.h"

#include "Exception.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    // A 150 dpi printer keeps the cell small: the cost per input is the
    // decoder's, not the resampler's.
    static TImage32* view = [] {
        SetPrinter(std::make_unique<TTestPrinter>(1240, 1754, 150, 150));
        auto* v = new TImage32;
        v->resize(151, 201);
        v->SetScaleMode(smResize);
        v->Bitmap().SetStretchFilter(sfMitchell);
        return v;
    }();
    static TIDPrinter* sheet = new TIDPrinter;

    const QString path = WriteFuzzFile(QStringLiteral("photo.jpg"), FuzzBytes(data, size));
    try {
        view->Bitmap().LoadFromFile(path);
    } catch (const Exception&) {
        return 0;   // refused with a message: the previous photo stays
    }
    if (!view->Bitmap().Empty())
        RenderPhotoCell(*view, *sheet);
    return 0;
}
