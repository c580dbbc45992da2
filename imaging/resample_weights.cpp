#include "resample_weights.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <limits>
#include <cmath>
#include <numbers>

// Every weight must come out the same on every machine, so the float steps
// below are spelled out: a value is rounded to a 32-bit float exactly where a
// static_cast<float> stands, and everything else is evaluated in double.
// (This file is compiled with -ffp-contract=off so that no fused multiply-add
// skips a rounding.)

namespace {

double sinc(double t)
{
    if (t == 0.0)
        return 1.0;
    const double pt = std::numbers::pi * t;
    return std::sin(pt) / pt;
}

// Round to nearest, ties to even, whatever the FPU's rounding mode is.
std::int64_t roundHalfEven(double v)
{
    const double lower = std::floor(v);
    const double fraction = v - lower;
    auto r = static_cast<std::int64_t>(lower);
    if (fraction > 0.5 || (fraction == 0.5 && (r & 1) != 0))
        ++r;
    return r;
}

class TTableBuilder {
public:
    TTableBuilder(int srcLo, int srcHi, std::int64_t clusters) : FSrcLo(srcLo), FSrcHi(srcHi)
    {
        FTable.First.reserve(static_cast<std::size_t>(clusters) + 1);
        FTable.First.push_back(0);
        FTable.MinPos = srcHi;
        FTable.MaxPos = srcLo - 1;
    }

    // Zero weights are left out, so edge clusters and kernel zero crossings
    // never make entries that cost time and change nothing.
    void add(std::int64_t pos, std::int64_t weight)
    {
        if (weight == 0)
            return;
        const auto p = static_cast<std::int32_t>(std::clamp<std::int64_t>(pos, FSrcLo, FSrcHi - 1));
        FTable.Entries.push_back({p, static_cast<std::int32_t>(weight)});
        FSum += weight;
    }

    // Rounding leaves a cluster a few units off 256; the difference goes to
    // its middle entry. A cluster whose weights all rounded to zero (a very
    // strong reduction) takes the pixel under its centre.
    void close(double center)
    {
        const std::size_t first = FTable.First.back();
        const std::size_t count = FTable.Entries.size() - first;
        if (count == 0)
            add(static_cast<std::int64_t>(std::floor(center)), kWeightOne);
        else if (FSum != kWeightOne)
            FTable.Entries[first + (count - 1) / 2].Weight -= static_cast<std::int32_t>(FSum - kWeightOne);
        for (std::size_t k = first; k < FTable.Entries.size(); ++k) {
            // The passes carry weights in 16 bits; see resample_engine.h for the bound.
            assert(std::abs(FTable.Entries[k].Weight) <= std::numeric_limits<std::int16_t>::max());
            FTable.MinPos = std::min(FTable.MinPos, FTable.Entries[k].Pos);
            FTable.MaxPos = std::max(FTable.MaxPos, FTable.Entries[k].Pos);
        }
        FTable.First.push_back(FTable.Entries.size());
        FSum = 0;
    }

    TFlatTable take() { return std::move(FTable); }

private:
    std::int64_t FSrcLo;
    std::int64_t FSrcHi;
    std::int64_t FSum = 0;
    TFlatTable FTable;
};

}  // namespace

float MitchellFilter(float x)
{
    const float a = std::fabs(x);
    const float a2 = a * a;
    const float a3 = a2 * a;
    if (a < 1.0f)
        return static_cast<float>((7.0 * a3 - 12.0 * a2 + 16.0 / 3.0) / 6.0);
    if (a < 2.0f)
        return static_cast<float>((-7.0 / 3.0 * a3 + 12.0 * a2 - 20.0 * a + 32.0 / 3.0) / 6.0);
    return 0.0f;
}

