#include "jpeg_error.h"

#include "jpeg_codec.h"

#include <QString>

#include <jerror.h>

namespace {

void jumpOnFatalError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJPEGErrorManager*>(info->err)->jump, 1);
}

// Warnings come with level -1, trace messages with 1 and above.
void noteEarlyEnd(j_common_ptr info, int level)
{
    auto* manager = reinterpret_cast<TJPEGErrorManager*>(info->err);
    if (level >= 0)
        return;
    if (info->err->msg_code == JWRN_JPEG_EOF)
        manager->dataEnded = true;
    else if (info->err->msg_code == JWRN_HIT_MARKER && manager->dataEnded)
        manager->endedEarly = true;
}
void discardOutput(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InitJPEGErrorManager(TJPEGErrorManager& Manager)
{
    jpeg_std_error(&Manager.pub);
    Manager.pub.error_exit = jumpOnFatalError;
    Manager.pub.emit_message = noteEarlyEnd;
    Manager.dataEnded = false;
    Manager.endedEarly = false;
    Manager.pub.output_message = discardOutput;
    return &Manager.pub;
}

void ThrowJPEGError(int Code)
{
    throw EJPEG(QStringLiteral("Erreur JPEG #%1").arg(Code), Code);
}
