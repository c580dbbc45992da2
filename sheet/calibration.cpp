#include "calibration.h"

#include "interface_numbers.h"
#include "messages.h"
#include "settings_list.h"
#include "sheet_settings.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <climits>

namespace {

// Printer names can hold characters the settings file gives meaning to
// ("/", "\", "="), so each calibration is a numbered line "across;down;name"
// with the name last, where any character may stand.
const QString kListName = QStringLiteral("Calibration");
constexpr int kMaxCalibrations = 200;

struct TLine {
    QString Printer;
    TCalibration Calibration;
};

std::optional<TLine> ParseLine(const QString& line)
{
    const qsizetype first = line.indexOf(QLatin1Char(';'));
    const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(';'), first + 1);
    if (second < 0)
        return std::nullopt;
    bool okAcross = false;
    bool okDown = false;
    TLine parsed{line.mid(second + 1),
                 {line.left(first).toDouble(&okAcross), line.mid(first + 1, second - first - 1).toDouble(&okDown)}};
    const auto inRange = [](double mm) { return mm >= kMinRulerMm && mm <= kMaxRulerMm; };
    if (!okAcross || !okDown || !inRange(parsed.Calibration.AcrossMm) || !inRange(parsed.Calibration.DownMm))
        return std::nullopt;
    return parsed;
}

std::vector<TLine> LoadAll()
{
    std::vector<TLine> lines;
    for (const QString& text : ReadSettingsList(QString::fromUtf8(kSheetSettingsKey), kListName, kMaxCalibrations))
        if (std::optional<TLine> line = ParseLine(text))
            lines.push_back(*line);
    return lines;
}

void SaveAll(const std::vector<TLine>& lines)
{
    QStringList texts;
    for (const TLine& line : lines)
        texts.append(QStringLiteral("%1;%2;%3")
                         .arg(QString::number(line.Calibration.AcrossMm, 'g', 8),
                              QString::number(line.Calibration.DownMm, 'g', 8), line.Printer));
    if (!WriteSettingsList(QString::fromUtf8(kSheetSettingsKey), kListName, texts, kMaxCalibrations))
        throw ECalibration(SheetSettingsNotSavedText());
}

}  // namespace

void CheckRulerLength(double mm)
{
    if (!(mm >= kMinRulerMm && mm <= kMaxRulerMm))
        throw ECalibration(MessageText(Msg::kMeasureOutOfRange).arg(FormatNumber(mm, -1)));
}

std::optional<TCalibration> LoadCalibration(const QString& printerName)
{
    for (const TLine& line : LoadAll())
        if (line.Printer == printerName)
            return line.Calibration;
    return std::nullopt;
}

void SaveCalibration(const QString& printerName, const TCalibration& calibration)
{
    CheckRulerLength(calibration.AcrossMm);
    CheckRulerLength(calibration.DownMm);
    std::vector<TLine> lines = LoadAll();
    std::erase_if(lines, [&](const TLine& l) { return l.Printer == printerName; });
    lines.push_back({printerName, calibration});
    SaveAll(lines);
}

void ForgetCalibration(const QString& printerName)
{
    std::vector<TLine> lines = LoadAll();
    if (std::erase_if(lines, [&](const TLine& l) { return l.Printer == printerName; }) > 0)
        SaveAll(lines);
}

int CalibratedMmToPixels(double Mm, int Dpi, std::optional<double> factor)
{
    if (Dpi == 0)
        return 0;
    if (!factor && Mm != std::floor(Mm)) {
        // A length given in inches has a whole number of micrometres, and
        // 25,400 of them make an inch: the division is exact, and 2 in. at
        // 300 dpi is 600 pixels, not 599 as the floating-point steps make it.
        const long double micrometres = std::round(static_cast<long double>(Mm) * 1000);
        const long double pixels = std::floor(micrometres * Dpi / 25400);
        return static_cast<int>(std::clamp<long double>(pixels, INT_MIN, INT_MAX));
    }
    // The same two steps as the uncalibrated size: the pixel's length first,
    // then the length divided by it. Whole millimetres keep them, so every
    // millimetre size prints to the pixel as it always has.
    const long double pixelMm = 25.4L / Dpi;
    const long double mm = factor ? static_cast<long double>(Mm) * static_cast<long double>(*factor) : Mm;
    const long double pixels = mm / pixelMm;
    return static_cast<int>(std::clamp<long double>(pixels, INT_MIN, INT_MAX));
}
