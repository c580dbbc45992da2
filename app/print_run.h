#pragma once

#include "frame.h"

#include <QString>

#include <optional>

class QWidget;
class TBitmap32;
class TCustomImage32;
class TIDPrinter;

// The window's long steps of a print run, each with a busy cursor and a
// progress dialog over Parent (TWorkProgress); the results are those of the
// plain functions of sheet_render and TIDPrinter.

/// Renders the photo, or its frame, into the cell and builds the printer's
/// page in Page.
void RenderPrintRun(QWidget* Parent, TCustomImage32& PhotoView, TIDPrinter& SheetPrinter,
                    TBitmap32& Page, const std::optional<TFrame>& Frame = std::nullopt);

/// Prints the sheet on the current printer.
void PrintSheetShowingProgress(QWidget* Parent, TIDPrinter& SheetPrinter);

/// Prints the calibration page on the current printer.
void PrintCalibrationPageShowingProgress(QWidget* Parent);

/// "Save as image" of Page at DpiX x DpiY.
void SavePageShowingProgress(QWidget* Parent, const TBitmap32& Page, const QString& FileName,
                             int DpiX, int DpiY);
