#pragma once

#include "exception.h"

#include <QString>

#include <optional>

/// A measured length that cannot be a 100 mm ruler, or a store that cannot
/// be written; the message says which.
QRL_DECLARE_EXCEPTION(ECalibration, Exception);

/// The shortest and longest length a printed 100 mm ruler may measure.
inline constexpr double kMinRulerMm = 90;
inline constexpr double kMaxRulerMm = 110;

/// What the user measured on one printer's calibration page: the lengths of
/// the 100 mm ruler across and of the one down.
struct TCalibration {
    double AcrossMm = 100;
    double DownMm = 100;

    /// Factors to apply to lengths before printing: 100 / measured, so a
    /// printer that prints 101 mm for 100 gets 100/101.
    double FactorX() const { return 100.0 / AcrossMm; }
    double FactorY() const { return 100.0 / DownMm; }
    bool operator==(const TCalibration&) const = default;
};

/// Raises ECalibration unless `mm` lies within kMinRulerMm..kMaxRulerMm.
void CheckRulerLength(double mm);

/// The stored calibration of a printer, by its name; absent when the printer
/// was never calibrated or the stored values are unusable.
std::optional<TCalibration> LoadCalibration(const QString& printerName);
/// Checks both lengths, then stores them for the printer, replacing what it
/// had. Raises ECalibration on a bad length or settings that cannot be written.
void SaveCalibration(const QString& printerName, const TCalibration& calibration);
/// Removes the printer's calibration, so its sheets print as uncalibrated.
void ForgetCalibration(const QString& printerName);

/// `Mm` at `Dpi` in whole pixels, corrected by `factor` (FactorX or FactorY):
/// Mm x factor / (25.4 / Dpi) in 80-bit floating point, truncated toward zero
/// like the uncalibrated size. No factor gives exactly the sheet printer's
/// MmToPixels: whole millimetres in those 80-bit steps, as they have always
/// printed, any other length (an inch size) exactly, from its micrometres,
/// so 2 in. at 300 dpi is 600 pixels. A resolution of 0 gives 0; results
/// beyond the int range are clamped.
int CalibratedMmToPixels(double Mm, int Dpi, std::optional<double> factor);
