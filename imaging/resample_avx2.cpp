// The AVX2 loops of the separable resampler. They are compiled for AVX2 by
// a function attribute rather than a compiler flag, so no other code in the
// program can pick up AVX2 instructions; TResampleRows calls them only after
// CpuHasAvx2(). Both give exactly the bits of the portable loops: the sums
// are exact integers, only the order of adding them differs.

#include "resample_engine.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define QRL_AVX2 __attribute__((target("avx2")))

namespace {

// Byte i of rows a and b side by side as 16-bit values, so that one
// multiply-add gives a[i] x wa + b[i] x wb as a 32-bit sum (w holds wa in its
// low and wb in its high half). The unpacks work within 128-bit halves: acc0
// gets bytes 0-3 and 16-19, acc1 4-7 and 20-23, acc2 8-11 and 24-27, acc3
// 12-15 and 28-31.
QRL_AVX2 inline void addRowPair(__m256i a, __m256i b, __m256i w, __m256i& acc0, __m256i& acc1,
                                __m256i& acc2, __m256i& acc3)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = _mm256_unpacklo_epi8(a, b);
    const __m256i hi = _mm256_unpackhi_epi8(a, b);
    acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), w));
    acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), w));
    acc2 = _mm256_add_epi32(acc2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), w));
    acc3 = _mm256_add_epi32(acc3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), w));
}

// Puts the 32 sums of addRowPair back in byte order.
QRL_AVX2 inline void storeSums(std::int32_t* sums, __m256i acc0, __m256i acc1, __m256i acc2, __m256i acc3)
{
    auto* out = reinterpret_cast<__m256i*>(sums);
    _mm256_storeu_si256(out + 0, _mm256_permute2x128_si256(acc0, acc1, 0x20));
    _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(acc2, acc3, 0x20));
    _mm256_storeu_si256(out + 2, _mm256_permute2x128_si256(acc0, acc1, 0x31));
    _mm256_storeu_si256(out + 3, _mm256_permute2x128_si256(acc2, acc3, 0x31));
}

// Eight pixels (32 bytes) of every row pair, summed into 32 column sums.
QRL_AVX2 inline void verticalBlock(const std::uint8_t* const* rows, const std::int32_t* pairs,
                                   int pairCount, int offset, std::int32_t* sums)
{
    __m256i acc0 = _mm256_setzero_si256(), acc1 = acc0, acc2 = acc0, acc3 = acc0;
    for (int p = 0; p < pairCount; ++p) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2 * p] + offset));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[2 * p + 1] + offset));
        addRowPair(a, b, _mm256_set1_epi32(pairs[p]), acc0, acc1, acc2, acc3);
    }
    storeSums(sums + offset, acc0, acc1, acc2, acc3);
}

// Sixteen pixels at once: the row addresses and weights are loaded once for
// two blocks.
QRL_AVX2 inline void verticalBlock2(const std::uint8_t* const* rows, const std::int32_t* pairs,
                                    int pairCount, int offset, std::int32_t* sums)
{
    __m256i acc0 = _mm256_setzero_si256(), acc1 = acc0, acc2 = acc0, acc3 = acc0;
    __m256i acc4 = acc0, acc5 = acc0, acc6 = acc0, acc7 = acc0;
    for (int p = 0; p < pairCount; ++p) {
        const std::uint8_t* ra = rows[2 * p] + offset;
        const std::uint8_t* rb = rows[2 * p + 1] + offset;
        const __m256i w = _mm256_set1_epi32(pairs[p]);
        addRowPair(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(ra)),
                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rb)), w, acc0, acc1, acc2, acc3);
        addRowPair(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(ra + 32)),
                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rb + 32)), w, acc4, acc5, acc6, acc7);
    }
    storeSums(sums + offset, acc0, acc1, acc2, acc3);
    storeSums(sums + offset + 32, acc4, acc5, acc6, acc7);
}

QRL_AVX2 inline __m256i load(const std::int32_t* p)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// The sum of the two 128-bit halves: the two taps of a pair added up.
QRL_AVX2 inline __m128i halves(__m256i v)
{
    return _mm_add_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
}

// The four channel sums of one destination pixel.
QRL_AVX2 inline __m128i bandSum(const std::int32_t* sums, const std::int32_t* weights, int taps)
{
    __m256i acc = _mm256_setzero_si256();
    for (int k = 0; k < 4 * taps; k += 8)
        acc = _mm256_add_epi32(acc, _mm256_mullo_epi32(load(sums + k), load(weights + k)));
    return halves(acc);
}

}  // namespace

QRL_AVX2 void resample_detail::VerticalPassAvx2(const std::uint8_t* const* Rows,
                                                const std::int32_t* Pairs, int PairCount,
                                                int Bytes, std::int32_t* Sums)
{
    int offset = 0;
    for (; offset + 64 <= Bytes; offset += 64)
        verticalBlock2(Rows, Pairs, PairCount, offset, Sums);
    for (; offset + 32 <= Bytes; offset += 32)
        verticalBlock(Rows, Pairs, PairCount, offset, Sums);
    // The last few columns: one more block ending at the last byte, which
    // recomputes some columns to the same values.
    if (offset < Bytes)
        verticalBlock(Rows, Pairs, PairCount, Bytes - 32, Sums);
}

QRL_AVX2 void resample_detail::HorizontalPassAvx2(const std::int32_t* Sums, const std::int32_t* Start,
                                                  const std::int32_t* Weights, int Taps, int Count,
                                                  TColor32* Out)
{
    const std::size_t stride = static_cast<std::size_t>(Taps) * 4;
    // floor(v / 65536), then the saturating packs clamp to 0..255.
    int i = 0;
    for (; i + 4 <= Count; i += 4) {
        const std::int32_t* w = Weights + i * stride;
        const __m128i p0 = _mm_srai_epi32(bandSum(Sums + 4 * Start[i], w, Taps), 16);
        const __m128i p1 = _mm_srai_epi32(bandSum(Sums + 4 * Start[i + 1], w + stride, Taps), 16);
        const __m128i p2 = _mm_srai_epi32(bandSum(Sums + 4 * Start[i + 2], w + 2 * stride, Taps), 16);
        const __m128i p3 = _mm_srai_epi32(bandSum(Sums + 4 * Start[i + 3], w + 3 * stride, Taps), 16);
        const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(p0, p1), _mm_packs_epi32(p2, p3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + i), packed);
    }
    for (; i < Count; ++i) {
        const __m128i p = _mm_srai_epi32(bandSum(Sums + 4 * Start[i], Weights + i * stride, Taps), 16);
        const __m128i words = _mm_packs_epi32(p, p);
        const __m128i packed = _mm_packus_epi16(words, words);
        Out[i] = static_cast<TColor32>(_mm_cvtsi128_si32(packed));
    }
}

#else

// Never called where CpuHasAvx2() is false.
void resample_detail::VerticalPassAvx2(const std::uint8_t* const*, const std::int32_t*, int, int,
                                       std::int32_t*)
{
}

void resample_detail::HorizontalPassAvx2(const std::int32_t*, const std::int32_t*, const std::int32_t*,
                                         int, int, TColor32*)
{
}

#endif
