#pragma once

#include "exception.h"

#include <QString>

/// A face model file is missing or cannot be used; the message names the
/// file and the npm package it is made from.
QRL_DECLARE_EXCEPTION(EFaceModel, Exception);

/// The three models the build converts (face/models) and installs.
enum class TFaceModel { Detector, Mesh, PersonMask };

/// A model's file name in the model folder and the npm package it is made from.
struct TFaceModelFile {
    const char* FileName;
    const char* Package;
};

TFaceModelFile FaceModelFile(TFaceModel Model);

/// The folder the programs read the models from: $QRL_MODEL_DIR when set
/// (tests, a packager's check), else `models` beside the program or one
/// folder up (a build tree, a portable copy) when it holds the detector,
/// otherwise `<prefix>/share/quorlo/models` of an installed program.
QString FaceModelDirectory();