float FilterKernel(TStretchFilter StretchFilter, float x)
{
    const float a = std::fabs(x);
    switch (StretchFilter) {
    case sfNearest:
        return x > -0.5f && x <= 0.5f ? 1.0f : 0.0f;
    case sfDraft:
    case sfLinear:
        return a < 1.0f ? 1.0f - a : 0.0f;
    case sfCosine:
        return a < 1.0f ? static_cast<float>((std::cos(std::numbers::pi * x) + 1.0) / 2.0) : 0.0f;
    case sfSpline: {
        const float a2 = a * a;
        const float a3 = a2 * a;
        if (a < 1.0f)
            return static_cast<float>(a3 / 2.0 - a2 + 2.0 / 3.0);
        if (a < 2.0f) {
            const double b = 2.0 - a;
            return static_cast<float>(b * b * b / 6.0);
        }
        return 0.0f;
    }
    case sfLanczos:
        return a < 3.0f ? static_cast<float>(sinc(a) * sinc(a / 3.0)) : 0.0f;
    case sfMitchell:
        return MitchellFilter(x);
    }
    return 0.0f;
}

int FilterRadius(TStretchFilter StretchFilter)
{
    switch (StretchFilter) {
    case sfSpline:
    case sfMitchell:
        return 2;
    case sfLanczos:
        return 3;
    default:
        return 1;
    }
}

TFlatTable BuildFlatTable(int DstLo, int DstHi, int ClipLo, int ClipHi, int SrcLo, int SrcHi,
                          TStretchFilter StretchFilter)
{
    // Spans in 64 bits: a destination rectangle far outside the bitmap must
    // not overflow its width.
    const std::int64_t srcW = std::int64_t{SrcHi} - SrcLo;
    const std::int64_t dstW = std::int64_t{DstHi} - DstLo;
    const std::int64_t clipW = std::int64_t{ClipHi} - ClipLo;
    if (srcW <= 0 || clipW <= 0)
        return {};

    TTableBuilder table(SrcLo, SrcHi, clipW);
    if (srcW == 1) {
        for (std::int64_t i = 0; i < clipW; ++i) {
            table.add(SrcLo, kWeightOne);
            table.close(SrcLo);
        }
        return table.take();
    }
    if (dstW <= 0)
        return {};

    const auto scale = static_cast<float>(static_cast<double>(dstW) / static_cast<double>(srcW));
    const auto inv = static_cast<float>(1.0 / scale);
    const int radius = FilterRadius(StretchFilter);
    const std::int64_t offset = std::int64_t{ClipLo} - DstLo;
    const double srcOrigin = static_cast<double>(SrcLo) - 0.5;
    auto centerOf = [&](std::int64_t i) {
        return static_cast<float>((static_cast<double>(i + offset) + 0.5) * inv + srcOrigin);
    };

    if (scale < 1.0f) {
        // Reduction: the kernel is stretched to cover 1/scale source pixels
        // and its weights shrink by scale.
        const double s = scale;
        const auto width = static_cast<float>(radius * static_cast<double>(inv));
        for (std::int64_t i = 0; i < clipW; ++i) {
            const float center = centerOf(i);
            const auto left = static_cast<std::int64_t>(std::floor(static_cast<double>(center) - width));
            const auto right = static_cast<std::int64_t>(std::ceil(static_cast<double>(center) + width));
            for (std::int64_t j = left; j <= right; ++j) {
                const auto x = static_cast<float>((center - static_cast<double>(j)) * s);
                table.add(j, roundHalfEven(static_cast<double>(FilterKernel(StretchFilter, x)) * 256.0 * s));
            }
            table.close(center);
        }
        return table.take();
    }

    for (std::int64_t i = 0; i < clipW; ++i) {
        const float center = centerOf(i);
        const auto left = static_cast<std::int64_t>(std::floor(static_cast<double>(center) - radius));
        const auto right = static_cast<std::int64_t>(std::ceil(static_cast<double>(center) + radius));
        for (std::int64_t j = left; j <= right; ++j) {
            const auto x = static_cast<float>(center - static_cast<double>(j));
            table.add(j, roundHalfEven(static_cast<double>(FilterKernel(StretchFilter, x)) * 256.0));
        }
        table.close(center);
    }
    return table.take();
}

TMappingTable BuildMappingTable(int DstLo, int DstHi, int ClipLo, int ClipHi, int SrcLo, int SrcHi,
                                TStretchFilter StretchFilter)
{
    const TFlatTable flat = BuildFlatTable(DstLo, DstHi, ClipLo, ClipHi, SrcLo, SrcHi, StretchFilter);
    TMappingTable table(static_cast<std::size_t>(flat.Count()));
    for (int i = 0; i < flat.Count(); ++i)
        table[i].assign(flat.begin(i), flat.end(i));
    return table;
}
