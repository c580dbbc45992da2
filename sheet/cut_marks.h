#pragma once

#include <QColor>
#include <QRect>

#include <vector>

class QPainter;

/// The grid of a sheet in device pixels, as the sheet printer lays it out:
/// place (col, row) stands at Offset + col x (Cell + Gap), and the page is
/// PageWidth x PageHeight.
struct TSheetGrid {
    int Columns = 0;
    int Rows = 0;
    int CellWidth = 0;
    int CellHeight = 0;
    int GapX = 0;
    int GapY = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    int PageWidth = 0;
    int PageHeight = 0;

    /// The rectangle of place `index`, counted row by row.
    QRect Place(int index) const;
};

/// What is drawn to guide the scissors, in device pixels.
struct TCutMarks {
    /// Short strokes along the cells' edge lines, outside every cell.
    std::vector<QRect> Marks;
    /// One-pixel lines on a cell's border where its photo leaves it white.
    std::vector<QRect> Outlines;
};

/// How long a mark reaches from a cell's corner, and how thick it is.
inline constexpr double kCutMarkLengthMm = 3.0;
inline constexpr double kCutMarkThicknessMm = 0.1;
/// The marks' and outlines' colour: visible on white, quiet beside a photo.
inline const QColor kCutMarkColour{128, 128, 128};

/// The marks of the first photoInCell.size() places of `grid`; entry i is
/// where the photo of place i lies inside its cell (cell coordinates).
///
/// At each corner of a place holding a photo, a mark continues each of the
/// two edges outward into the gap or margin, kCutMarkLengthMm long or as far
/// as the gap (the page) allows, kCutMarkThicknessMm thick but at least one
/// pixel, centred on the edge line: so marks lie in the gaps and margins
/// only, never over any place. A place whose photo does not cover its cell
/// gets a one-pixel outline on the parts of its border the photo leaves white.
TCutMarks CutMarksFor(const TSheetGrid& grid, const std::vector<QRect>& photoInCell, int dpiX, int dpiY);

/// Fills every mark and outline with kCutMarkColour, without antialiasing.
void DrawCutMarks(QPainter& painter, const TCutMarks& marks);
