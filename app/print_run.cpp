#include "print_run.h"

#include "messages.h"
#include "calibration_print.h"
#include "bitmap32.h"
#include "photo_sheet.h"
#include "sheet_lines.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "work_progress.h"

void RenderPrintRun(QWidget* Parent, const TBitmap32& Photo, const TViewLook& View, TIDPrinter& SheetPrinter,
                    TBitmap32& Page, const std::optional<TFrame>& Frame,
                    const std::optional<TPlainBackground>& Background, double Turn)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kRenderingPhoto));
    RenderPhotoCell(Photo, View, SheetPrinter, Frame, Background, Turn);
    progress.Stage(MessageText(Msg::kBuildingPage));
    RenderPage(SheetPrinter, Page, progress.Reporter());
}

void RenderSheetRun(QWidget* Parent, const TSheetLines& Lines, const TBitmap32& Photo, const TViewLook& View,
                    const std::optional<TFrame>& Frame, int Count, TPhotoSheet& Sheet,
                    const std::optional<TPlainBackground>& Background, double Turn)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kRenderingPhoto));
    Sheet.Clear();
    Lines.AddTo(Sheet, progress.Reporter());
    if (!Photo.Empty()) {
        RenderPhotoCell(Photo, View, Sheet.SheetPrinter(), Frame, Background, Turn);
        Sheet.AddCell(Count);
    }
}

void RenderSheetPageShowingProgress(QWidget* Parent, TPhotoSheet& Sheet, int PageIndex, TBitmap32& Page)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kBuildingPage));
    RenderSheetPage(Sheet, PageIndex, Page, progress.Reporter());
}

void SaveSheetPagesShowingProgress(QWidget* Parent, TPhotoSheet& Sheet, const QStringList& FileNames)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSavingPage));
    SaveSheetPagesAsJpeg(Sheet, FileNames, progress.Reporter());
}

void PrintSheetPagesShowingProgress(QWidget* Parent, TPhotoSheet& Sheet)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSendingPage));
    Sheet.PrintPages(progress.Reporter());
}

void PrintSheetShowingProgress(QWidget* Parent, TIDPrinter& SheetPrinter)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSendingPage));
    SheetPrinter.PrintSheet(progress.Reporter());
}

void PrintCalibrationPageShowingProgress(QWidget* Parent, TPrinterDevice& Printer)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSendingPage));
    PrintCalibrationPage(Printer);
}

void SavePageShowingProgress(QWidget* Parent, const TBitmap32& Page, const QString& FileName,
                             int DpiX, int DpiY)
{
    TWorkProgress progress(Parent);
    progress.Stage(MessageText(Msg::kSavingPage));
    SavePageAsJpeg(Page, FileName, DpiX, DpiY, progress.Reporter());
}
