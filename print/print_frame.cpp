#include "print_frame.h"

#include "messages.h"
#include "bitmap32.h"
#include "frame_editor.h"

#include <cmath>

double PrintResolution(const TBitmap32& Photo, const std::optional<TFrame>& Frame,
                       const THeadRule& Rule)
{
    if (Photo.Empty())
        return 0;
    // The aspect fit of the whole photo prints it at the scale of the
    // smallest frame of the cell's shape that holds it.
    const TFrame printed =
        Frame ? *Frame : TFrameEditor(Photo.Width(), Photo.Height(), Rule, std::nullopt).WholePhoto();
    return PrintedPixelsPerInch(printed, Rule);
}

QString LowResolutionWarning(const TBitmap32& Photo, const std::optional<TFrame>& Frame,
                             const THeadRule& Rule)
{
    const double ppi = PrintResolution(Photo, Frame, Rule);
    if (Photo.Empty() || ppi >= kMinPrintPixelsPerInch)
        return {};
    return MessageText(Msg::kLowResolution).arg(std::lround(ppi));
}
