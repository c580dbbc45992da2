#include "resampler.h"

#include "resample_engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr TStretchFilter kAllFilters[] = {sfNearest, sfDraft,   sfLinear, sfCosine,
                                          sfSpline,  sfLanczos, sfMitchell};

// Pseudo-random pixels, alpha included, so that nothing lines up by luck.
std::unique_ptr<TBitmap32> noise(int w, int h, std::uint32_t seed = 1)
{
    auto b = std::make_unique<TBitmap32>();
    b->SetSize(w, h);
    for (int i = 0; i < w * h; ++i) {
        seed = seed * 1664525u + 1013904223u;
        b->Bits()[i] = seed;
    }
    return b;
}

void transfer(TBitmap32& dst, const TRect& dstRect, const TBitmap32& src, TStretchFilter filter,
              TDrawMode mode = dmOpaque, const TPixelCombineEvent& callback = {})
{
    StretchTransfer(&dst, dstRect, dst.ClipRect(), &src, src.BoundsRect(), filter, mode, callback);
}

std::vector<TColor32> pixels(const TBitmap32& b)
{
    return {b.Bits(), b.Bits() + b.Width() * b.Height()};
}

QString transformMessage(const std::function<void()>& run)
{
    try {
        run();
    } catch (const ETransformError& e) {
        return e.Message;
    }
    return QStringLiteral("(nothing raised)");
}

int channelOf(TColor32 c, int shift)
{
    return static_cast<int>(c >> shift & 0xFF);
}

}  // namespace

TEST(MitchellFilter, ReferenceValuesAndShape)
{
    EXPECT_NEAR(MitchellFilter(0.0f), 0.888889f, 1e-6);
    EXPECT_NEAR(MitchellFilter(0.5f), 0.534722f, 1e-6);
    EXPECT_NEAR(MitchellFilter(1.0f), 0.055556f, 1e-6);
    EXPECT_EQ(MitchellFilter(2.0f), 0.0f);
    EXPECT_EQ(MitchellFilter(7.0f), 0.0f);
    EXPECT_LT(MitchellFilter(1.5f), 0.0f);
    EXPECT_EQ(MitchellFilter(-1.3f), MitchellFilter(1.3f));
}

TEST(BuildMappingTable, MitchellClustersOfKnownScales)
{
    // 2x enlargement: the two source pixels, positions clamped at both edges.
    EXPECT_EQ(BuildMappingTable(0, 4, 0, 4, 0, 2, sfMitchell),
              (TMappingTable{{{0, -4}, {0, 66}, {0, 200}, {1, -6}},
                             {{0, -6}, {0, 200}, {1, 66}, {1, -4}},
                             {{0, -4}, {0, 66}, {1, 200}, {1, -6}},
                             {{0, -6}, {1, 200}, {1, 66}, {1, -4}}}));

    // 2x reduction: the kernel spans twice as many pixels at half the weight.
    const TMappingTable down = BuildMappingTable(0, 4, 0, 4, 0, 8, sfMitchell);
    ASSERT_EQ(down.size(), 4u);
    EXPECT_EQ(down[0], (TCluster{{0, -2}, {0, -3}, {0, 33}, {0, 100}, {1, 100}, {2, 33}, {3, -3}, {4, -2}}));

    // Unchanged size still filters: (x - 1, 14), (x, 228), (x + 1, 14).
    EXPECT_EQ(BuildMappingTable(0, 5, 0, 5, 0, 5, sfMitchell),
              (TMappingTable{{{0, 14}, {0, 228}, {1, 14}},
                             {{0, 14}, {1, 228}, {2, 14}},
                             {{1, 14}, {2, 228}, {3, 14}},
                             {{2, 14}, {3, 228}, {4, 14}},
                             {{3, 14}, {4, 228}, {4, 14}}}));
}

