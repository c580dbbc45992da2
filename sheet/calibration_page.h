#pragma once

#include <QPoint>

class QPainter;

/// Where the calibration page's rulers were drawn, in device pixels: both
/// start at Corner; the across ruler ends at AcrossEnd, the down one at DownEnd.
struct TCalibrationRulers {
    QPoint Corner;
    QPoint AcrossEnd;
    QPoint DownEnd;
};

/// Draws the calibration page: two rulers of 100 mm meeting at a corner 10 mm
/// inside (offsetX, offsetY), one across and one down, with a tick every
/// millimetre (longer every 5 and 10), numbers every 10 mm, a caption on each
/// and a line asking to measure them. Lengths follow dpiX across and dpiY
/// down, with no calibration applied: this page is what calibration measures.
/// Black on whatever the canvas holds; text sizes are set in pixels, so a
/// page buffer draws like the printer's page.
TCalibrationRulers DrawCalibrationPage(QPainter& painter, int dpiX, int dpiY, int offsetX, int offsetY);
