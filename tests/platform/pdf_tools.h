#pragma once

// Reading back PDF files with poppler's command-line tools (pdfinfo,
// pdftoppm), each run bounded by a timeout.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <optional>

namespace pdf_tools {

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

/// Runs a tool; its standard output, or nothing when it failed.
inline std::optional<QString> run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

/// The page count of a PDF file; -1 when it cannot be read.
inline int pageCount(const QString& file)
{
    const QString info = run(QStringLiteral("pdfinfo"), {file}).value_or(QString());
    const auto m = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"),
                                      QRegularExpression::MultilineOption)
                       .match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

/// The size of the first page in points; empty when it cannot be read.
inline QSizeF pageSizePoints(const QString& file)
{
    const QString info = run(QStringLiteral("pdfinfo"), {file}).value_or(QString());
    const auto m = QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                      QRegularExpression::MultilineOption)
                       .match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

/// The document's title; empty when it has none or cannot be read.
inline QString title(const QString& file)
{
    const QString info = run(QStringLiteral("pdfinfo"), {file}).value_or(QString());
    const auto m = QRegularExpression(QStringLiteral("^Title:[ \\t]*(.*)$"), QRegularExpression::MultilineOption)
                       .match(info);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

/// Page `page` (1 first) rendered at `dpi`, limited to `crop` (in pixels at
/// that resolution) when it is not empty; null when rendering failed.
inline QImage render(const QString& file, int dpi, const QRect& crop = QRect(), int page = 1)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return {};
    QStringList args{QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                     QString::number(page), QStringLiteral("-l"), QString::number(page),
                     QStringLiteral("-singlefile"), QStringLiteral("-png")};
    if (!crop.isEmpty()) {
        args << QStringLiteral("-x") << QString::number(crop.x()) << QStringLiteral("-y")
             << QString::number(crop.y()) << QStringLiteral("-W") << QString::number(crop.width())
             << QStringLiteral("-H") << QString::number(crop.height());
    }
    const QString base = dir.filePath(QStringLiteral("page"));
    args << file << base;
    if (!run(QStringLiteral("pdftoppm"), args))
        return {};
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

/// True when the two colours differ by at most `tolerance` in each channel:
/// the PDF may carry the picture JPEG-compressed.
inline bool near(QRgb a, QRgb b, int tolerance = 40)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace pdf_tools
