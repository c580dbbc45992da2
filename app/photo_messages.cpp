#include "photo_messages.h"

#include "messages.h"
#include "exception.h"
#include "bitmap32.h"
#include "file_io.h"
#include "jpeg_codec.h"
#include "picture.h"
#include "sheet_render.h"

#include <QFile>
#include <QFileInfo>

namespace {

/// The plain sentence for a photo that did not load.
const char* photoFailure(const QString& fileName, const std::exception& e)
{
    if (dynamic_cast<const EFOpenError*>(&e))
        return Msg::kUnreadable;
    const TPhotoKind named = PhotoKindOfName(fileName);
    if (named == TPhotoKind::Unknown)
        return Msg::kNotPhotoName;
    // What the file holds decides, whatever its name says.
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly) && PhotoKindOfContent(file.read(16)) != named)
        return Msg::kNotItsKind;
    return named == TPhotoKind::Jpeg ? Msg::kDamagedJpeg : Msg::kDamagedPhoto;
}

QString detail(const std::exception& e)
{
    if (const auto* own = dynamic_cast<const Exception*>(&e))
        return own->Message;
    return QString::fromLocal8Bit(e.what());
}

QString shown(const QString& fileName)
{
    return QFileInfo(fileName).fileName();
}

}  // namespace

void LoadPhotoFile(TBitmap32& Bitmap, const QString& FileName)
{
    // An empty file would load as no photo at all and take the user's photo
    // with it.
    const QFileInfo info(FileName);
    if (info.isFile() && info.size() == 0)
        throw Exception(MessageText(Msg::kEmptyPhoto).arg(shown(FileName)));
    try {
        Bitmap.LoadFromFile(FileName);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw Exception(MessageText(photoFailure(FileName, e)).arg(shown(FileName), detail(e)));
    }
}

void SavePageFile(const QString& FileName, const std::function<void()>& Save)
{
    try {
        Save();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw Exception(MessageText(Msg::kCannotSave).arg(shown(FileName), detail(e)));
    }
}

void PrintOnPrinter(const QString& PrinterName, const std::function<void()>& Print)
{
    try {
        Print();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw Exception(MessageText(Msg::kCannotPrint).arg(PrinterName, detail(e)));
    }
}
