#pragma once

class QString;
class TBitmap32;
class TPrinterDevice;

// The calibration page on a printer, drawn by DrawCalibrationPage at the
// printer's resolutions with its rulers' corner 10 mm inside the physical
// offsets, so that the page is measured where photos are printed. No
// calibration is applied: this page is what calibration measures.

/// Prints the page as a one-page job; a failure aborts the job and passes on.
void PrintCalibrationPage(TPrinterDevice& Printer);

/// Makes `Page` the printer's page (HORZRES x VERTRES) on white with the
/// calibration page drawn on it.
void RenderCalibrationPage(const TPrinterDevice& Printer, TBitmap32& Page);

/// Writes the page as a JPEG as "Save as image" would, with the printer's
/// resolution in its header, atomically.
void SaveCalibrationPageAsJpeg(const TPrinterDevice& Printer, const QString& FileName);
