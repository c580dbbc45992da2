#include "jpeg_error.h"

#include "jpeg_codec.h"

#include <QString>

namespace {

void jumpOnFatalError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJPEGErrorManager*>(info->err)->jump, 1);
}

void discardMessage(j_common_ptr, int) {}
void discardOutput(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InitJPEGErrorManager(TJPEGErrorManager& Manager)
{
    jpeg_std_error(&Manager.pub);
    Manager.pub.error_exit = jumpOnFatalError;
    Manager.pub.emit_message = discardMessage;
    Manager.pub.output_message = discardOutput;
    return &Manager.pub;
}

void ThrowJPEGError(int Code)
{
    throw EJPEG(QStringLiteral("Erreur JPEG #%1").arg(Code));
}
