#include "photo_messages.h"

#include "messages.h"
#include "exception.h"
#include "bitmap32.h"
#include "file_io.h"
#include "jpeg_codec.h"
#include "picture.h"
#include "printer_device.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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

// A queue's failure in the catalogue's words, with the print service's own
// reason where it gave one.
QString queueFailureText(const EPrinter& e)
{
    const char* message = nullptr;
    switch (e.Failure) {
    case TQueueFailure::None: return e.Message;
    case TQueueFailure::ServiceDown: return MessageText(Msg::kQueueServiceDown);
    case TQueueFailure::NoSuchQueue: return MessageText(Msg::kQueueMissing);
    case TQueueFailure::StateUnknown: message = Msg::kQueueStateUnknown; break;
    case TQueueFailure::NotAccepting: message = Msg::kQueueNotAccepting; break;
    case TQueueFailure::Stopped: message = Msg::kQueueStopped; break;
    case TQueueFailure::JobRefused: message = Msg::kQueueJobRefused; break;
    case TQueueFailure::PageNotSent: message = Msg::kQueuePageNotSent; break;
    }
    QString text = MessageText(message);
    if (e.Reason.isEmpty())
        return text.remove(QRegularExpression(QStringLiteral("\\s*[:：]\\s*%1"))).trimmed();
    return text.arg(e.Reason);
}

// Why, in the user's language. The imaging library's messages are French
// whatever the interface speaks: of those only the system's reason, the JPEG
// library's number or the refused extension is shown.
QString detail(const QString& fileName, const std::exception& e)
{
    if (const auto* file = dynamic_cast<const EFileError*>(&e))
        return SystemErrorText(file->ErrorNumber);
    if (const auto* printer = dynamic_cast<const EPrinter*>(&e); printer && printer->ErrorNumber != 0)
        return SystemErrorText(printer->ErrorNumber);
    if (const auto* printer = dynamic_cast<const EPrinter*>(&e); printer && printer->Failure != TQueueFailure::None)
        return queueFailureText(*printer);
    if (const auto* jpeg = dynamic_cast<const EJPEG*>(&e))
        return jpeg->Code != 0 ? QStringLiteral("#%1").arg(jpeg->Code) : QString();
    // The refused extension; a PNG or HEIC reader's own words are French.
    if (dynamic_cast<const EInvalidGraphic*>(&e))
        return QFileInfo(fileName).suffix().isEmpty() || HasPhotoExtension(fileName)
                   ? QString()
                   : u'.' + QFileInfo(fileName).suffix();
    if (const auto* own = dynamic_cast<const Exception*>(&e))
        return own->Message;
    return {};
}

// A message with its reason in brackets; one without a reason loses them.
QString withDetail(const char* message, const QString& name, const QString& reason)
{
    QString text = MessageText(message);
    if (!reason.isEmpty())
        return text.arg(name, reason);
    return text.remove(QRegularExpression(QStringLiteral("\\s*\\(%2\\)"))).arg(name);
}

// The file a writer or a printer could not write; empty when none is named.
QString failedFile(const std::exception& e)
{
    if (const auto* file = dynamic_cast<const EFileError*>(&e))
        return file->FileName;
    if (const auto* printer = dynamic_cast<const EPrinter*>(&e))
        return printer->FileName;
    return {};
}

QString shown(const QString& fileName)
{
    return QFileInfo(fileName).fileName();
}

}  // namespace

QString LoadPhotoFile(TBitmap32& Bitmap, const QString& FileName)
{
    // An empty file would load as no photo at all and take the user's photo
    // with it.
    const QFileInfo info(FileName);
    if (info.isFile() && info.size() == 0)
        throw Exception(MessageText(Msg::kEmptyPhoto).arg(shown(FileName)));
    try {
        if (Bitmap.LoadFromFile(FileName) == TLoadedPicture::EndsEarly)
            return MessageText(Msg::kPhotoEndsEarly);
        return {};
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        throw Exception(withDetail(photoFailure(FileName, e), shown(FileName), detail(FileName, e)));
    }
}

void SavePageFile(const QString& FileName, const std::function<void()>& Save)
{
    try {
        Save();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        // Of several pages, the one that failed.
        const QString failed = failedFile(e).isEmpty() ? FileName : failedFile(e);
        throw Exception(withDetail(Msg::kCannotSave, shown(failed), detail(FileName, e)));
    }
}

void SavePhotoFile(const QString& FileName, const std::function<void()>& Save)
{
    try {
        Save();
    } catch (const EFileError& e) {
        throw Exception(withDetail(Msg::kCannotSavePhoto, shown(e.FileName.isEmpty() ? FileName : e.FileName),
                                   SystemErrorText(e.ErrorNumber)));
    }
}

void PrintOnPrinter(const QString& PrinterName, const std::function<void()>& Print)
{
    try {
        Print();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        // A printer that writes a file (Print to PDF) failed to save it.
        const QString failed = failedFile(e);
        if (!failed.isEmpty())
            throw Exception(withDetail(Msg::kCannotSave, shown(failed), detail(QString(), e)));
        throw Exception(withDetail(Msg::kCannotPrint, PrinterName, detail(QString(), e)));
    }
}
