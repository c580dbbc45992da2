#pragma once

// The 12-megapixel portrait the benchmarks share: Debian's sample portrait
// (QRL_BENCH_PORTRAIT) enlarged with the Mitchell filter into 3000 x 4000.

#include "bitmap32.h"

#include <QString>

inline constexpr int kLargePortraitWidth = 3000;   // 12 megapixels, 3:4 portrait
inline constexpr int kLargePortraitHeight = 4000;

inline const TBitmap32& LargePortrait()
{
    static TBitmap32 large;
    if (large.Empty()) {
        TBitmap32 portrait;
        portrait.LoadFromFile(QStringLiteral(QRL_BENCH_PORTRAIT));
        portrait.SetStretchFilter(sfMitchell);
        large.SetSize(kLargePortraitWidth, kLargePortraitHeight);
        large.Clear(0xFFFFFFFF);
        // The 512 x 600 portrait keeps its aspect: 3000 x 3516, top-aligned.
        portrait.DrawTo(large, Rect(0, 0, kLargePortraitWidth, kLargePortraitWidth * 600 / 512));
    }
    return large;
}
