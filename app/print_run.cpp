#include "print_run.h"

#include "C_Messages.h"
#include "calibration_print.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "work_progress.h"

void RenderPrintRun(QWidget* Parent, TCustomImage32& PhotoView, TIDPrinter& SheetPrinter,
                    TBitmap32& Page, const std::optional<TFrame>& Frame)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kRenderingPhoto));
    RenderPhotoCell(PhotoView, SheetPrinter, Frame);
    progress.Stage(MessageText(Msg::kBuildingPage));
    RenderPage(SheetPrinter, Page, progress.Reporter());
}

void PrintSheetShowingProgress(QWidget* Parent, TIDPrinter& SheetPrinter)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSendingPage));
    SheetPrinter.PrintSheet(progress.Reporter());
}

void PrintCalibrationPageShowingProgress(QWidget* Parent)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSendingPage));
    PrintCalibrationPage();
}

void SavePageShowingProgress(QWidget* Parent, const TBitmap32& Page, const QString& FileName,
                             int DpiX, int DpiY)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSavingPage));
    SavePageAsJpeg(Page, FileName, DpiX, DpiY, progress.Reporter());
}
