#pragma once

// Running quorlo-sheet as a user would, and the main window's print run in
// this process, for comparing the two.

#include "bitmap32.h"
#include "image_view.h"
#include "file_names.h"
#include "jpeg_image.h"
#include "photo_sheet.h"
#include "sheet_printer.h"
#include "sheet_render.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

namespace sheet_e2e {

struct ToolRun {
    int exitCode = -1;   ///< -1: crashed or hung
    QString out;
    QString err;
};

inline ToolRun runTool(const QStringList& args, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORLO_SHEET), args);
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

/// A photo of `width` x `height`, `top` above `bottom`, as a camera would save it.
inline void writePhoto(const QString& fileName, int width, int height, QRgb top, QRgb bottom)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(bottom);
    for (int y = 0; y < height / 2; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, top);
    TJPEGImage jpeg;
    jpeg.Assign(image);
    jpeg.SaveToFile(fileName);
}

inline QByteArray contentsOf(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The main window's photo view as its form sets it up, with the photo.
inline void loadAsTheWindowDoes(TImage32& view, const QString& photo)
{
    view.resize(151, 201);
    view.SetBitmapAlign(baTopLeft);
    view.SetScale(1.0f);
    view.SetScaleMode(smResize);
    view.Bitmap().SetStretchFilter(sfMitchell);
    view.Bitmap().LoadFromFile(photo);
}

/// The main window's print run with every copy that fits on `printer`, the
/// photo's frame if it has one, and its "Save as image" to `fileName`; with
/// cut marks if asked.
inline void saveAsTheWindowDoes(TPrinterDevice& printer, const QString& photo, const QString& fileName,
                                const std::optional<TFrame>& frame = std::nullopt,
                                bool cutMarks = false)
{
    TImage32 view;
    loadAsTheWindowDoes(view, photo);
    TIDPrinter sheetPrinter(printer);
    sheetPrinter.SetCount(sheetPrinter.Capacity());
    sheetPrinter.SetCutMarks(cutMarks);
    RenderPhotoCell(view.Bitmap(), view.Look(), sheetPrinter, frame);
    TBitmap32 page;
    RenderPage(sheetPrinter, page);
    SavePageAsJpeg(page, fileName, sheetPrinter.DpiX(), sheetPrinter.DpiY());
}

/// What the main window would save with "Add to sheet" for each photo
/// (`count` copies each) on `printer`: every page rendered into the page
/// buffer and saved by "Save as image" under PageFileName.
inline void savePagesAsTheWindowWould(TPrinterDevice& printer, const QStringList& photos, int count,
                                      const QString& fileName)
{
    TIDPrinter sheetPrinter(printer);
    TPhotoSheet sheet(sheetPrinter);
    for (const QString& photo : photos) {
        TImage32 view;
        loadAsTheWindowDoes(view, photo);
        RenderPhotoCell(view.Bitmap(), view.Look(), sheetPrinter);
        sheet.AddCell(count);
    }
    const int pages = sheet.PageCount();
    for (int page = 0; page < pages; ++page) {
        TBitmap32 buffer;
        RenderSheetPage(sheet, page, buffer);
        SavePageAsJpeg(buffer, PageFileName(fileName, page + 1, pages), sheetPrinter.DpiX(),
                       sheetPrinter.DpiY());
    }
}

}  // namespace sheet_e2e
