#include "plain_background.h"

#include "background_replace.h"
#include "bitmap32.h"
#include "photo_check.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

void PutPlainBackground(TBitmap32& Cell, const TFrame& Frame, const TPlainBackground& Background)
{
    ReplaceBackground(Cell, Frame, Background.Mask, Background.Colour,
                      Background.Beyond.Empty() ? nullptr : &Background.Beyond);
}

TColor32 BackdropColour(TBackdrop Backdrop)
{
    switch (Backdrop) {
    case TBackdrop::White:
        return kBackgroundWhite;
    case TBackdrop::OffWhite:
        return kBackgroundOffWhite;
    case TBackdrop::LightGrey:
        return kBackgroundLightGrey;
    case TBackdrop::Cream:
        return kBackgroundCream;
    case TBackdrop::LightBlue:
        return kBackgroundLightBlue;
    }
    return kBackgroundWhite;
}

TColor32 DefaultBackgroundColour(const THeadRule& Rule)
{
    if (Rule.Backdrop)
        return BackdropColour(*Rule.Backdrop);
    // A size of the user's own is judged by its shape: square photos are
    // the visa photos that ask for white.
    return Rule.PhotoWidthMm == Rule.PhotoHeightMm ? kBackgroundWhite : kBackgroundLightGrey;
}

bool BackgroundOffered(const THeadRule& Rule)
{
    return !Rule.Document || Rule.Document->Edits != TEdits::Refused;
}

std::optional<TColor32> ParseBackgroundColour(const QString& Text)
{
    const QString name = Text.trimmed().toLower();
    if (name == QLatin1String("white"))
        return kBackgroundWhite;
    if (name == QLatin1String("grey") || name == QLatin1String("gray"))
        return kBackgroundLightGrey;
    if (name == QLatin1String("blue"))
        return kBackgroundLightBlue;
    const auto isHex = [](QChar c) { return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('f')); };
    if (name.size() != 7 || !name.startsWith(QLatin1Char('#')) || !std::all_of(name.begin() + 1, name.end(), isHex))
        return std::nullopt;
    const uint rgb = name.mid(1).toUInt(nullptr, 16);
    return Color32(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

QString BackgroundColourName(TColor32 Colour)
{
    return QStringLiteral("#%1").arg(Colour & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

namespace {

// The facts of the photo shrunk by Sx across and Sy down.
TPhotoFacts scaledFacts(const TPhotoFacts& Facts, double Sx, double Sy)
{
    TPhotoFacts s = Facts;
    s.PhotoWidth = static_cast<int>(std::lround(Facts.PhotoWidth * Sx));
    s.PhotoHeight = static_cast<int>(std::lround(Facts.PhotoHeight * Sy));
    for (QRectF& f : s.Faces)
        f = QRectF(f.x() * Sx, f.y() * Sy, f.width() * Sx, f.height() * Sy);
    for (QPointF& p : s.Landmarks.Points)
        p = QPointF(p.x() * Sx, p.y() * Sy);
    for (double& d : s.Landmarks.Depth)
        d *= Sx;
    s.Head.CrownY *= Sy, s.Head.ChinY *= Sy, s.Head.EyeY *= Sy, s.Head.CentreX *= Sx;
    const QRectF r = Facts.Person.Region;
    s.Person.Region = QRectF(r.x() * Sx, r.y() * Sy, r.width() * Sx, r.height() * Sy);
    return s;
}

}  // namespace

TPhotoMeasures MeasuredWithBackground(const TBitmap32& Photo, const TPhotoFacts& Facts,
                                      const TPhotoMeasures& Measured, TColor32 Colour)
{
    if (!Measured.HasFace || Facts.Person.Empty() || Photo.Empty())
        return Measured;
    // Shrunk by a whole factor to about the scale the check works at, so
    // that the replacement costs what the check's own copy costs.
    const int factor = std::max(1, static_cast<int>(Facts.Head.Height() / kWorkHeadHeight));
    const int width = std::max(1, Photo.Width() / factor), height = std::max(1, Photo.Height() / factor);
    TBitmap32 small;
    small.SetSize(width, height);
    const cv::Mat from(Photo.Height(), Photo.Width(), CV_8UC4, const_cast<TColor32*>(Photo.Bits()));
    cv::Mat to(height, width, CV_8UC4, small.Bits());
    cv::resize(from, to, to.size(), 0, 0, cv::INTER_AREA);
    ReplaceBackground(small, TFrame{0, 0, double(Photo.Width()), double(Photo.Height())}, Facts.Person, Colour);

    TPhotoMeasures result = Measured;
    const double sx = static_cast<double>(width) / Photo.Width(), sy = static_cast<double>(height) / Photo.Height();
    result.Background = MeasurePhoto(small, scaledFacts(Facts, sx, sy)).Background;
    result.BackgroundReplaced = true;
    result.Background.Chosen = true;
    return result;
}
