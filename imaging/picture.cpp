#include "picture.h"

#include "bitmap32.h"
#include "colour_profile.h"
#include "file_io.h"
#include "heif_reader.h"
#include "jpeg_icc.h"
#include "jpeg_image.h"
#include "orientation.h"

#include <QBuffer>
#include <QColorSpace>
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

// Whether every chunk of a PNG stream lies within it. libpng allocates a
// chunk's declared length before it reads the chunk, so one damaged length
// field would ask for up to 2 GB; a stream whose chunks overrun it is
// damaged anyway. Streams without the PNG signature are left to the reader.
bool pngChunksFit(const QByteArray& data)
{
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (!data.startsWith(QByteArrayView(kSignature, 8)))
        return true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    qsizetype at = 8;
    while (at + 12 <= data.size()) {
        const quint32 length = (quint32(bytes[at]) << 24) | (quint32(bytes[at + 1]) << 16)
                               | (quint32(bytes[at + 2]) << 8) | quint32(bytes[at + 3]);
        // Length, type, data and CRC.
        if (length > quint32(data.size() - at - 12))
            return false;
        if (QByteArrayView(data.constData() + at + 4, 4) == QByteArrayView("IEND", 4))
            return true;
        at += 12 + qsizetype(length);
    }
    return at == data.size();
}

// Bitmaps, icons, GIF and PNG images come from Qt's image readers, given
// the format the extension names; a file it cannot read is reported by name.
std::unique_ptr<TGraphic> readWithQt(const QString& fileName, const QByteArray& format)
{
    QFile file(fileName);
    OpenForReading(file);
    // Read whole under the JPEG cap, so that a name pointing at a device or
    // an endless stream cannot take all memory.
    QByteArray data = ReadAtMost(file, kMaxJPEGFileBytes);
    if (!pngChunksFit(data))
        throw EInvalidGraphic(QStringLiteral("Impossible de lire l'image \"%1\". %2")
                                  .arg(QFileInfo(fileName).absoluteFilePath(),
                                       QStringLiteral("A PNG chunk reaches past the end of the file")));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The same bound as for JPEG photos, in megabytes of 32-bit pixels.
    reader.setAllocationLimit(static_cast<int>(kMaxJPEGPixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid())
        CheckPictureBounds(fileName, size.width(), size.height(), data.size());
    QImage image = reader.read();
    if (image.isNull())
        throw EInvalidGraphic(QStringLiteral("Impossible de lire l'image \"%1\". %2")
                                  .arg(QFileInfo(fileName).absoluteFilePath(), reader.errorString()));
    auto bitmap = std::make_unique<TBitmap>(image);
    // Qt keeps a PNG's iCCP chunk (or its gAMA and cHRM) as the colour space.
    const QColorSpace space = image.colorSpace();
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb))
        bitmap->ColourProfile = space.iccProfile();
    return bitmap;
}

std::unique_ptr<TGraphic> readHEIF(const QString& fileName)
{
    return ReadHEIF(fileName);
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
        {QStringLiteral("png"), QStringLiteral("Image PNG"), qtReader("png")},
        {QStringLiteral("heic"), QStringLiteral("Image HEIC"), readHEIF},
        {QStringLiteral("heif"), QStringLiteral("Image HEIF"), readHEIF},
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

QStringList PhotoExtensions()
{
    return {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"), QStringLiteral("heic"),
            QStringLiteral("heif")};
}

bool HasPhotoExtension(const QString& FileName)
{
    return PhotoKindOfName(FileName) != TPhotoKind::Unknown;
}

TPhotoKind PhotoKindOfName(const QString& FileName)
{
    const QString extension = QFileInfo(FileName).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return TPhotoKind::Jpeg;
    if (extension == QLatin1String("png"))
        return TPhotoKind::Png;
    if (extension == QLatin1String("heic") || extension == QLatin1String("heif"))
        return TPhotoKind::Heif;
    return TPhotoKind::Unknown;
}

TPhotoKind PhotoKindOfContent(const QByteArray& FirstBytes)
{
    if (FirstBytes.startsWith("\xFF\xD8"))
        return TPhotoKind::Jpeg;
    if (FirstBytes.startsWith("\x89PNG\r\n\x1A\n"))
        return TPhotoKind::Png;
    // An ISO media file: a box of any size, then "ftyp" and a HEIF brand.
    static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"};
    if (FirstBytes.mid(4, 4) == "ftyp") {
        const QByteArray brand = FirstBytes.mid(8, 4);
        for (const char* b : brands)
            if (brand == b)
                return TPhotoKind::Heif;
    }
    return TPhotoKind::Unknown;
}

void CheckPictureBounds(const QString& FileName, std::int64_t Width, std::int64_t Height, std::int64_t FileBytes)
{
    const std::int64_t pixels = Width * Height;
    if (Width > 0 && Height > 0 && pixels <= kMaxJPEGPixels && pixels <= kMaxJPEGPixelsPerByte * FileBytes)
        return;
    throw EInvalidGraphic(QStringLiteral("Image \"%1\" refusée : %2 x %3 pixels dans un fichier de %4 octets "
                                         "(au plus %5 pixels, et un octet pour %6 pixels)")
                              .arg(QFileInfo(FileName).absoluteFilePath())
                              .arg(Width)
                              .arg(Height)
                              .arg(FileBytes)
                              .arg(kMaxJPEGPixels)
                              .arg(kMaxJPEGPixelsPerByte));
}

namespace {

QByteArray colourProfileOf(const TGraphic* graphic)
{
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(graphic))
        return ReadJPEGColourProfile(jpeg->Data());
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic))
        return bitmap->ColourProfile;
    return {};
}

}  // namespace

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
    // A phone's Display P3 or a camera's Adobe RGB numbers mean other
    // colours than the same numbers in sRGB, which everything after loading
    // assumes; a photo without a profile is left exactly as decoded.
    const QByteArray profile = colourProfileOf(picture.Graphic());
    if (!profile.isEmpty() && profile != SRGBProfileBytes())
        ConvertToSRGB(loaded, profile);
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
