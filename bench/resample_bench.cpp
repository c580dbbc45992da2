// Speed of the transfers the program makes, in output megapixels per second:
// the photo into its printer cell (4000x3000 -> 826x1062, a 35 x 45 mm photo
// at 600 dpi) and into the on-screen view (-> 151x201), a small photo
// enlarged, and the page preview (nearest neighbour, 4960x7016 -> 420x594).
// Each filtered case runs with the loops the processor gets ("auto") and with
// the portable loops, for comparison. Times are the thread's CPU time, which
// other work on a shared machine does not inflate.

#include "bitmap32.h"
#include "resample_engine.h"
#include "resampler.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>

namespace {

// Sources are made once: filling 4960 x 7016 pixels is not what is measured.
const TBitmap32& source(int w, int h)
{
    static std::map<std::pair<int, int>, std::unique_ptr<TBitmap32>> cache;
    std::unique_ptr<TBitmap32>& b = cache[{w, h}];
    if (!b) {
        b = std::make_unique<TBitmap32>();
        b->SetSize(w, h);
        std::uint32_t seed = 12345;
        for (int i = 0; i < w * h; ++i) {
            seed = seed * 1664525u + 1013904223u;
            b->Bits()[i] = seed | 0xFF000000u;
        }
    }
    return *b;
}

void BM_Transfer(benchmark::State& state, int srcW, int srcH, int dstW, int dstH, TStretchFilter filter,
                 TResampleEngine engine)
{
    const TBitmap32& src = source(srcW, srcH);
    TBitmap32 dst;
    dst.SetSize(dstW, dstH);
    SetResampleEngine(engine);
    for (auto _ : state) {
        StretchTransfer(&dst, dst.BoundsRect(), dst.ClipRect(), &src, src.BoundsRect(), filter, dmOpaque, {});
        benchmark::DoNotOptimize(dst.Bits());
        benchmark::ClobberMemory();
    }
    SetResampleEngine(TResampleEngine::Auto);
    state.counters["Mpx/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * dstW * dstH / 1e6, benchmark::Counter::kIsRate);
    if (filter != sfNearest)
        state.SetLabel(engine == TResampleEngine::Portable ? "portable"
                       : CpuHasAvx2()                      ? "auto (avx2)"
                                                           : "auto (portable)");
}

constexpr auto kAuto = TResampleEngine::Auto;
constexpr auto kPortable = TResampleEngine::Portable;

}  // namespace

BENCHMARK_CAPTURE(BM_Transfer, Mitchell_4000x3000_to_826x1062, 4000, 3000, 826, 1062, sfMitchell, kAuto)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transfer, Mitchell_4000x3000_to_151x201, 4000, 3000, 151, 201, sfMitchell, kAuto)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transfer, Mitchell_640x480_to_826x1062, 640, 480, 826, 1062, sfMitchell, kAuto)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transfer, Nearest_4960x7016_to_420x594, 4960, 7016, 420, 594, sfNearest, kAuto)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_Transfer, Portable_Mitchell_4000x3000_to_826x1062, 4000, 3000, 826, 1062, sfMitchell, kPortable)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transfer, Portable_Mitchell_4000x3000_to_151x201, 4000, 3000, 151, 201, sfMitchell, kPortable)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Transfer, Portable_Mitchell_640x480_to_826x1062, 640, 480, 826, 1062, sfMitchell, kPortable)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
