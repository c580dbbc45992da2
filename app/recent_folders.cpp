#include "recent_folders.h"

#include "registry.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kKey = QStringLiteral("Software\\Varnel\\Quorlo");

/// A remembered folder that still exists; empty otherwise.
QString remembered(const QString& name)
{
    TRegistry registry(TRootKey::CurrentUser);
    if (!registry.OpenKeyReadOnly(kKey))
        return {};
    const QString folder = registry.ReadString(name).value_or(QString());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void remember(const QString& name, const QString& file)
{
    TRegistry registry(TRootKey::CurrentUser);
    if (registry.OpenKey(kKey, true))
        registry.WriteString(name, QFileInfo(file).absolutePath());
}

QString picturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

}  // namespace

QString PhotoOpenFolder()
{
    const QString last = remembered(QStringLiteral("PhotoFolder"));
    return last.isEmpty() ? picturesFolder() : last;
}

void RememberPhotoFolder(const QString& PhotoFile)
{
    remember(QStringLiteral("PhotoFolder"), PhotoFile);
}

QString PageSaveFolder(const QString& PhotoFile)
{
    if (const QString last = remembered(QStringLiteral("PageFolder")); !last.isEmpty())
        return last;
    if (const QString beside = QFileInfo(PhotoFile).absolutePath(); !PhotoFile.isEmpty() && QFileInfo(beside).isDir())
        return beside;
    return picturesFolder();
}

void RememberPageFolder(const QString& PageFile)
{
    remember(QStringLiteral("PageFolder"), PageFile);
}
