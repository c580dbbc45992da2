#include "print_run.h"

#include "sheet_printer.h"
#include "sheet_render.h"
#include "work_progress.h"

#include <QCoreApplication>

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("TWorkProgress", source);
}

}  // namespace

void RenderPrintRun(QWidget* Parent, TCustomImage32& PhotoView, TIDPrinter& SheetPrinter,
                    TBitmap32& Page, const std::optional<TFrame>& Frame)
{
    TWorkProgress progress(Parent);
    progress.Stage(text("Rendering the photo..."));
    RenderPhotoCell(PhotoView, SheetPrinter, Frame);
    progress.Stage(text("Building the page..."));
    RenderPage(SheetPrinter, Page, progress.Reporter());
}

void PrintSheetShowingProgress(QWidget* Parent, TIDPrinter& SheetPrinter)
{
    TWorkProgress progress(Parent);
    progress.Stage(text("Sending the page to the printer..."));
    SheetPrinter.PrintSheet(progress.Reporter());
}

void SavePageShowingProgress(QWidget* Parent, const TBitmap32& Page, const QString& FileName,
                             int DpiX, int DpiY)
{
    TWorkProgress progress(Parent);
    progress.Stage(text("Saving the page..."));
    SavePageAsJpeg(Page, FileName, DpiX, DpiY, progress.Reporter());
}