TEST(BuildMappingTable, RoundingDifferenceGoesToTheMiddleEntry)
{
    // 3 -> 5: the first cluster rounds to 255 (its entry 1 gains one), the
    // second to 257 (its entry 1 loses one); mirrored clusters differ.
    const TMappingTable up = BuildMappingTable(0, 5, 0, 5, 0, 3, sfMitchell);
    ASSERT_EQ(up.size(), 5u);
    EXPECT_EQ(up[0], (TCluster{{0, -3}, {0, 54}, {0, 209}, {1, -4}}));
    EXPECT_EQ(up[1], (TCluster{{0, -9}, {0, 164}, {1, 108}, {2, -7}}));
    EXPECT_EQ(up[4], (TCluster{{1, -4}, {2, 210}, {2, 53}, {2, -3}}));

    // 5 -> 3: the middle cluster rounds to 259; entry (7 - 1) div 2 = 3 pays.
    const TMappingTable down = BuildMappingTable(0, 3, 0, 3, 0, 5, sfMitchell);
    ASSERT_EQ(down.size(), 3u);
    EXPECT_EQ(down[1], (TCluster{{0, -2}, {0, -2}, {1, 65}, {2, 134}, {3, 65}, {4, -2}, {4, -2}}));
}

TEST(BuildMappingTable, DegenerateSpans)
{
    EXPECT_TRUE(BuildMappingTable(0, 10, 0, 10, 4, 4, sfMitchell).empty());
    EXPECT_TRUE(BuildMappingTable(0, 10, 3, 3, 0, 4, sfMitchell).empty());
    EXPECT_EQ(BuildMappingTable(0, 7, 2, 5, 4, 5, sfLanczos), (TMappingTable(3, TCluster{{4, 256}})));
    // Every weight of a 1000:1 reduction rounds to zero: the centre pixel.
    EXPECT_EQ(BuildMappingTable(0, 1, 0, 1, 10, 1010, sfMitchell), (TMappingTable{{{509, 256}}}));
    // 512:1 with the box kernel: every weight is exactly 0.5, which rounds to
    // even (zero), not up to 512 entries of 1.
    EXPECT_EQ(BuildMappingTable(0, 1, 0, 1, 0, 512, sfNearest), (TMappingTable{{{255, 256}}}));
}

TEST(BuildMappingTable, FloatRoundingWhereItIsDue)
{
    // Clusters of the program's own sizes that come out one unit different
    // when the centre, scale and kernel are not rounded to 32-bit floats.
    EXPECT_EQ(BuildMappingTable(0, 826, 138, 139, 0, 640, sfMitchell),
              (TMappingTable{{{105, -2}, {106, 50}, {107, 211}, {108, -3}}}));
    EXPECT_EQ(BuildMappingTable(0, 826, 393, 394, 0, 4000, sfMitchell),
              (TMappingTable{{{1897, -1}, {1898, -2}, {1899, -1}, {1900, 2}, {1901, 9}, {1902, 20},
                              {1903, 32}, {1904, 43}, {1905, 46}, {1906, 44}, {1907, 34}, {1908, 22},
                              {1909, 10}, {1910, 2}, {1911, -1}, {1912, -2}, {1913, -1}}}));
}

TEST(BuildMappingTable, ClustersSumTo256InsideTheSourceAndClipsCutTheFullTable)
{
    for (TStretchFilter filter : kAllFilters)
        for (int srcW : {2, 3, 7, 15, 31, 100, 1000})
            for (int dstW : {1, 2, 5, 15, 31, 151, 400}) {
                const int srcLo = 3, dstLo = -4;
                const TMappingTable full = BuildMappingTable(dstLo, dstLo + dstW, dstLo, dstLo + dstW, srcLo,
                                                             srcLo + srcW, filter);
                ASSERT_EQ(full.size(), static_cast<std::size_t>(dstW));
                for (const TCluster& c : full) {
                    int sum = 0;
                    for (const TPointRec& e : c) {
                        ASSERT_GE(e.Pos, srcLo);
                        ASSERT_LT(e.Pos, srcLo + srcW);
                        sum += e.Weight;
                    }
                    ASSERT_EQ(sum, kWeightOne) << filter << " " << srcW << " -> " << dstW;
                }
                const int clipLo = dstLo + dstW / 3, clipHi = dstLo + dstW - dstW / 4;
                const TMappingTable part =
                    BuildMappingTable(dstLo, dstLo + dstW, clipLo, clipHi, srcLo, srcLo + srcW, filter);
                ASSERT_EQ(part, TMappingTable(full.begin() + (clipLo - dstLo), full.begin() + (clipHi - dstLo)));
            }
}

