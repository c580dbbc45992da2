// Automatic framing of a 12-megapixel portrait: the real sample portrait
// enlarged with the Mitchell filter to 3000 x 4000, then face detection on the
// reduced copy and the frame for the 35 x 45 mm rule. The target on the
// project's machine is under 150 ms per photo.
//
//   framing_bench [Google Benchmark flags]

#include "bitmap32.h"
#include "large_portrait.h"
#include "face_detector.h"
#include "sheet_formats.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

const TBitmap32& photo()
{
    return LargePortrait();
}

void BM_AutoFrame12Megapixels(benchmark::State& state)
{
    const TFaceDetector detector;
    const TBitmap32& p = photo();
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    for (auto _ : state) {
        TAutoFrame result = AutoFrame(detector, p, rule);
        if (!result.Frame)
            state.SkipWithError("no face found");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["megapixels"] = static_cast<double>(p.Width()) * p.Height() / 1e6;
}
BENCHMARK(BM_AutoFrame12Megapixels)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the two cascades, once per program run.
void BM_LoadDetector(benchmark::State& state)
{
    for (auto _ : state) {
        TFaceDetector detector;
        benchmark::DoNotOptimize(&detector);
    }
}
BENCHMARK(BM_LoadDetector)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
