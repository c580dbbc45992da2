#include "jpeg_icc.h"

#include "jpeg_error.h"

#include <cstdlib>

namespace {

// A context of its own, so that the decoder's stays as it is: the markers
// are kept only here. Holds nothing with a destructor across the library's
// calls, which may longjmp back.
bool readProfile(const QByteArray& data, JOCTET** profile, unsigned* size)
{
    TJPEGErrorManager err{};
    jpeg_decompress_struct info{};
    info.err = InitJPEGErrorManager(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    const bool found = jpeg_read_icc_profile(&info, profile, size);
    jpeg_destroy_decompress(&info);
    return found;
}

}  // namespace

QByteArray ReadJPEGColourProfile(const QByteArray& Data)
{
    JOCTET* profile = nullptr;
    unsigned size = 0;
    if (!readProfile(Data, &profile, &size) || !profile)
        return {};
    QByteArray bytes(reinterpret_cast<const char*>(profile), static_cast<qsizetype>(size));
    std::free(profile);
    return bytes;
}
