#pragma once

#include "graphic.h"
#include "jpeg_codec.h"
#include "orientation.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class TBitmap32;

/// A request a graphic cannot carry out, such as resizing a JPEG image.
QRL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

/// One JPEG image: the compressed bytes (shared between copies), the decoded
/// bitmap made from them on first need, and the eight settings, copied from
/// JPEGDefaults() when the object is made.
///
/// Reading keeps the bytes and parses only the header; drawing decodes.
/// Assigning a bitmap keeps the bitmap; saving encodes it at
/// CompressionQuality (90 by default) into a baseline JFIF file.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();

    /// The decoded bitmap's size when there is one, otherwise the header's
    /// (reduced by Scale); 0 x 0 when nothing was read.
    int Width() const override;
    int Height() const override;
    /// Always raises EInvalidGraphicOperation "Impossible de modifier la
    /// taille d'une image JPEG".
    void SetWidth(int Value);
    void SetHeight(int Value);

    /// Decodes if needed, then copies the decoded bitmap onto Rect of Canvas.
    void Draw(QPainter& Canvas, const TRect& Rect) override;

    /// Reads FileName (EFOpenError when it cannot be opened); see LoadFromStream.
    void LoadFromFile(const QString& FileName);
    /// Drops the previous data and decoded bitmap and keeps every remaining
    /// byte of Stream; a non-empty stream must hold a JPEG header (EJPEG, code
    /// 53 when it does not start with FF D8; EJPEG too for images above
    /// kMaxJPEGPixels; EFOpenError when the stream fails or holds more than
    /// kMaxJPEGFileBytes). Zero bytes give an empty image. Raises OnChange.
    /// On failure the image keeps what it had.
    void LoadFromStream(QIODevice& Stream);

    /// Writes the compressed bytes, encoding the bitmap first when there are
    /// none. The file is replaced only when complete (EFCreateError otherwise,
    /// with a previous file of that name left as it was).
    void SaveToFile(const QString& FileName);
    void SaveToStream(QIODevice& Stream);

    /// Empty compressed data and a copy of Bitmap as the decoded bitmap.
    void Assign(const QImage& Bitmap);
    /// Shares Source's compressed data; copies its decoded bitmap, settings and
    /// progressive flag.
    void Assign(const TJPEGImage& Source);

    /// Makes the decoded bitmap if there is none (EJPEG on library errors).
    void Decode();
    /// Encodes the decoded bitmap if there are no compressed bytes; an empty
    /// bitmap gives an empty stream.
    void Compress();

    /// Decodes straight into Target, already of this image's size, when no
    /// decoded bitmap exists and the output is 24-bit colour: the very pixels
    /// Draw followed by an opaque alpha would give, without the intermediate
    /// bitmap. Returns false, with Target untouched, otherwise.
    bool DecodeInto(TBitmap32& Target) const override;

    /// The last decode of the data met its end before the image's last row.
    bool EndsEarly() const override { return FEndsEarly; }

    /// The decoded bitmap (Format_BGR888 or palette indices); null until made.
    const QImage& Bitmap() const { return FBitmap; }
    /// The compressed bytes; empty until read or encoded.
    const QByteArray& Data() const { return FData->Bytes; }
    /// True when two images share one compressed-data record.
    bool SharesDataWith(const TJPEGImage& Other) const { return FData == Other.FData; }
    /// The file read is single-channel gray.
    bool FileIsGrayscale() const { return FData->Grayscale; }
    /// The file read has more than one scan.
    bool Progressive() const { return FProgressive; }
    /// How the file's EXIF block says the image is stored (TopLeft when it
    /// says nothing). Width, Height, Draw and the decoded bitmap are the image
    /// as stored; TBitmap32::LoadFromFile turns it upright.
    TOrientation Orientation() const { return FData->Orientation; }

    const TJPEGSettings& Settings() const { return FSettings; }
    /// Changing how the data decodes drops a decoded bitmap made from it.
    void SetSettings(const TJPEGSettings& Value);

    std::function<void(TJPEGImage& Sender)> OnChange;

private:
    // The compressed stream with what its header says; shared by the images
    // assigned from one another and replaced, never changed, afterwards.
    struct TJPEGData {
        QByteArray Bytes;
        int Width = 0;
        int Height = 0;
        bool Grayscale = false;
        TOrientation Orientation = TOrientation::TopLeft;
    };

    void changed();

    std::shared_ptr<const TJPEGData> FData;
    QImage FBitmap;
    TJPEGSettings FSettings;
    bool FProgressive = false;
    // Learnt while decoding, which DecodeInto does without changing the image.
    mutable bool FEndsEarly = false;
};
