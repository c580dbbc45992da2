#pragma once

#include "frame.h"
#include "plain_background.h"
#include "view_paint.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;
class TBitmap32;
class TIDPrinter;
class TPhotoSheet;
class TPrinterDevice;
class TSheetLines;

// The window's long steps of a print run, each with a busy cursor and a
// progress dialog over Parent (TWorkProgress); the results are those of the
// plain functions of sheet_render and TIDPrinter.

/// Renders the photo shown in a view of look `View`, or its frame, into the
/// cell (with its plain background and straightening, if any) and builds
/// the printer's page in Page.
void RenderPrintRun(QWidget* Parent, const TBitmap32& Photo, const TViewLook& View, TIDPrinter& SheetPrinter,
                    TBitmap32& Page, const std::optional<TFrame>& Frame = std::nullopt,
                    const std::optional<TPlainBackground>& Background = std::nullopt, double Turn = 0);

/// Makes `Sheet` (empty) hold the lines' cells, then `Photo`, or its frame,
/// with Count copies as the last entry; no entry for an empty photo.
void RenderSheetRun(QWidget* Parent, const TSheetLines& Lines, const TBitmap32& Photo, const TViewLook& View,
                    const std::optional<TFrame>& Frame, int Count, TPhotoSheet& Sheet,
                    const std::optional<TPlainBackground>& Background = std::nullopt, double Turn = 0);

/// Builds page `PageIndex` (0 first) of the sheet in Page.
void RenderSheetPageShowingProgress(QWidget* Parent, TPhotoSheet& Sheet, int PageIndex, TBitmap32& Page);

/// "Save as image" of the sheet's pages, page i as FileNames[i], all or
/// none, without a page buffer.
void SaveSheetPagesShowingProgress(QWidget* Parent, TPhotoSheet& Sheet, const QStringList& FileNames);

/// Prints every page of the sheet as one job on its printer.
void PrintSheetPagesShowingProgress(QWidget* Parent, TPhotoSheet& Sheet);

/// Prints the sheet on its printer.
void PrintSheetShowingProgress(QWidget* Parent, TIDPrinter& SheetPrinter);

/// Prints the calibration page on `Printer`.
void PrintCalibrationPageShowingProgress(QWidget* Parent, TPrinterDevice& Printer);

/// "Save as image" of Page at DpiX x DpiY.
void SavePageShowingProgress(QWidget* Parent, const TBitmap32& Page, const QString& FileName,
                             int DpiX, int DpiY);
