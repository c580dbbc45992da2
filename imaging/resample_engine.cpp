#include "resample_engine.h"

#include <algorithm>
#include <bit>

// The passes address a pixel's channels as its bytes in memory.
static_assert(std::endian::native == std::endian::little, "pixels are read as B, G, R, A bytes");

using namespace resample_detail;

namespace {

TResampleEngine gEngine = TResampleEngine::Auto;

// floor(v / 65536) limited to 0..255: overshoot of negative lobes is clamped,
// never wrapped.
inline TColor32 channel(std::int32_t v)
{
    return static_cast<TColor32>(std::clamp<std::int32_t>(v, 0, 0xFF0000)) >> 16;
}

// The entries of one cluster sorted by position, those naming the same
// position merged into one, zero sums dropped.
std::vector<TPointRec> merged(const TPointRec* first, const TPointRec* last)
{
    std::vector<TPointRec> entries(first, last);
    std::sort(entries.begin(), entries.end(),
              [](const TPointRec& a, const TPointRec& b) { return a.Pos < b.Pos; });
    std::vector<TPointRec> out;
    for (const TPointRec& e : entries) {
        if (!out.empty() && out.back().Pos == e.Pos)
            out.back().Weight += e.Weight;
        else
            out.push_back(e);
    }
    std::erase_if(out, [](const TPointRec& e) { return e.Weight == 0; });
    // Merged weights still sum to 256, so at least one remains.
    return out;
}

std::size_t largestCluster(const TFlatTable& t)
{
    std::size_t n = 0;
    for (int i = 0; i < t.Count(); ++i)
        n = std::max(n, t.First[i + 1] - t.First[i]);
    return n;
}

}  // namespace

void SetResampleEngine(TResampleEngine Engine)
{
    gEngine = Engine;
}

TResampleEngine ResampleEngine()
{
    return gEngine;
}

bool CpuHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    // libgcc checks that the operating system saves the AVX registers too.
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

// Both factors as 16-bit values: the compiler then multiplies eight at a time
// with 32-bit results even where the processor has no 32-bit vector multiply.
void resample_detail::VerticalPassPortable(const std::uint8_t* const* Rows, const std::int16_t* W,
                                           int N, int Bytes, std::int32_t* Sums)
{
    {
        const std::uint8_t* s = Rows[0];
        const std::int16_t w = W[0];
        for (int b = 0; b < Bytes; ++b)
            Sums[b] = w * static_cast<std::int16_t>(s[b]);
    }
    for (int k = 1; k < N; ++k) {
        const std::uint8_t* s = Rows[k];
        const std::int16_t w = W[k];
        for (int b = 0; b < Bytes; ++b)
            Sums[b] += w * static_cast<std::int16_t>(s[b]);
    }
}

TResampleRows::TResampleRows(const TBitmap32& Src, const TFlatTable& X, const TFlatTable& Y,
                             TResampleEngine Engine)
    : FSrc(Src), FX(X), FY(Y), FColumns(X.MaxPos - X.MinPos + 1)
{
    const std::size_t rows = largestCluster(Y);
    FRows.resize(rows + 1);
    FRowWeights.resize(rows + 1);
    if (Engine == TResampleEngine::Auto && CpuHasAvx2())
        prepareAvx2();
    if (!FAvx2)
        FColumnSums.assign(static_cast<std::size_t>(FColumns) * 4, 0);
}

