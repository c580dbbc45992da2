#include "file_names.h"

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