TEST(Resample, OnePixelVerticalLineBecomes13_227_13)
{
    TBitmap32 src;
    src.SetSize(15, 31);
    src.Clear(clBlack32);
    src.FillRectS(7, 0, 8, 31, clWhite32);
    TBitmap32 dst;
    dst.SetSize(15, 40);
    transfer(dst, dst.BoundsRect(), src, sfMitchell);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 15; ++x) {
            const int v = x == 7 ? 227 : (x == 6 || x == 8) ? 13 : 0;
            ASSERT_EQ(dst.Pixel(x, y), Color32(v, v, v)) << x << "," << y;
        }
}

TEST(Resample, EdgeOvershootIsClampedNeverWrapped)
{
    TBitmap32 src;
    src.SetSize(8, 3);
    src.Clear(0x00000000);
    src.FillRectS(4, 0, 8, 3, clWhite32);
    TBitmap32 dst;
    dst.SetSize(37, 5);
    transfer(dst, dst.BoundsRect(), src, sfMitchell);
    // Undershoot and overshoot of the negative lobes wrap to 255 and 0 when
    // not clamped, which breaks the rise from black to white.
    for (int shift : {0, 8, 16, 24})
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(channelOf(dst.Pixel(0, y), shift), 0);
            EXPECT_EQ(channelOf(dst.Pixel(36, y), shift), 255);
            for (int x = 1; x < 37; ++x)
                ASSERT_GE(channelOf(dst.Pixel(x, y), shift), channelOf(dst.Pixel(x - 1, y), shift)) << x;
        }
}

TEST(StretchTransfer, EqualSizeIsBitExactAndOnePixelIsRepeatedWhateverTheFilter)
{
    const auto srcHolder = noise(15, 31);
    const TBitmap32& src = *srcHolder;
    TBitmap32 one;
    one.SetSize(1, 1);
    one.Clear(0x80402010);
    for (TStretchFilter filter : kAllFilters) {
        TBitmap32 dst;
        dst.SetSize(20, 30);
        transfer(dst, Rect(-2, 3, 13, 34), src, filter);
        for (int y = 3; y < 30; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(dst.Pixel(x, y), src.Pixel(x + 2, y - 3)) << filter;

        for (TRect r : {Rect(0, 0, 37, 5), Rect(3, 2, 4, 21), Rect(0, 7, 19, 8)}) {
            dst.Clear(0);
            transfer(dst, r, one, filter);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 20; ++x)
                    ASSERT_EQ(dst.Pixel(x, y), x < r.Right && y >= r.Top && y < r.Bottom && x >= r.Left
                                                   ? 0x80402010u : 0u) << filter;
        }
    }
}

TEST(StretchTransfer, ClippedDestinationGetsExactlyTheVisiblePartOfTheWhole)
{
    const auto srcHolder = noise(15, 31);
    const TBitmap32& src = *srcHolder;
    for (TStretchFilter filter : {sfNearest, sfLinear, sfLanczos, sfMitchell}) {
        TBitmap32 whole;
        whole.SetSize(47, 65);
        transfer(whole, whole.BoundsRect(), src, filter);

        TBitmap32 part;
        part.SetSize(25, 30);
        part.Clear(0x12345678);
        part.SetClipRect(Rect(0, 2, 25, 29));
        transfer(part, Rect(-7, -5, 40, 60), src, filter);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 25; ++x) {
                const TColor32 want = y >= 2 && y < 29 ? whole.Pixel(x + 7, y + 5) : 0x12345678u;
                ASSERT_EQ(part.Pixel(x, y), want) << filter << " at " << x << "," << y;
            }
    }
}

