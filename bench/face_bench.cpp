// The face models on a 12-megapixel portrait: the real sample portrait
// enlarged with the Mitchell filter to 3000 x 4000. Detection (whole photo
// and tiles), the mesh and the person mask are timed apart and together
// (MeasureFaces, the head measured); the whole photo check that builds on
// them is to stay under 80 ms on the project's machine.
//
//   face_bench [Google Benchmark flags]

#include "bitmap32.h"
#include "large_portrait.h"
#include "face_finder.h"
#include "face_mesh.h"
#include "face_photo.h"
#include "head_measure.h"
#include "person_mask.h"
#include "photo_check.h"
#include "sheet_formats.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

const QString kModels = QStringLiteral(QRL_BENCH_MODEL_DIR);

const TBitmap32& photo()
{
    return LargePortrait();
}

// The halved copies every model samples from, made once per photo.
void BM_PreparePhoto(benchmark::State& state)
{
    for (auto _ : state) {
        TFacePhoto prepared(photo());
        benchmark::DoNotOptimize(&prepared);
    }
}
BENCHMARK(BM_PreparePhoto)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FindFaces(benchmark::State& state)
{
    TFaceFinder finder(kModels);
    for (auto _ : state) {
        std::vector<TFace> faces = finder.Find(photo());
        if (faces.empty())
            state.SkipWithError("no face found");
        benchmark::DoNotOptimize(faces);
    }
}
BENCHMARK(BM_FindFaces)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FaceMesh(benchmark::State& state)
{
    TFaceFinder finder(kModels);
    TFaceMesh mesh(kModels);
    const TFace face = finder.Find(photo()).at(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(mesh.Fit(photo(), face));
}
BENCHMARK(BM_FaceMesh)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PersonMask(benchmark::State& state)
{
    TFaceFinder finder(kModels);
    TPersonMask mask(kModels);
    const QRectF region = HeadRegion(finder.Find(photo()).at(0).Box);
    for (auto _ : state)
        benchmark::DoNotOptimize(mask.Compute(photo(), region));
}
BENCHMARK(BM_PersonMask)->Unit(benchmark::kMillisecond)->UseRealTime();

// The head measured from landmarks and mask already at hand (the crown's
// colour tests run on the full photo), and the mask kept to the head.
void BM_MeasureHead(benchmark::State& state)
{
    TFaceModels models(kModels);
    const TMeasuredFace face =
        MeasureFaces(photo(), models.Finder(), models.Mesh(), models.Mask()).at(0);
    const TPersonMaskMap mask = models.Mask().Compute(photo(), HeadRegion(face.Face.Box));
    const TFacePhoto prepared(photo());
    for (auto _ : state) {
        const TMeasuredHead head = MeasureHead(photo(), face.Landmarks, mask);
        TPersonMaskMap kept = mask;
        KeepHeadAndShoulders(kept, prepared, head.Head, head.Top, head.Head.Height() * 0.6);
        benchmark::DoNotOptimize(kept);
    }
}
BENCHMARK(BM_MeasureHead)->Unit(benchmark::kMillisecond);

// Everything the photo check needs of the models: faces, mesh, mask, head.
void BM_MeasureFaces12Megapixels(benchmark::State& state)
{
    TFaceModels models(kModels);
    for (auto _ : state) {
        std::vector<TMeasuredFace> faces = MeasureFaces(photo(), models.Finder(), models.Mesh(), models.Mask());
        if (faces.empty())
            state.SkipWithError("no face measured");
        benchmark::DoNotOptimize(faces);
    }
    state.counters["megapixels"] = static_cast<double>(photo().Width()) * photo().Height() / 1e6;
}
BENCHMARK(BM_MeasureFaces12Megapixels)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole photo check: the models, then every measure of the photo and of
// its frame (the measured head framed for 35 x 45 mm).
void BM_PhotoCheck12Megapixels(benchmark::State& state)
{
    TFaceModels models(kModels);
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    for (auto _ : state) {
        const TPhotoAnalysis analysis = AnalysePhoto(photo(), models);
        if (analysis.Faces.empty())
            state.SkipWithError("no face measured");
        const TFrame frame = FrameForHead(analysis.Facts.Head, rule).value_or(TFrame{});
        benchmark::DoNotOptimize(CheckPhoto(analysis.Facts, analysis.Measured, frame, rule));
    }
}
BENCHMARK(BM_PhotoCheck12Megapixels)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a move of the frame costs: the measures judged again, no model run.
void BM_CheckAfterAFrameMove(benchmark::State& state)
{
    TFaceModels models(kModels);
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    const TPhotoAnalysis analysis = AnalysePhoto(photo(), models);
    TFrame frame = FrameForHead(analysis.Facts.Head, rule).value_or(TFrame{});
    for (auto _ : state) {
        frame.X += 1;
        benchmark::DoNotOptimize(CheckPhoto(analysis.Facts, analysis.Measured, frame, rule));
    }
}
BENCHMARK(BM_CheckAfterAFrameMove)->Unit(benchmark::kMicrosecond);

// Reading and checking the three models, once per program run.
void BM_LoadModels(benchmark::State& state)
{
    for (auto _ : state) {
        TFaceModels models(kModels);
        benchmark::DoNotOptimize(&models.Finder());
        benchmark::DoNotOptimize(&models.Mesh());
        benchmark::DoNotOptimize(&models.Mask());
    }
}
BENCHMARK(BM_LoadModels)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
