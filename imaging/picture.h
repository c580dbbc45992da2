#pragma once

#include "exception.h"
#include "graphic.h"
#include "graphic_error.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/// Reads one picture file into a graphic; raises the reader's errors. May
/// return an empty graphic (a zero-length JPEG file).
using TGraphicReader = std::function<std::unique_ptr<TGraphic>(const QString& FileName)>;

/// One entry of the file formats table.
struct TFileFormat {
    QString Extension;     ///< without the dot, as registered
    QString Description;
    TGraphicReader Read;
};

/// Holds the graphic read from a file; the reader is chosen by the file
/// name's extension, compared without the dot and ignoring case.
///
/// The table starts with "jpeg" and "jpg" (TJPEGImage, "Fichier image
/// JPEG"), "bmp", "ico" and "gif" (read by Qt's image readers) and "wmf",
/// "emf" and "ani" (listed; reading fails with a clear message unless a Qt
/// reader for the file is installed), then "png" (Qt's reader), "heic" and
/// "heif" (libheif). Every reader keeps the bounds of JPEG photos.
class TPicture {
public:
    /// The graphic read last; null before the first successful load.
    TGraphic* Graphic() const { return FGraphic.get(); }
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    /// Replaces the graphic by the one read from FileName. Raises
    /// EInvalidGraphic "Extension de fichier image inconnue (.%s)" (with the
    /// extension as written, before anything is read), EFOpenError, EJPEG or
    /// EInvalidGraphic from the reader. On failure the picture keeps its graphic.
    void LoadFromFile(const QString& FileName);

    /// Adds a format, or replaces the reader of one with the same extension.
    static void RegisterFileFormat(const QString& Extension, const QString& Description,
                                   TGraphicReader Read);
    /// The table's entries in registration order.
    static std::vector<TFileFormat> FileFormats();

private:
    std::unique_ptr<TGraphic> FGraphic;
};

/// The extensions of the photos the window and the command line offer to
/// open, without the dot: "jpg", "jpeg", "png", "heic", "heif".
QStringList PhotoExtensions();
/// True when FileName ends in one of PhotoExtensions, in any case.
bool HasPhotoExtension(const QString& FileName);

/// What a photo file holds, judged by its first bytes, whatever its name says.
enum class TPhotoKind { Unknown, Jpeg, Png, Heif };
TPhotoKind PhotoKindOfContent(const QByteArray& FirstBytes);
/// The kind the extension of FileName names; Unknown for any other name.
TPhotoKind PhotoKindOfName(const QString& FileName);

/// Raises EInvalidGraphic naming FileName when a picture of Width x Height
/// pixels breaks the bounds JPEG photos keep: above kMaxJPEGPixels, or above
/// kMaxJPEGPixelsPerByte pixels per byte of the file's FileBytes.
void CheckPictureBounds(const QString& FileName, std::int64_t Width, std::int64_t Height,
                        std::int64_t FileBytes);