TEST(StretchTransfer, ColumnSumsCoverEveryColumnOfAClippedEnlargement)
{
    // 100 -> 151 clipped from column 5: the first cluster starts at column 3
    // (its weight at 2 rounds to zero), the second reaches back to column 2.
    const TMappingTable table = BuildMappingTable(0, 151, 5, 151, 0, 100, sfMitchell);
    ASSERT_GE(table.size(), 2u);
    EXPECT_EQ(table[0].front().Pos, 3);
    EXPECT_EQ(table[1].front().Pos, 2);

    const auto srcHolder = noise(100, 9);
    const TBitmap32& src = *srcHolder;
    TBitmap32 whole;
    whole.SetSize(151, 14);
    transfer(whole, whole.BoundsRect(), src, sfMitchell);
    for (TResampleEngine engine : {TResampleEngine::Portable, TResampleEngine::Auto}) {
        SetResampleEngine(engine);
        TBitmap32 part;
        part.SetSize(151, 14);
        part.SetClipRect(Rect(5, 0, 151, 14));
        transfer(part, part.BoundsRect(), src, sfMitchell);
        for (int y = 0; y < 14; ++y)
            for (int x = 5; x < 151; ++x)
                ASSERT_EQ(part.Pixel(x, y), whole.Pixel(x, y)) << x << "," << y;
    }
    SetResampleEngine(TResampleEngine::Auto);
}

TEST(StretchNearest, PagePreviewSamplesTheRightPixels)
{
    // Each pixel names itself: column in bits 0-12, row in bits 13-25.
    TBitmap32 page;
    page.SetSize(4960, 7016);
    for (int y = 0; y < 7016; ++y)
        for (int x = 0; x < 4960; ++x)
            page.SetPixel(x, y, static_cast<TColor32>(x | y << 13));
    TBitmap32 view;
    view.SetSize(420, 594);
    transfer(view, view.BoundsRect(), page, sfNearest);

    // The 32-bit float scale puts column 21 on 247, not 248.
    const std::pair<int, int> columns[] = {{0, 0}, {1, 11}, {2, 23}, {21, 247}, {209, 2468}, {210, 2479}, {419, 4948}};
    const std::pair<int, int> rows[] = {{0, 0}, {1, 11}, {297, 3508}, {593, 7004}};
    for (auto [i, x] : columns)
        for (auto [j, y] : rows)
            EXPECT_EQ(view.Pixel(i, j), static_cast<TColor32>(x | y << 13)) << i << "," << j;

    TBitmap32 dot;
    dot.SetSize(1, 1);
    const auto srcHolder = noise(15, 31);
    const TBitmap32& src = *srcHolder;
    transfer(dot, dot.BoundsRect(), src, sfNearest);
    EXPECT_EQ(dot.Pixel(0, 0), src.Pixel(7, 15)) << "a one-pixel destination takes the middle";
}

TEST(StretchTransfer, BadInputRaisesTheRightMessage)
{
    const auto srcHolder = noise(15, 31);
    const TBitmap32& src = *srcHolder;
    TBitmap32 dst;
    dst.SetSize(10, 10);
    TBitmap32 empty;
    const TRect r = dst.BoundsRect();
    for (TStretchFilter filter : {sfNearest, sfMitchell}) {
        EXPECT_EQ(transformMessage([&] { StretchTransfer(&dst, r, r, &src, Rect(0, 0, 16, 31), filter, dmOpaque, {}); }),
                  "Source rectangle is invalid");
        EXPECT_EQ(transformMessage([&] { StretchTransfer(&dst, r, r, &src, Rect(-1, 0, 5, 5), filter, dmOpaque, {}); }),
                  "Source rectangle is invalid");
        EXPECT_EQ(transformMessage([&] { StretchTransfer(&empty, r, r, &src, src.BoundsRect(), filter, dmOpaque, {}); }),
                  "Destination bitmap is nil or empty");
        EXPECT_EQ(transformMessage([&] { StretchTransfer(nullptr, r, r, &src, src.BoundsRect(), filter, dmOpaque, {}); }),
                  "Destination bitmap is nil or empty");
        EXPECT_EQ(transformMessage([&] { StretchTransfer(&dst, r, r, nullptr, src.BoundsRect(), filter, dmOpaque, {}); }),
                  "Source bitmap is nil or empty");
    }
    EXPECT_EQ(transformMessage([&] { StretchNearest(dst, r, r, src, Rect(0, 0, 15, 32), dmOpaque, {}); }),
              "Invalid SrcRect");
    EXPECT_EQ(transformMessage([&] { Resample(dst, r, r, src, Rect(0, 0, 15, 32), sfMitchell, dmOpaque, {}); }),
              "Source rectangle is invalid");
    // An empty source ends the transfer before anything is checked.
    EXPECT_NO_THROW(StretchTransfer(nullptr, r, r, &empty, Rect(0, 0, 5, 5), sfMitchell, dmOpaque, {}));
}

