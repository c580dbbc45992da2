#include "exif_orientation.h"

#include <libexif/exif-data.h>

#include <memory>

namespace {

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

}  // namespace

TOrientation ReadExifOrientation(const QByteArray& JPEGData)
{
    if (JPEGData.isEmpty())
        return TOrientation::TopLeft;
    std::unique_ptr<ExifData, ExifDataUnref> exif(exif_data_new());
    if (!exif)
        return TOrientation::TopLeft;
    // Read the block as the camera wrote it: following the standard would
    // make libexif add its default entries and rewrite maker notes.
    exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(exif.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    // libexif walks the markers from the start of the stream to the EXIF
    // segment and stops at the first one that is not an application segment.
    exif_data_load_data(exif.get(), reinterpret_cast<const unsigned char*>(JPEGData.constData()),
                        static_cast<unsigned int>(JPEGData.size()));

    ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data
        || entry->size < 2)
        return TOrientation::TopLeft;
    const ExifShort value = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
    if (value < 1 || value > 8)
        return TOrientation::TopLeft;
    return static_cast<TOrientation>(value);
}
