#include "turned_photo.h"

#include "bitmap32.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The Mitchell-Netravali filter with B = C = 1/3, zero from 2 on.
double mitchell(double x)
{
    x = std::abs(x);
    if (x < 1)
        return (7 * x * x * x - 12 * x * x + 16.0 / 3) / 6;
    if (x < 2)
        return (-7.0 / 3 * x * x * x + 12 * x * x - 20 * x + 32.0 / 3) / 6;
    return 0;
}

int channel(double v)
{
    return static_cast<int>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

void DrawTurned(const TBitmap32& Photo, double Degrees, const QRectF& Part, TBitmap32& Dest, const QRectF& To)
{
    if (Photo.Empty() || Dest.Empty() || Part.isEmpty() || To.isEmpty())
        return;
    const double angle = Degrees * std::numbers::pi / 180;
    const double c = std::cos(angle), s = std::sin(angle);
    const double cx = Photo.Width() / 2.0, cy = Photo.Height() / 2.0;
    // Photo pixels per Dest pixel along Dest's axes; a reduction widens the
    // filter so that every photo pixel counts.
    const double stepX = Part.width() / To.width(), stepY = Part.height() / To.height();
    const double wideX = std::max(1.0, stepX), wideY = std::max(1.0, stepY);
    // Dest's axes in the photo, and the filter's reach there.
    const double axX = c, axY = s, ayX = -s, ayY = c;
    const double reachX = 2 * (std::abs(c) * wideX + std::abs(s) * wideY);
    const double reachY = 2 * (std::abs(s) * wideX + std::abs(c) * wideY);

    const int left = std::max(0, static_cast<int>(std::floor(To.left())));
    const int top = std::max(0, static_cast<int>(std::floor(To.top())));
    const int right = std::min(Dest.Width(), static_cast<int>(std::ceil(To.right())));
    const int bottom = std::min(Dest.Height(), static_cast<int>(std::ceil(To.bottom())));
    for (int v = top; v < bottom; ++v) {
        TColor32* row = Dest.ScanLine(v);
        const double ty = Part.top() + (v + 0.5 - To.top()) * stepY - cy;
        for (int u = left; u < right; ++u) {
            const double tx = Part.left() + (u + 0.5 - To.left()) * stepX - cx;
            // The photo point this pixel shows.
            const double px = cx + tx * c - ty * s;
            const double py = cy + tx * s + ty * c;
            const int x0 = static_cast<int>(std::floor(px - reachX)), x1 = static_cast<int>(std::ceil(px + reachX));
            const int y0 = static_cast<int>(std::floor(py - reachY)), y1 = static_cast<int>(std::ceil(py + reachY));
            double r = 0, g = 0, b = 0, inside = 0, all = 0;
            for (int y = y0; y <= y1; ++y) {
                const double dy = y + 0.5 - py;
                const bool rowInside = y >= 0 && y < Photo.Height();
                const TColor32* from = rowInside ? Photo.ScanLine(y) : nullptr;
                for (int x = x0; x <= x1; ++x) {
                    const double dx = x + 0.5 - px;
                    const double a = (dx * axX + dy * axY) / wideX;
                    const double e = (dx * ayX + dy * ayY) / wideY;
                    if (std::abs(a) >= 2 || std::abs(e) >= 2)
                        continue;
                    const double w = mitchell(a) * mitchell(e);
                    all += w;
                    if (!rowInside || x < 0 || x >= Photo.Width())
                        continue;
                    const TColor32 p = from[x];
                    r += w * RedComponent(p);
                    g += w * GreenComponent(p);
                    b += w * BlueComponent(p);
                    inside += w;
                }
            }
            if (all <= 0 || inside <= 1e-9 * all)
                continue;   // beyond the turned photo: Dest stays
            const double cover = std::clamp(inside / all, 0.0, 1.0);
            const TColor32 under = row[u];
            row[u] = Color32(channel(r / all + (1 - cover) * RedComponent(under)),
                             channel(g / all + (1 - cover) * GreenComponent(under)),
                             channel(b / all + (1 - cover) * BlueComponent(under)));
        }
    }
}

void TurnPhoto(const TBitmap32& Photo, double Degrees, TBitmap32& Turned)
{
    Turned.SetSize(Photo.Width(), Photo.Height());
    Turned.Clear(clWhite32);
    if (Photo.Empty())
        return;
    const QImage source(reinterpret_cast<const uchar*>(Photo.Bits()), Photo.Width(), Photo.Height(),
                        Photo.Width() * 4, QImage::Format_RGB32);
    QImage target(reinterpret_cast<uchar*>(Turned.Bits()), Turned.Width(), Turned.Height(), Turned.Width() * 4,
                  QImage::Format_RGB32);
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(Photo.Width() / 2.0, Photo.Height() / 2.0);
    p.rotate(-Degrees);   // the painter turns clockwise as seen
    p.translate(-Photo.Width() / 2.0, -Photo.Height() / 2.0);
    p.drawImage(QPointF(0, 0), source);
}
