#include "picture.h"

#include "bitmap32.h"
#include "file_io.h"
#include "jpeg_image.h"
#include "orientation.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

std::unique_ptr<TGraphic> readJPEG(const QString& fileName)
{
    auto image = std::make_unique<TJPEGImage>();
    image->LoadFromFile(fileName);
    return image;
}

// Bitmaps, icons and GIF images come from Qt's image readers, given the
// format the extension names; a file it cannot read is reported by name.
std::unique_ptr<TGraphic> readWithQt(const QString& fileName, const QByteArray& format)
{
    QFile file(fileName);
    OpenForReading(file);
    QImageReader reader(&file, format);
    // The same bound as for JPEG photos, in megabytes of 32-bit pixels.
    reader.setAllocationLimit(static_cast<int>(kMaxJPEGPixels * 4 / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull())
        throw EInvalidGraphic(QStringLiteral("Impossible de lire l'image \"%1\". %2")
                                  .arg(QFileInfo(fileName).absoluteFilePath(), reader.errorString()));
    return std::make_unique<TBitmap>(std::move(image));
}

TGraphicReader qtReader(const char* format)
{
    const QByteArray name(format);
    return [name](const QString& fileName) { return readWithQt(fileName, name); };
}

std::vector<TFileFormat> builtInFormats()
{
    const QString jpeg = QStringLiteral("Fichier image JPEG");
    return {
        {QStringLiteral("jpeg"), jpeg, readJPEG},
        {QStringLiteral("jpg"), jpeg, readJPEG},
        {QStringLiteral("bmp"), QStringLiteral("Bitmaps"), qtReader("bmp")},
        {QStringLiteral("ico"), QStringLiteral("Icônes"), qtReader("ico")},
        {QStringLiteral("gif"), QStringLiteral("Image GIF"), qtReader("gif")},
        {QStringLiteral("wmf"), QStringLiteral("Métafichiers"), qtReader("wmf")},
        {QStringLiteral("emf"), QStringLiteral("Métafichiers améliorés"), qtReader("emf")},
        {QStringLiteral("ani"), QStringLiteral("Curseur animé"), qtReader("ani")},
    };
}

// Built on first use, not by a static initialiser: the linker drops object
// files of a static library that nothing references, and a registration
// made by their initialisers with them.
std::vector<TFileFormat>& formatTable()
{
    static std::vector<TFileFormat> table = builtInFormats();
    return table;
}

const TFileFormat* findFormat(const QString& extension)
{
    for (const TFileFormat& format : formatTable())
        if (format.Extension.compare(extension, Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}

}  // namespace

void TPicture::LoadFromFile(const QString& FileName)
{
    const QString extension = QFileInfo(FileName).suffix();
    const TFileFormat* format = findFormat(extension);
    if (!format)
        throw EInvalidGraphic(QStringLiteral("Extension de fichier image inconnue (.%1)").arg(extension));
    std::unique_ptr<TGraphic> graphic = format->Read(FileName);
    FGraphic = std::move(graphic);
}

void TPicture::RegisterFileFormat(const QString& Extension, const QString& Description,
                                  TGraphicReader Read)
{
    QString extension = Extension.startsWith(u'.') ? Extension.mid(1) : Extension;
    for (TFileFormat& format : formatTable()) {
        if (format.Extension.compare(extension, Qt::CaseInsensitive) == 0) {
            format.Description = Description;
            format.Read = std::move(Read);
            return;
        }
    }
    formatTable().push_back({std::move(extension), Description, std::move(Read)});
}

std::vector<TFileFormat> TPicture::FileFormats()
{
    return formatTable();
}

// Here rather than with the rest of the buffer, which then knows no reader.
TLoadedPicture TBitmap32::LoadFromFile(const QString& FileName)
{
    TPicture picture;
    picture.LoadFromFile(FileName);
    // Decoding can still fail after the header was read (a damaged later
    // scan), so the picture is taken into a scratch buffer whose storage
    // replaces this one's only once it is complete.
    TBitmap32 loaded;
    loaded.Assign(picture.Graphic());
    const TLoadedPicture found =
        picture.Graphic() && picture.Graphic()->EndsEarly() ? TLoadedPicture::EndsEarly : TLoadedPicture::Whole;
    // A camera held sideways stores the photo as its sensor saw it and notes
    // how to turn it; everything after loading sees the photo upright.
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(picture.Graphic());
    const TOrientation orientation = jpeg ? jpeg->Orientation() : TOrientation::TopLeft;
    if (orientation == TOrientation::TopLeft) {
        takeStorage(loaded);
        return found;
    }
    TBitmap32 upright;
    TurnUpright(loaded, orientation, upright);
    takeStorage(upright);
    return found;
}
