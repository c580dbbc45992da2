#pragma once

#include "exception.h"
#include "graphic.h"
#include "graphic_error.h"

#include <QString>

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
/// reader for the file is installed).
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
