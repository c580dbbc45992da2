#pragma once

#include "color32.h"
#include "resampler.h"

#include <cstddef>
#include <cstdint>
#include <vector>

/// The kernel of a filter at x, on 32-bit floats; zero outside its half-width.
float FilterKernel(TStretchFilter StretchFilter, float x);

/// The half-width of a filter's kernel in source pixels (1, 2 or 3).
int FilterRadius(TStretchFilter StretchFilter);

/// The weight table of one axis as flat arrays: the entries of cluster i are
/// Entries[First[i]] .. Entries[First[i + 1] - 1], in the order they were
/// built. Positions are clamped to the source span; the weights of every
/// cluster sum to kWeightOne.
struct TFlatTable {
    std::vector<std::size_t> First;
    std::vector<TPointRec> Entries;
    std::int32_t MinPos = 0;   ///< lowest position any entry names
    std::int32_t MaxPos = -1;  ///< highest position any entry names

    int Count() const { return First.empty() ? 0 : static_cast<int>(First.size() - 1); }
    bool Empty() const { return Count() == 0; }
    const TPointRec* begin(int i) const { return Entries.data() + First[i]; }
    const TPointRec* end(int i) const { return Entries.data() + First[i + 1]; }
};

/// BuildMappingTable without a vector per cluster; the resampler's own form.
TFlatTable BuildFlatTable(int DstLo, int DstHi, int ClipLo, int ClipHi, int SrcLo, int SrcHi,
                          TStretchFilter StretchFilter);