TEST(StretchTransfer, EmptyClipsAndInvisibleBlendsLeaveTheDestinationUntouched)
{
    const auto srcHolder = noise(15, 31);
    TBitmap32& src = *srcHolder;
    const auto dstHolder = noise(20, 20, 7);
    TBitmap32& dst = *dstHolder;
    const std::vector<TColor32> before = pixels(dst);
    for (TStretchFilter filter : {sfNearest, sfMitchell}) {
        const TRect whole = dst.BoundsRect();
        StretchTransfer(&dst, Rect(20, 0, 40, 20), whole, &src, src.BoundsRect(), filter, dmOpaque, {});
        StretchTransfer(&dst, Rect(-30, -5, -1, 30), whole, &src, src.BoundsRect(), filter, dmOpaque, {});
        StretchTransfer(&dst, Rect(5, 5, 2, 30), whole, &src, src.BoundsRect(), filter, dmOpaque, {});
        StretchTransfer(&dst, whole, Rect(3, 3, 3, 9), &src, src.BoundsRect(), filter, dmOpaque, {});
        StretchTransfer(&dst, whole, whole, &src, Rect(4, 4, 4, 9), filter, dmOpaque, {});
        src.SetMasterAlpha(0);
        StretchTransfer(&dst, whole, whole, &src, src.BoundsRect(), filter, dmBlend, {});
        src.SetMasterAlpha(255);
    }
    EXPECT_EQ(pixels(dst), before);
}

TEST(StretchTransfer, DestinationWiderThanAnIntCanCount)
{
    const auto srcHolder = noise(15, 31);
    const TBitmap32& src = *srcHolder;
    for (TStretchFilter filter : {sfNearest, sfMitchell}) {
        TBitmap32 dst;
        dst.SetSize(6, 10);
        transfer(dst, Rect(-2147483647, 0, 2147483647, 10), src, filter);
        // The visible columns all lie at the middle of the source.
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(dst.Pixel(x, y), dst.Pixel(0, y)) << filter;
        if (filter == sfNearest) {
            EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(7, 0));
        }
    }
}

TEST(StretchTransfer, BlendAndCustomModesCombineTheFilteredPixel)
{
    const auto srcHolder = noise(15, 31);
    TBitmap32& src = *srcHolder;
    src.ResetAlpha();
    const auto backgroundHolder = noise(22, 13, 5);
    const TBitmap32& background = *backgroundHolder;
    for (TStretchFilter filter : {sfMitchell, sfNearest}) {
        TBitmap32 expected;
        expected.SetSize(22, 13);
        transfer(expected, expected.BoundsRect(), src, filter);

        TBitmap32 custom;
        custom.Assign(&background);
        transfer(custom, custom.BoundsRect(), src, filter, dmCustom,
                 [](TColor32 F, TColor32 B, TColor32& M) { M = F ^ B; });
        TBitmap32 blend;
        blend.Assign(&background);
        transfer(blend, blend.BoundsRect(), src, filter, dmBlend);
        for (int i = 0; i < 22 * 13; ++i) {
            ASSERT_EQ(custom.Bits()[i], expected.Bits()[i] ^ background.Bits()[i]);
            // Opaque pixels blend to their own colour; cmBlend keeps B's alpha.
            ASSERT_EQ(blend.Bits()[i], (expected.Bits()[i] & 0xFFFFFF) | (background.Bits()[i] & 0xFF000000));
        }
    }
    // A half-transparent pixel rounds to the nearest: (200 * 100 + 50 * 155) / 255 = 108.8.
    EXPECT_EQ(RedComponent(CombinePixel(Color32(200, 0, 0, 100), Color32(50, 0, 0), src, dmBlend, {})), 109);
}

