#include "heif_reader.h"

#include "file_io.h"
#include "graphic_error.h"
#include "jpeg_codec.h"
#include "picture.h"

#include <QFile>
#include <QFileInfo>

#include <libheif/heif.h>

#include <cstring>

namespace {

struct THeifDeleter {
    void operator()(heif_context* p) const { heif_context_free(p); }
    void operator()(const heif_image_handle* p) const { heif_image_handle_release(p); }
    void operator()(const heif_image* p) const { heif_image_release(p); }
    void operator()(heif_decoding_options* p) const { heif_decoding_options_free(p); }
};
template <typename T>
using THeif = std::unique_ptr<T, THeifDeleter>;

[[noreturn]] void refuse(const QString& fileName, const QString& why)
{
    throw EInvalidGraphic(QStringLiteral("Impossible de lire l'image HEIF \"%1\". %2")
                              .arg(QFileInfo(fileName).absoluteFilePath(), why));
}

void check(const heif_error& error, const QString& fileName)
{
    if (error.code != heif_error_Ok)
        refuse(fileName, QString::fromUtf8(error.message ? error.message : ""));
}

}  // namespace

std::unique_ptr<TBitmap> ReadHEIF(const QString& FileName)
{
    QFile file(FileName);
    OpenForReading(file);
    const QByteArray data = ReadAtMost(file, kMaxJPEGFileBytes);

    const THeif<heif_context> context(heif_context_alloc());
    if (!context)
        refuse(FileName, QString());
    check(heif_context_read_from_memory_without_copy(context.get(), data.constData(),
                                                     static_cast<std::size_t>(data.size()), nullptr),
          FileName);
    heif_image_handle* rawHandle = nullptr;
    check(heif_context_get_primary_image_handle(context.get(), &rawHandle), FileName);
    const THeif<const heif_image_handle> handle(rawHandle);

    CheckPictureBounds(FileName, heif_image_handle_get_width(handle.get()),
                       heif_image_handle_get_height(handle.get()), data.size());

    const THeif<heif_decoding_options> options(heif_decoding_options_alloc());
    heif_image* rawImage = nullptr;
    check(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                            options.get()),
          FileName);
    const THeif<const heif_image> image(rawImage);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!pixels || width <= 0 || height <= 0)
        refuse(FileName, QString());
    CheckPictureBounds(FileName, width, height, data.size());

    QImage bitmap(width, height, QImage::Format_RGBA8888);
    if (bitmap.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < height; ++y)
        std::memcpy(bitmap.scanLine(y), pixels + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(width) * 4);

    auto result = std::make_unique<TBitmap>(std::move(bitmap));
    const std::size_t profileSize = heif_image_handle_get_raw_color_profile_size(handle.get());
    const heif_color_profile_type profileType = heif_image_handle_get_color_profile_type(handle.get());
    if (profileSize > 0 && (profileType == heif_color_profile_type_prof || profileType == heif_color_profile_type_rICC)) {
        QByteArray profile(static_cast<qsizetype>(profileSize), '\0');
        if (heif_image_handle_get_raw_color_profile(handle.get(), profile.data()).code == heif_error_Ok)
            result->ColourProfile = std::move(profile);
    }
    return result;
}
