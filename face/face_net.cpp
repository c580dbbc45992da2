#include "face_net.h"

#include "bitmap32.h"
#include "messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <opencv2/core/utils/logger.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The converted models are a few megabytes; anything far larger is not one.
constexpr qint64 kMaxModelBytes = 64 * 1024 * 1024;

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

[[noreturn]] void damaged(const QString& path, const TFaceModelInfo& model, const QString& detail)
{
    throw EFaceModel(MessageText(Msg::kFaceModelDamaged)
                         .arg(QDir::toNativeSeparators(path), latin1(model.Package), detail));
}

}  // namespace

cv::dnn::Net LoadFaceModel(const QString& Dir, TFaceModel Model)
{
    const TFaceModelInfo& file = FaceModelInfo(Model);
    const QString path = QDir(Dir).filePath(latin1(file.FileName));
    if (!QFileInfo(path).isFile())
        throw EFaceModel(MessageText(Msg::kFaceModelMissing)
                             .arg(QDir::toNativeSeparators(path), latin1(file.Package)));
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        damaged(path, file, in.errorString());
    if (in.size() > kMaxModelBytes)
        damaged(path, file, QStringLiteral("%1 bytes").arg(in.size()));
    const QByteArray bytes = in.readAll();

    cv::dnn::Net net;
    // A damaged file is reported here, once; OpenCV's own log of it would
    // only repeat it on the terminal.
    const auto logLevel = cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT);
    struct TRestore {
        cv::utils::logging::LogLevel Level;
        ~TRestore() { cv::utils::logging::setLogLevel(Level); }
    } restore{logLevel};
    try {
        net = cv::dnn::readNetFromONNX(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        net.setPreferableBackend(cv::dnn::DNN_BACKEND_OPENCV);
        net.setPreferableTarget(cv::dnn::DNN_TARGET_CPU);
        // A file that reads as a graph may still be another model: one run
        // on a blank input shows its outputs.
        const int dims[] = {1, 3, file.InputSide, file.InputSide};
        RunFaceModel(net, Model, cv::Mat(4, dims, CV_32F, cv::Scalar(0)));
    } catch (const cv::Exception& e) {
        damaged(path, file, QString::fromStdString(e.err));
    } catch (const std::exception& e) {   // a size in the file beyond any memory
        damaged(path, file, QString::fromUtf8(e.what()));
    }
    return net;
}

std::vector<cv::Mat> RunFaceModel(cv::dnn::Net& Net, TFaceModel Model, const cv::Mat& Blob)
{
    const std::span<const std::size_t> sizes = FaceModelInfo(Model).Outputs();
    Net.setInput(Blob);
    std::vector<cv::Mat> outputs;
    Net.forward(outputs, Net.getUnconnectedOutLayersNames());
    std::vector<cv::Mat> ordered;
    for (std::size_t count : sizes) {
        const auto found = std::find_if(outputs.begin(), outputs.end(),
                                        [&](const cv::Mat& m) { return m.total() == count; });
        if (found == outputs.end() || outputs.size() != sizes.size())
            CV_Error(cv::Error::StsUnmatchedSizes, "the model's outputs are not the expected ones");
        ordered.push_back(*found);
    }
    return ordered;
}

cv::Mat ModelInput(TFaceModel Model, const cv::Mat& Rgb)
{
    if (FaceModelInfo(Model).Input == TInputRange::MinusOneToOne)
        return cv::dnn::blobFromImage(Rgb, 1 / 127.5, cv::Size(), cv::Scalar(127.5, 127.5, 127.5));
    return cv::dnn::blobFromImage(Rgb, 1 / 255.0);
}

double Sigmoid(double Logit)
{
    return 1 / (1 + std::exp(-std::clamp(Logit, -80.0, 80.0)));
}

cv::Mat PhotoPixels(const TBitmap32& Photo)
{
    // TColor32 is 0xAARRGGBB: in memory B, G, R, A.
    return cv::Mat(Photo.Height(), Photo.Width(), CV_8UC4, const_cast<TColor32*>(Photo.Bits()));
}

