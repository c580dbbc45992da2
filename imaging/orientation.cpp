#include "orientation.h"

#include "bitmap32.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace {

// Where the upright picture's pixel (0, 0) lies in the stored one, and how far
// one step right and one step down in the upright picture move in the stored
// pixels. Every orientation is such a walk, so one loop serves all eight.
struct TWalk {
    std::ptrdiff_t Start;
    std::ptrdiff_t StepX;
    std::ptrdiff_t StepY;
};

TWalk walkFor(TOrientation orientation, std::ptrdiff_t w, std::ptrdiff_t h)
{
    const std::ptrdiff_t lastRow = (h - 1) * w;
    switch (orientation) {
    case TOrientation::TopLeft: return {0, 1, w};
    case TOrientation::TopRight: return {w - 1, -1, w};
    case TOrientation::BottomRight: return {lastRow + w - 1, -1, -w};
    case TOrientation::BottomLeft: return {lastRow, 1, -w};
    case TOrientation::LeftTop: return {0, w, 1};
    case TOrientation::RightTop: return {lastRow, -w, 1};
    case TOrientation::RightBottom: return {lastRow + w - 1, -w, -1};
    case TOrientation::LeftBottom: return {w - 1, w, -1};
    }
    return {0, 1, w};
}

// Tiles keep the column-wise reads of the quarter turns within the cache.
constexpr int kTile = 64;

}  // namespace

bool SwapsSides(TOrientation Orientation)
{
    return static_cast<int>(Orientation) >= static_cast<int>(TOrientation::LeftTop);
}

void TurnUpright(const TBitmap32& Source, TOrientation Orientation, TBitmap32& Target)
{
    assert(&Source != &Target);
    const int w = Source.Width();
    const int h = Source.Height();
    const bool swap = SwapsSides(Orientation);
    Target.SetSize(swap ? h : w, swap ? w : h);
    if (Source.Empty() || Target.Empty())
        return;

    const TWalk walk = walkFor(Orientation, w, h);
    const TColor32* src = Source.Bits();
    const int outW = Target.Width();
    const int outH = Target.Height();
    for (int ty = 0; ty < outH; ty += kTile) {
        const int yEnd = std::min(ty + kTile, outH);
        for (int tx = 0; tx < outW; tx += kTile) {
            const int xEnd = std::min(tx + kTile, outW);
            for (int y = ty; y < yEnd; ++y) {
                TColor32* out = Target.ScanLine(y);
                const TColor32* in = src + walk.Start + y * walk.StepY + tx * walk.StepX;
                for (int x = tx; x < xEnd; ++x, in += walk.StepX)
                    out[x] = *in;
            }
        }
    }
    Target.Changed();
}
