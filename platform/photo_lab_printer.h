#pragma once

#include "virtual_printer.h"

#include <QString>
#include <QStringList>

#include <memory>

/// A photo lab's or kiosk's print: a small paper at 300 dpi printed to the
/// edge, which its "Save as image" page becomes. The paper is turned to
/// whichever orientation holds more copies (SetLandscape, from the sheet
/// printer); its jobs write a PDF of the paper as any virtual printer does.
class TPhotoLabPrinter : public TVirtualPrinter {
public:
    static constexpr int kResolution = 300;

    /// `name` for the given paper in hundredths of a millimetre, portrait.
    TPhotoLabPrinter(const QString& name, int paperWidth, int paperHeight);

    /// Turns the paper; not during a job (EPrinter).
    void SetLandscape(bool landscape);
    bool Landscape() const { return FLandscape; }
    /// The printable area in pixels of either orientation.
    int WidthPixels(bool landscape) const;
    int HeightPixels(bool landscape) const { return WidthPixels(!landscape); }

private:
    int FPaperWidth;
    int FPaperHeight;
    bool FLandscape = false;
};

/// The built-in photo lab printers' names, in the order they are offered:
/// "Photo lab 10 × 15 cm", "Photo lab 4 × 6 in.".
QStringList PhotoLabPrinterNames();

/// The photo lab printer of that name, also reached by "lab-10x15" and
/// "lab-4x6"; null for any other name.
std::unique_ptr<TPhotoLabPrinter> PhotoLabPrinterNamed(const QString& name);