cv::Mat SquareCrop(const cv::Mat& Pixels, cv::Point2d Centre, double Side, double Angle, int Size,
                   cv::Matx23d& ToImage)
{
    const double k = Side / Size;   // image pixels per crop pixel
    const double c = std::cos(Angle) * k;
    const double s = std::sin(Angle) * k;
    ToImage = cv::Matx23d(c, -s, Centre.x - (c - s) * Size / 2, s, c, Centre.y - (s + c) * Size / 2);

    // Sample from a reduced copy of the square's surroundings when a crop
    // pixel covers several image pixels: bilinear sampling alone would skip
    // most of them.
    cv::Mat source = Pixels;
    cv::Point2d origin(0, 0);
    cv::Point2d scale(1, 1);
    if (k > 2) {
        const double reach = Side / 2 * (std::abs(std::cos(Angle)) + std::abs(std::sin(Angle))) + 2 * k;
        const cv::Rect around(cv::Point(static_cast<int>(std::floor(Centre.x - reach)),
                                        static_cast<int>(std::floor(Centre.y - reach))),
                              cv::Point(static_cast<int>(std::ceil(Centre.x + reach)),
                                        static_cast<int>(std::ceil(Centre.y + reach))));
        const cv::Rect inside = around & cv::Rect(0, 0, Pixels.cols, Pixels.rows);
        if (inside.empty())
            return cv::Mat(Size, Size, CV_8UC3, cv::Scalar(0, 0, 0));
        const cv::Size reduced(std::max(1, static_cast<int>(std::lround(inside.width / k))),
                               std::max(1, static_cast<int>(std::lround(inside.height / k))));
        cv::resize(Pixels(inside), source, reduced, 0, 0, cv::INTER_AREA);
        origin = cv::Point2d(inside.x, inside.y);
        scale = cv::Point2d(static_cast<double>(reduced.width) / inside.width,
                            static_cast<double>(reduced.height) / inside.height);
    }
    // warpAffine wants, for each crop pixel index, the source pixel index:
    // continuous coordinates shifted by half a pixel on both sides.
    cv::Matx23d toSource;
    for (int r = 0; r < 2; ++r) {
        const double f = r == 0 ? scale.x : scale.y;
        const double o = r == 0 ? origin.x : origin.y;
        toSource(r, 0) = ToImage(r, 0) * f;
        toSource(r, 1) = ToImage(r, 1) * f;
        toSource(r, 2) = (ToImage(r, 2) + 0.5 * (ToImage(r, 0) + ToImage(r, 1)) - o) * f - 0.5;
    }
    cv::Mat warped;
    cv::warpAffine(source, warped, cv::Mat(toSource), cv::Size(Size, Size), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_CONSTANT, cv::Scalar(0, 0, 0, 255));
    cv::Mat rgb;
    cv::cvtColor(warped, rgb, cv::COLOR_BGRA2RGB);
    return rgb;
}

TFacePhoto::TFacePhoto(const TBitmap32& Photo)
    : FBitmap(Photo),
      FLevels(std::make_unique<TLevels>())
{
    if (Empty())
        return;
    FLevels->Mats.push_back(PhotoPixels(Photo));
    // Halving by area averaging has a fast path; odd last rows and columns
    // are left out, so every level is exactly half the one before.
    while (std::min(FLevels->Mats.back().cols, FLevels->Mats.back().rows) >= 2 * kMinLevelSide) {
        const cv::Mat& last = FLevels->Mats.back();
        const cv::Mat even = last(cv::Rect(0, 0, last.cols / 2 * 2, last.rows / 2 * 2));
        cv::Mat half;
        cv::resize(even, half, cv::Size(even.cols / 2, even.rows / 2), 0, 0, cv::INTER_AREA);
        FLevels->Mats.push_back(std::move(half));
    }
}

TFacePhoto::~TFacePhoto() = default;

int TFacePhoto::Width() const
{
    return FBitmap.Width();
}

int TFacePhoto::Height() const
{
    return FBitmap.Height();
}

bool TFacePhoto::Empty() const
{
    return FBitmap.Width() == 0 || FBitmap.Height() == 0;
}

cv::Mat SquareCrop(const TFacePhoto& Photo, cv::Point2d Centre, double Side, double Angle, int Size,
                   cv::Matx23d& ToPhoto)
{
    const std::vector<cv::Mat>& levels = Photo.Levels().Mats;
    std::size_t level = 0;
    while (level + 1 < levels.size() && Side / Size >= double(1 << (level + 1)))
        ++level;
    const double f = 1 << level;
    cv::Matx23d toLevel;
    const cv::Mat crop = SquareCrop(levels[level], Centre / f, Side / f, Angle, Size, toLevel);
    ToPhoto = toLevel * f;
    return crop;
}
