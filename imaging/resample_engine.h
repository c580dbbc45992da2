#pragma once

#include "bitmap32.h"
#include "resample_weights.h"

#include <cstdint>
#include <vector>

// The inner loops of the separable resampler, behind one row-at-a-time class.
//
// Number formats: pixels are four 8-bit channels; weights are in units of
// 1/256 (kWeightOne). The vertical pass sums weight x channel into the
// column buffer (one signed 32-bit sum per channel, a factor of 256), the
// horizontal pass sums weight x column sum (a factor of 65536). A rounded
// weight is never more than twice its exact value in size, and a cluster's
// correction is at most the rounding it undoes, so the absolute weights of a
// cluster add up to well under 2000 (766 is the most seen over every filter
// and scale) and each weight fits in 16 bits. Every sum stays far inside 32
// bits, 255 x 2000 x 2000 < 2^31, so the sums are exact integers and any
// order of adding them gives the same bits; the fast loops rely on that.

/// Which loops run the separable passes.
enum class TResampleEngine {
    Auto,      ///< the fastest the processor supports (AVX2 when present)
    Portable,  ///< plain C++ that the compiler vectorises for the baseline x86-64
};

/// Chooses the loops for every following transfer (tests and benchmarks).
void SetResampleEngine(TResampleEngine Engine);
TResampleEngine ResampleEngine();

/// True when the processor and the operating system support AVX2.
bool CpuHasAvx2();

/// Produces the filtered destination rows of one transfer. Built once per
/// transfer: everything it needs is allocated here, nothing per row.
class TResampleRows {
public:
    /// X and Y are the horizontal and vertical tables (neither empty); their
    /// positions address Src directly.
    TResampleRows(const TBitmap32& Src, const TFlatTable& X, const TFlatTable& Y,
                  TResampleEngine Engine = ResampleEngine());

    /// Writes the X.Count() pixels of the row of vertical cluster Row to Out.
    void Row(int Row, TColor32* Out);

    /// True when the AVX2 loops run.
    bool UsesAvx2() const { return FAvx2; }

private:
    void portableRow(int row, TColor32* out);
    void avx2Row(int row, TColor32* out);
    void prepareAvx2();

    const TBitmap32& FSrc;
    const TFlatTable& FX;
    const TFlatTable& FY;
    bool FAvx2 = false;
    int FColumns = 0;                      // XLo..XHi of the column buffer
    std::vector<std::int32_t> FColumnSums;  // 4 sums per column, B G R A
    std::vector<const std::uint8_t*> FRows;
    std::vector<std::int16_t> FRowWeights;

    // AVX2 form of the tables: the entries of a cluster that name the same
    // position are merged, vertical weights are paired as two 16-bit halves,
    // and every horizontal cluster is a band of FBandTaps weights (zero where
    // it uses no column), each repeated for the four channels.
    std::vector<std::size_t> FYFirst;
    std::vector<std::int32_t> FYPos;
    std::vector<std::int16_t> FYWeights;
    std::vector<std::int32_t> FYPairs;
    std::vector<std::int32_t> FBandStart;
    std::vector<std::int32_t> FBandWeights;
    int FBandTaps = 0;
};

namespace resample_detail {

/// Column sums of bytes 0..Bytes-1 of the N rows: Sums[b] = sum of W[k] x Rows[k][b].
void VerticalPassPortable(const std::uint8_t* const* Rows, const std::int16_t* W, int N, int Bytes,
                          std::int32_t* Sums);

/// Pairs[k] holds the weights of rows 2k and 2k + 1 as the low and high 16-bit
/// halves; an odd row count ends with a zero weight. Needs Bytes >= 32.
void VerticalPassAvx2(const std::uint8_t* const* Rows, const std::int32_t* Pairs, int PairCount,
                      int Bytes, std::int32_t* Sums);

/// Out[i] = packed sum over the band of cluster i: Start[i] is its first
/// column in Sums, Weights holds Taps weights x 4 channels per cluster. Taps is even.
void HorizontalPassAvx2(const std::int32_t* Sums, const std::int32_t* Start,
                        const std::int32_t* Weights, int Taps, int Count, TColor32* Out);

}  // namespace resample_detail