void TResampleRows::prepareAvx2()
{
    FYFirst.assign(1, 0);
    for (int i = 0; i < FY.Count(); ++i) {
        std::vector<TPointRec> e = merged(FY.begin(i), FY.end(i));
        // Rows go in pairs; a lone last row pairs with itself at weight 0.
        if (e.size() % 2 != 0)
            e.push_back({e.back().Pos, 0});
        for (std::size_t k = 0; k < e.size(); k += 2) {
            const auto lo = static_cast<std::uint16_t>(e[k].Weight);
            const auto hi = static_cast<std::uint16_t>(e[k + 1].Weight);
            FYPairs.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(hi) << 16 | lo));
            FYPos.push_back(e[k].Pos);
            FYPos.push_back(e[k + 1].Pos);
            FYWeights.push_back(static_cast<std::int16_t>(e[k].Weight));
            FYWeights.push_back(static_cast<std::int16_t>(e[k + 1].Weight));
        }
        FYFirst.push_back(FYPos.size());
    }

    std::vector<std::vector<TPointRec>> bands(static_cast<std::size_t>(FX.Count()));
    int taps = 0;
    for (int i = 0; i < FX.Count(); ++i) {
        bands[i] = merged(FX.begin(i), FX.end(i));
        if (!bands[i].empty())
            taps = std::max(taps, bands[i].back().Pos - bands[i].front().Pos + 1);
    }
    FBandTaps = (taps + 1) & ~1;
    FBandStart.assign(bands.size(), 0);
    FBandWeights.assign(bands.size() * static_cast<std::size_t>(FBandTaps) * 4, 0);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (bands[i].empty())
            continue;
        const std::int32_t start = bands[i].front().Pos;
        FBandStart[i] = start - FX.MinPos;
        std::int32_t* w = FBandWeights.data() + i * static_cast<std::size_t>(FBandTaps) * 4;
        for (const TPointRec& e : bands[i])
            std::fill_n(w + static_cast<std::size_t>(e.Pos - start) * 4, 4, e.Weight);
    }

    // A band may reach past the last column by up to FBandTaps - 1 columns of
    // zero weight; those columns stay zero.
    FColumnSums.assign(static_cast<std::size_t>(FColumns + FBandTaps) * 4, 0);
    FAvx2 = true;
}

void TResampleRows::Row(int Row, TColor32* Out)
{
    if (FAvx2)
        avx2Row(Row, Out);
    else
        portableRow(Row, Out);
}

void TResampleRows::portableRow(int row, TColor32* out)
{
    const std::size_t xOffset = static_cast<std::size_t>(FX.MinPos) * 4;
    int n = 0;
    for (const TPointRec* e = FY.begin(row); e != FY.end(row); ++e, ++n) {
        FRows[n] = reinterpret_cast<const std::uint8_t*>(FSrc.ScanLine(e->Pos)) + xOffset;
        FRowWeights[n] = static_cast<std::int16_t>(e->Weight);
    }
    std::int32_t* sums = FColumnSums.data();
    VerticalPassPortable(FRows.data(), FRowWeights.data(), n, FColumns * 4, sums);

    for (int i = 0; i < FX.Count(); ++i) {
        std::int32_t b = 0, g = 0, r = 0, a = 0;
        for (const TPointRec* e = FX.begin(i); e != FX.end(i); ++e) {
            const std::int32_t* c = sums + static_cast<std::size_t>(e->Pos - FX.MinPos) * 4;
            b += e->Weight * c[0];
            g += e->Weight * c[1];
            r += e->Weight * c[2];
            a += e->Weight * c[3];
        }
        out[i] = channel(a) << 24 | channel(r) << 16 | channel(g) << 8 | channel(b);
    }
}

void TResampleRows::avx2Row(int row, TColor32* out)
{
    const std::size_t xOffset = static_cast<std::size_t>(FX.MinPos) * 4;
    const std::size_t first = FYFirst[row];
    const std::size_t count = FYFirst[row + 1] - first;
    for (std::size_t k = 0; k < count; ++k)
        FRows[k] = reinterpret_cast<const std::uint8_t*>(FSrc.ScanLine(FYPos[first + k])) + xOffset;
    // The AVX2 vertical pass works on blocks of eight columns.
    if (FColumns >= 8)
        VerticalPassAvx2(FRows.data(), FYPairs.data() + first / 2, static_cast<int>(count / 2),
                         FColumns * 4, FColumnSums.data());
    else
        VerticalPassPortable(FRows.data(), FYWeights.data() + first, static_cast<int>(count),
                             FColumns * 4, FColumnSums.data());
    HorizontalPassAvx2(FColumnSums.data(), FBandStart.data(), FBandWeights.data(), FBandTaps,
                       FX.Count(), out);
}
