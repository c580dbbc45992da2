#pragma once

class QString;
class TBitmap32;

// The calibration page on the current printer, drawn by DrawCalibrationPage
// at the printer's resolutions with its rulers' corner 10 mm inside the
// physical offsets, so that the page is measured where photos are printed.
// No calibration is applied: this page is what calibration measures.

/// Prints the page as a one-page job; a failure aborts the job and passes on.
void PrintCalibrationPage();

/// Makes `Page` the printer's page (HORZRES x VERTRES) on white with the
/// calibration page drawn on it.
void RenderCalibrationPage(TBitmap32& Page);

/// Writes the page as a JPEG as "Save as image" would, with the printer's
/// resolution in its header, atomically.
void SaveCalibrationPageAsJpeg(const QString& FileName);