TEST(StretchTransfer, DrawingABitmapIntoItselfReadsTheOriginal)
{
    for (TStretchFilter filter : {sfNearest, sfMitchell}) {
        for (TRect r : {Rect(0, 0, 10, 20), Rect(1, 1, 16, 32)}) {
            const auto selfHolder = noise(15, 31);
            TBitmap32& self = *selfHolder;
            const auto originalHolder = noise(15, 31);
            const TBitmap32& original = *originalHolder;
            const auto expectedHolder = noise(15, 31);
            TBitmap32& expected = *expectedHolder;
            transfer(expected, r, original, filter);
            transfer(self, r, self, filter);
            EXPECT_EQ(pixels(self), pixels(expected)) << filter;
        }
    }
}

TEST(TResampleRows, Avx2LoopsGiveThePortableBits)
{
    if (!CpuHasAvx2())
        GTEST_SKIP() << "this processor has no AVX2";
    auto compare = [](const TBitmap32& src, const TRect& dstRect, const TRect& clip, TStretchFilter filter) {
        const TRect s = src.BoundsRect();
        const TFlatTable x = BuildFlatTable(dstRect.Left, dstRect.Right, clip.Left, clip.Right, s.Left, s.Right, filter);
        const TFlatTable y = BuildFlatTable(dstRect.Top, dstRect.Bottom, clip.Top, clip.Bottom, s.Top, s.Bottom, filter);
        TResampleRows portable(src, x, y, TResampleEngine::Portable);
        TResampleRows fast(src, x, y, TResampleEngine::Auto);
        ASSERT_TRUE(fast.UsesAvx2());
        std::vector<TColor32> a(x.Count()), b(x.Count());
        for (int row = 0; row < y.Count(); ++row) {
            portable.Row(row, a.data());
            fast.Row(row, b.data());
            ASSERT_EQ(a, b) << src.Width() << "x" << src.Height() << " -> " << dstRect.Width() << "x"
                            << dstRect.Height() << " filter " << filter << " row " << row;
        }
    };
    // Hard black and white drive every sum past both clamps.
    const auto starkHolder = noise(64, 48, 3);
    TBitmap32& stark = *starkHolder;
    for (int i = 0; i < 64 * 48; ++i)
        stark.Bits()[i] = stark.Bits()[i] & 0x100 ? 0xFFFFFFFF : 0;

    for (int srcW = 1; srcW <= 19; ++srcW)
        for (int dstW = 1; dstW <= 19; ++dstW) {
            compare(*noise(srcW, 7 + srcW % 3, srcW), Rect(0, 0, dstW, 11 - dstW % 4), Rect(0, 0, dstW, 11 - dstW % 4), sfMitchell);
        }
    for (TStretchFilter filter : kAllFilters) {
        compare(*noise(15, 31), Rect(0, 0, 33, 7), Rect(0, 0, 33, 7), filter);
        compare(*noise(100, 37), Rect(-3, 2, 151, 201), Rect(5, 2, 140, 150), filter);
        compare(stark, Rect(0, 0, 13, 9), Rect(0, 0, 13, 9), filter);
        compare(stark, Rect(0, 0, 211, 163), Rect(0, 0, 211, 163), filter);
    }
    compare(*noise(640, 48), Rect(0, 0, 826, 106), Rect(0, 0, 826, 106), sfMitchell);
    compare(*noise(400, 300), Rect(0, 0, 83, 106), Rect(0, 0, 83, 106), sfMitchell);
}
