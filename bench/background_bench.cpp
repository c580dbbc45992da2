// A plain background put behind the person of a 35 x 45 mm cell at 600 dpi
// (827 x 1063) rendered from the real sample portrait, on top of its person
// mask (computed once, outside the timing); to stay under 30 ms on the
// project's machine. The cell is restored between runs outside the timing.
//
//   background_bench [Google Benchmark flags]

#include "background_replace.h"

#include "bitmap32.h"
#include "photo_check.h"
#include "sheet_formats.h"

#include <QGuiApplication>

#include <opencv2/imgproc.hpp>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCellWidth = 827;
constexpr int kCellHeight = 1063;

void BM_ReplaceBackground(benchmark::State& state)
{
    TBitmap32 photo;
    photo.LoadFromFile(QStringLiteral(QRL_BENCH_PORTRAIT));
    const QString models = QStringLiteral(QRL_BENCH_MODEL_DIR);
    TFaceModels faceModels(models);
    const TPhotoAnalysis analysis = AnalysePhoto(photo, faceModels);
    if (analysis.Faces.empty()) {
        state.SkipWithError("no face found");
        return;
    }
    const TFrame frame = *FrameForHead(analysis.Facts.Head, HeadRule(TPhotoFormat::France35x45));
    TBitmap32 rendered, cell;
    rendered.SetSize(kCellWidth, kCellHeight);
    const double sx = frame.Width / kCellWidth, sy = frame.Height / kCellHeight;
    const cv::Matx23d toPhoto(sx, 0, frame.X + 0.5 * sx - 0.5, 0, sy, frame.Y + 0.5 * sy - 0.5);
    cv::Mat out(kCellHeight, kCellWidth, CV_8UC4, rendered.Bits());
    cv::warpAffine(cv::Mat(photo.Height(), photo.Width(), CV_8UC4, photo.Bits()), out, toPhoto, out.size(),
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, cv::Scalar::all(255));
    cell.SetSize(kCellWidth, kCellHeight);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy_n(rendered.Bits(), kCellWidth * kCellHeight, cell.Bits());
        state.ResumeTiming();
        ReplaceBackground(cell, frame, analysis.Faces[0].Mask, Color32(220, 220, 220));
        benchmark::DoNotOptimize(cell.Bits());
    }
}
BENCHMARK(BM_ReplaceBackground)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
