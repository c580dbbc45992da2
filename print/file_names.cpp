#include "file_names.h"

#include <QFileInfo>

QString ExtractFileExt(const QString& FileName)
{
    const int slash = FileName.lastIndexOf(QLatin1Char('/'));
    const int dot = FileName.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? FileName.mid(dot) : QString();
}

bool HasJpegExtension(const QString& FileName)
{
    const QString extension = ExtractFileExt(FileName);
    return extension.compare(QLatin1String(".jpg"), Qt::CaseInsensitive) == 0
           || extension.compare(QLatin1String(".jpeg"), Qt::CaseInsensitive) == 0;
}

QString PageFileName(const QString& FileName, int Page, int Pages)
{
    if (Pages <= 1)
        return FileName;
    const QString extension = ExtractFileExt(FileName);
    return FileName.left(FileName.size() - extension.size()) + QLatin1Char('-') + QString::number(Page)
        + extension;
}

QString PrintJobTitle(const QStringList& Photos)
{
    const QString program = QStringLiteral("Quorlo");
    if (Photos.isEmpty())
        return program;
    QString title = program + QStringLiteral(" \u2013 ") + QFileInfo(Photos.constFirst()).fileName();
    if (Photos.size() > 1)
        title += QStringLiteral(" + %1").arg(Photos.size() - 1);
    return title;
}
