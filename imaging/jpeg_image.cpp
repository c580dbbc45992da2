#include "jpeg_image.h"

#include "bitmap32.h"
#include "exif_orientation.h"
#include "file_io.h"

#include <QFile>
#include <QPainter>

TJPEGImage::TJPEGImage()
    : FData(std::make_shared<const TJPEGData>()), FSettings(JPEGDefaults())
{
}

int TJPEGImage::Width() const
{
    if (!FBitmap.isNull())
        return FBitmap.width();
    return ScaledJPEGSize(FData->Width, FSettings.Scale);
}

int TJPEGImage::Height() const
{
    if (!FBitmap.isNull())
        return FBitmap.height();
    return ScaledJPEGSize(FData->Height, FSettings.Scale);
}

void TJPEGImage::SetWidth(int)
{
    throw EInvalidGraphicOperation(QStringLiteral("Impossible de modifier la taille d'une image JPEG"));
}

void TJPEGImage::SetHeight(int)
{
    throw EInvalidGraphicOperation(QStringLiteral("Impossible de modifier la taille d'une image JPEG"));
}

void TJPEGImage::Draw(QPainter& Canvas, const TRect& Rect)
{
    Decode();
    if (!FBitmap.isNull())
        Canvas.drawImage(Rect.ToQRect(), FBitmap);
}

void TJPEGImage::LoadFromFile(const QString& FileName)
{
    QFile file(FileName);
    OpenForReading(file);
    LoadFromStream(file);
}

void TJPEGImage::LoadFromStream(QIODevice& Stream)
{
    auto data = std::make_shared<TJPEGData>();
    data->Bytes = ReadAtMost(Stream, kMaxJPEGFileBytes);
    bool progressive = false;
    // Only the header is read now: a photo is decoded once, when it is drawn.
    if (!data->Bytes.isEmpty()) {
        const TJPEGHeader header = ReadJPEGHeader(data->Bytes);
        data->Width = header.Width;
        data->Height = header.Height;
        data->Grayscale = header.Grayscale;
        data->Orientation = ReadExifOrientation(data->Bytes);
        progressive = header.Progressive;
    }
    FData = std::move(data);
    FBitmap = QImage();
    FProgressive = progressive;
    FEndsEarly = false;
    changed();
}

void TJPEGImage::SaveToFile(const QString& FileName)
{
    // Encoding comes first so that nothing touches the disk until the bytes
    // exist; the file is replaced only when they are all written.
    Compress();
    SaveFileAtomically(FileName, FData->Bytes);
}

void TJPEGImage::SaveToStream(QIODevice& Stream)
{
    Compress();
    WriteAll(Stream, FData->Bytes);
}

void TJPEGImage::Assign(const QImage& Bitmap)
{
    FData = std::make_shared<const TJPEGData>();
    FBitmap = Bitmap;
    FEndsEarly = false;
    changed();
}

void TJPEGImage::Assign(const TJPEGImage& Source)
{
    FData = Source.FData;
    FBitmap = Source.FBitmap;
    FSettings = Source.FSettings;
    FProgressive = Source.FProgressive;
    FEndsEarly = Source.FEndsEarly;
    changed();
}

void TJPEGImage::Decode()
{
    if (!FBitmap.isNull() || FData->Bytes.isEmpty())
        return;
    FBitmap = DecodeJPEG(FData->Bytes, FSettings, &FEndsEarly);
}

void TJPEGImage::Compress()
{
    if (!FData->Bytes.isEmpty())
        return;
    auto data = std::make_shared<TJPEGData>();
    data->Bytes = EncodeJPEG(FBitmap, FSettings);
    if (!data->Bytes.isEmpty()) {
        data->Width = FBitmap.width();
        data->Height = FBitmap.height();
        data->Grayscale = FSettings.Grayscale;
    }
    FData = std::move(data);
}

bool TJPEGImage::DecodeInto(TBitmap32& Target) const
{
    if (!FBitmap.isNull() || FData->Bytes.isEmpty())
        return false;
    return DecodeJPEGInto(FData->Bytes, FSettings, Target, &FEndsEarly);
}

void TJPEGImage::SetSettings(const TJPEGSettings& Value)
{
    const bool decodesDifferently = Value.Grayscale != FSettings.Grayscale
                                    || Value.Performance != FSettings.Performance
                                    || Value.PixelFormat != FSettings.PixelFormat
                                    || Value.Scale != FSettings.Scale
                                    || Value.Smoothing != FSettings.Smoothing;
    FSettings = Value;
    // A bitmap decoded from the data is made again with the new settings; a
    // bitmap assigned without data is all there is, and stays.
    if (decodesDifferently && !FData->Bytes.isEmpty())
        FBitmap = QImage();
}

void TJPEGImage::changed()
{
    if (OnChange)
        OnChange(*this);
}
