#pragma once

#include "exception.h"

#include <QString>

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

class TFaceFinder;
class TFaceMesh;
class TPersonMask;

/// A face model file is missing or cannot be used; the message names the
/// file and the npm package it is made from.
QRL_DECLARE_EXCEPTION(EFaceModel, Exception);

/// The three models the build converts (face/models) and installs.
enum class TFaceModel { Detector, Mesh, PersonMask };

/// What a model's input pixels are scaled to from 0-255.
enum class TInputRange { MinusOneToOne, ZeroToOne };

/// One face model: where the build takes it from, what the program reads and
/// what the model takes and gives. scripts/model-packages pins each package
/// and face/models/CMakeLists.txt converts each member; a test holds both to
/// this table.
struct TFaceModelInfo {
    TFaceModel Model;
    std::string_view FileName;   ///< the converted model in the model folder
    std::string_view Package;    ///< the npm package holding the TFLite file
    /// The TFLite file in the package's tarball; a packed asset file names the
    /// model it holds by its input shape after ':'.
    std::string_view Member;
    int InputSide;               ///< a square RGB input of this many pixels
    TInputRange Input;
    /// Elements of each output for one image, in the order the program reads them.
    std::array<std::size_t, 2> OutputSizes;
    std::size_t OutputCount;

    std::span<const std::size_t> Outputs() const { return {OutputSizes.data(), OutputCount}; }
};

inline constexpr TFaceModelInfo kFaceModels[] = {
    // Box regressors (16 per anchor) and score logits of 896 anchors.
    {TFaceModel::Detector, "face_detector.onnx", "@mediapipe/face_detection",
     "package/face_detection_short_range.tflite", 128, TInputRange::MinusOneToOne, {896 * 16, 896}, 2},
    // 468 landmarks (x, y, z in crop pixels) and a face-presence logit.
    {TFaceModel::Mesh, "face_mesh.onnx", "@mediapipe/face_mesh",
     "package/face_mesh_solution_packed_assets.data:1x192x192x3", 192, TInputRange::ZeroToOne, {468 * 3, 1}, 2},
    // The probability of the person at each input pixel.
    {TFaceModel::PersonMask, "person_mask.onnx", "@mediapipe/selfie_segmentation",
     "package/selfie_segmentation.tflite", 256, TInputRange::ZeroToOne, {256 * 256, 0}, 1},
};

constexpr const TFaceModelInfo& FaceModelInfo(TFaceModel Model)
{
    return kFaceModels[static_cast<std::size_t>(Model)];
}

/// The folder the programs read the models from: $QRL_MODEL_DIR when set
/// (tests, a packager's check), else `models` beside the program or one
/// folder up (a build tree, a portable copy) when it holds the detector,
/// otherwise `<prefix>/share/quorlo/models` of an installed program.
QString FaceModelDirectory();

/// The face models of one owner (the main window, a command-line run, a
/// test), each read from its folder the first time it is asked for and kept
/// from then on; the owner passes them to whatever analyses a photo. Asking
/// for a model that is missing or cannot be used raises EFaceModel, naming
/// its file and package, and the next ask tries again. One set serves one
/// thread at a time.
class TFaceModels {
public:
    explicit TFaceModels(QString Directory = FaceModelDirectory());
    ~TFaceModels();
    TFaceModels(const TFaceModels&) = delete;
    TFaceModels& operator=(const TFaceModels&) = delete;

    TFaceFinder& Finder();
    TFaceMesh& Mesh();
    TPersonMask& Mask();
    const QString& Directory() const { return FDirectory; }

private:
    QString FDirectory;
    std::unique_ptr<TFaceFinder> FFinder;
    std::unique_ptr<TFaceMesh> FMesh;
    std::unique_ptr<TPersonMask> FMask;
};
