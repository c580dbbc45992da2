#include "face_models.h"

#include "program_dir.h"

#include <QDir>
#include <QFileInfo>

TFaceModelFile FaceModelFile(TFaceModel Model)
{
    switch (Model) {
    case TFaceModel::Detector:
        return {"face_detector.onnx", "@mediapipe/face_detection"};
    case TFaceModel::Mesh:
        return {"face_mesh.onnx", "@mediapipe/face_mesh"};
    case TFaceModel::PersonMask:
        break;
    }
    return {"person_mask.onnx", "@mediapipe/selfie_segmentation"};
}

QString FaceModelDirectory()
{
    if (const QString overridden = qEnvironmentVariable("QRL_MODEL_DIR"); !overridden.isEmpty())
        return overridden;
    const QString program = ProgramDirectory();
    const QString installed = QDir::cleanPath(program + QStringLiteral("/" QRL_MODELS_FROM_PROGRAM));
    // Each program of a build tree lies one folder below the build folder,
    // which holds the models; an installed one finds them under its prefix.
    for (const QString& dir : {program + QStringLiteral("/models"), program + QStringLiteral("/../models")}) {
        if (QFileInfo(dir + QLatin1Char('/') + QLatin1String(FaceModelFile(TFaceModel::Detector).FileName)).isFile())
            return QDir::cleanPath(dir);
    }
    return installed;
}
