#include "colour_profile.h"

#include "bitmap32.h"

#include <lcms2.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

struct TProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TTransformDeleter {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
using TProfile = std::unique_ptr<void, TProfileCloser>;
using TTransform = std::unique_ptr<void, TTransformDeleter>;

QByteArray makeSRGBBytes()
{
    const TProfile profile(cmsCreate_sRGBProfile());
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0)
        return {};
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size) || size < 36)
        return {};
    // The header's creation time (six 16-bit numbers from byte 24) would be
    // the moment of saving: fixed, every file written says sRGB the same way,
    // byte for byte, and a photo written here is known again on loading.
    const unsigned char created[12] = {0x07, 0xE8, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0};   // 2024-01-01 00:00:00
    std::copy(std::begin(created), std::end(created), bytes.begin() + 24);
    return bytes;
}

}  // namespace

const QByteArray& SRGBProfileBytes()
{
    static const QByteArray bytes = makeSRGBBytes();
    return bytes;
}

bool ConvertToSRGB(TBitmap32& Bitmap, const QByteArray& Profile)
{
    if (Profile.isEmpty() || Bitmap.Empty())
        return false;
    const TProfile source(cmsOpenProfileFromMem(Profile.constData(), static_cast<cmsUInt32Number>(Profile.size())));
    // A gray or CMYK profile cannot describe the RGB pixels decoded here.
    if (!source || cmsGetColorSpace(source.get()) != cmsSigRgbData)
        return false;
    const TProfile target(cmsCreate_sRGBProfile());
    // 0xAARRGGBB lies in memory as blue, green, red, alpha.
    const TTransform transform(cmsCreateTransform(source.get(), TYPE_BGRA_8, target.get(), TYPE_BGRA_8,
                                                  INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA));
    if (!transform)
        return false;
    for (int y = 0; y < Bitmap.Height(); ++y) {
        TColor32* row = Bitmap.ScanLine(y);
        cmsDoTransform(transform.get(), row, row, static_cast<cmsUInt32Number>(Bitmap.Width()));
    }
    return true;
}
