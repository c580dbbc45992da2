// The converted face models against the outputs they gave on one fixed input
// when the converter was last changed on purpose: a change of the converter
// that shifts any output shows here, not as a head measured a little off.
// After a change made on purpose, the failures give the new values.

#include "face_net.h"

#include <QImage>

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const QString kModels = QStringLiteral(QRL_TEST_MODEL_DIR);

// Besides single elements, a golden value may be the whole output summed:
// its values, or their magnitudes, so that changes of opposite sign do not
// cancel.
constexpr int kSum = -1;
constexpr int kMagnitudeSum = -2;

struct TGoldenValue {
    const char* What;
    int Output;   ///< in RunFaceModel's order
    int Index;    ///< the element, or kSum, kMagnitudeSum
    double Expected;
};

struct TGoldenRun {
    TFaceModel Model;
    cv::Rect Cut;   ///< of the astronaut portrait, 512 x 512, shrunk to the model's input
    std::vector<TGoldenValue> Values;
};

// The detector's likeliest anchor on its input below; its 16 regressors
// begin with the box's centre offset and size.
constexpr int kBestAnchor = 674;

constexpr int box(int k)
{
    return kBestAnchor * 16 + k;
}

// A mesh landmark's x, y or z (input pixels). The test needs no more of the
// face library than its model runner: the landmarks' numbers are the mesh's.
constexpr int kNoseTip = 1, kForeheadTop = 10, kRightEyeOuter = 33, kLeftEyeOuter = 263, kChin = 152;
constexpr int landmark(int point, int axis)
{
    return 3 * point + axis;
}

// A person-mask pixel, one per input pixel.
constexpr int pixel(int x, int y)
{
    return y * FaceModelInfo(TFaceModel::PersonMask).InputSide + x;
}

const std::vector<TGoldenRun>& goldenRuns()
{
    static const std::vector<TGoldenRun> runs{
        // Head and shoulders: a face of about 50 input pixels.
        {TFaceModel::Detector, cv::Rect(97, 0, 256, 256),
         {{"best score logit", 1, kBestAnchor, 2.30182362},
          {"box centre x", 0, box(0), 8.46927357},
          {"box centre y", 0, box(1), 6.90596485},
          {"box width", 0, box(2), 52.0222092},
          {"box height", 0, box(3), 52.0135651},
          {"regressors summed", 0, kSum, 103341.378},
          {"regressors' magnitudes summed", 0, kMagnitudeSum, 213527.052},
          {"score logits summed", 1, kSum, -12828.1301},
          {"score logits' magnitudes summed", 1, kMagnitudeSum, 12850.8842}}},
        // The head.
        {TFaceModel::Mesh, cv::Rect(105, 0, 240, 240),
         {{"nose tip depth", 0, landmark(kNoseTip, 2), -20.0276299},
          {"forehead top y", 0, landmark(kForeheadTop, 1), 47.7860413},
          {"right eye outer x", 0, landmark(kRightEyeOuter, 0), 67.5455017},
          {"right eye outer y", 0, landmark(kRightEyeOuter, 1), 78.0401611},
          {"left eye outer x", 0, landmark(kLeftEyeOuter, 0), 126.27758},
          {"left eye outer y", 0, landmark(kLeftEyeOuter, 1), 81.7289581},
          {"chin x", 0, landmark(kChin, 0), 93.3007355},
          {"chin y", 0, landmark(kChin, 1), 150.105911},
          {"presence logit", 1, 0, 20.2599754},
          {"landmarks summed", 0, kSum, 90096.9363},
          {"landmarks' magnitudes summed", 0, kMagnitudeSum, 93462.7493}}},
        // The whole portrait.
        {TFaceModel::PersonMask, cv::Rect(0, 0, 512, 512),
         {{"face", 0, pixel(112, 60), 1},
          {"body", 0, pixel(128, 200), 1},
          {"background top left", 0, pixel(8, 8), 0},
          {"background right", 0, pixel(240, 100), 0},
          {"edge of the hair", 0, pixel(76, 40), 0.420123845},
          {"edge of the shoulder", 0, pixel(56, 100), 0.509031832},
          {"probabilities summed", 0, kSum, 35673.9104}}},
    };
    return runs;
}

double goldenValue(const cv::Mat& output, int index)
{
    const float* p = output.ptr<float>();
    if (index >= 0)
        return p[index];
    double sum = 0;
    for (std::size_t i = 0; i < output.total(); ++i)
        sum += index == kMagnitudeSum ? std::abs(p[i]) : p[i];
    return sum;
}

}  // namespace

TEST(FaceModels, ConvertedModelsGiveTheirGoldenOutputs)
{
    // A PNG: the same pixels whatever decoder reads it.
    const QImage portrait = QImage(QStringLiteral(QRL_TEST_ASTRONAUT)).convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(portrait.size(), QSize(512, 512));
    const cv::Mat rgb(portrait.height(), portrait.width(), CV_8UC3, const_cast<uchar*>(portrait.constBits()),
                      static_cast<std::size_t>(portrait.bytesPerLine()));
    for (const TGoldenRun& run : goldenRuns()) {
        const TFaceModelInfo& model = FaceModelInfo(run.Model);
        SCOPED_TRACE(std::string(model.FileName));
        cv::Mat input;
        cv::resize(rgb(run.Cut), input, cv::Size(model.InputSide, model.InputSide), 0, 0, cv::INTER_AREA);
        cv::dnn::Net net = LoadFaceModel(kModels, run.Model);
        const std::vector<cv::Mat> outputs = RunFaceModel(net, run.Model, ModelInput(run.Model, input));
        for (const TGoldenValue& golden : run.Values) {
            const double value = goldenValue(outputs[static_cast<std::size_t>(golden.Output)], golden.Index);
            // Far above the noise of another summation order (SIMD or not:
            // about 1e-7 relative), far below a converter's fault.
            const double tolerance = std::max(1e-3, 1e-4 * std::abs(golden.Expected));
            EXPECT_NEAR(value, golden.Expected, tolerance) << golden.What;
        }
    }
}
