// PNG and HEIC photos on the road the main window loads them by: the
// picture loader's readers for their extensions, then the conversion of an
// embedded colour profile. What the bytes look like picks the name, so that
// mutations stay with the reader they started in.
#include "fuzz_support.h"

#include "bitmap32.h"
#include "picture.h"

#include "exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnsureFuzzApplication();
    static TBitmap32* photo = new TBitmap32;
    const QByteArray bytes = FuzzBytes(data, size);
    const QString name = PhotoKindOfContent(bytes.left(16)) == TPhotoKind::Heif ? QStringLiteral("photo.heic")
                                                                               : QStringLiteral("photo.png");
    try {
        photo->LoadFromFile(WriteFuzzFile(name, bytes));
    } catch (const Exception&) {
        return 0;   // refused with a message: the previous photo stays
    }
    return 0;
}
