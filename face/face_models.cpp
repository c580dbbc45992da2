#include "face_models.h"

#include "face_finder.h"
#include "face_mesh.h"
#include "person_mask.h"
#include "program_dir.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

// FaceModelInfo finds a model's row by its place.
static_assert(FaceModelInfo(TFaceModel::Detector).Model == TFaceModel::Detector);
static_assert(FaceModelInfo(TFaceModel::Mesh).Model == TFaceModel::Mesh);
static_assert(FaceModelInfo(TFaceModel::PersonMask).Model == TFaceModel::PersonMask);

QString FaceModelDirectory()
{
    if (const QString overridden = qEnvironmentVariable("QRL_MODEL_DIR"); !overridden.isEmpty())
        return overridden;
    const QString program = ProgramDirectory();
    const QString installed = QDir::cleanPath(program + QStringLiteral("/" QRL_MODELS_FROM_PROGRAM));
    const QString detector = QString::fromLatin1(FaceModelInfo(TFaceModel::Detector).FileName);
    // Each program of a build tree lies one folder below the build folder,
    // which holds the models; an installed one finds them under its prefix.
    for (const QString& dir : {program + QStringLiteral("/models"), program + QStringLiteral("/../models")}) {
        if (QFileInfo(dir + QLatin1Char('/') + detector).isFile())
            return QDir::cleanPath(dir);
    }
    return installed;
}

TFaceModels::TFaceModels(QString Directory)
    : FDirectory(std::move(Directory))
{
}

TFaceModels::~TFaceModels() = default;

TFaceFinder& TFaceModels::Finder()
{
    if (!FFinder)
        FFinder = std::make_unique<TFaceFinder>(FDirectory);
    return *FFinder;
}

TFaceMesh& TFaceModels::Mesh()
{
    if (!FMesh)
        FMesh = std::make_unique<TFaceMesh>(FDirectory);
    return *FMesh;
}

TPersonMask& TFaceModels::Mask()
{
    if (!FMask)
        FMask = std::make_unique<TPersonMask>(FDirectory);
    return *FMask;
}
