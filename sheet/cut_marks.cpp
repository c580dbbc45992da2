#include "cut_marks.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int MmToDevice(double mm, int dpi)
{
    return static_cast<int>(std::lround(mm * dpi / 25.4));
}

void AddUnique(std::vector<QRect>& rects, const QRect& r)
{
    if (!r.isEmpty() && std::find(rects.begin(), rects.end(), r) == rects.end())
        rects.push_back(r);
}

// The parts of the one-pixel border line `line` that `photo` leaves uncovered.
void AddUncovered(std::vector<QRect>& outlines, const QRect& line, const QRect& photo)
{
    const QRect covered = line.intersected(photo);
    if (covered.isEmpty()) {
        AddUnique(outlines, line);
        return;
    }
    if (line.width() > 1) {
        AddUnique(outlines, QRect(QPoint(line.left(), line.top()), QPoint(covered.left() - 1, line.bottom())));
        AddUnique(outlines, QRect(QPoint(covered.right() + 1, line.top()), QPoint(line.right(), line.bottom())));
    } else {
        AddUnique(outlines, QRect(QPoint(line.left(), line.top()), QPoint(line.right(), covered.top() - 1)));
        AddUnique(outlines, QRect(QPoint(line.left(), covered.bottom() + 1), QPoint(line.right(), line.bottom())));
    }
}

}  // namespace

QRect TSheetGrid::Place(int index) const
{
    const int col = Columns > 0 ? index % Columns : 0;
    const int row = Columns > 0 ? index / Columns : 0;
    return {OffsetX + col * (CellWidth + GapX), OffsetY + row * (CellHeight + GapY), CellWidth, CellHeight};
}

TCutMarks CutMarksFor(const TSheetGrid& grid, const std::vector<QRect>& photoInCell, int dpiX, int dpiY)
{
    TCutMarks result;
    const QRect page(0, 0, grid.PageWidth, grid.PageHeight);
    if (grid.Columns <= 0 || grid.Rows <= 0 || grid.CellWidth <= 0 || grid.CellHeight <= 0)
        return result;
    const int places = std::min<int>(static_cast<int>(photoInCell.size()), grid.Columns * grid.Rows);
    // Horizontal strokes are thick in y, vertical ones in x.
    const int thickY = std::max(1, MmToDevice(kCutMarkThicknessMm, dpiY));
    const int thickX = std::max(1, MmToDevice(kCutMarkThicknessMm, dpiX));
    const int lengthX = std::max(1, MmToDevice(kCutMarkLengthMm, dpiX));
    const int lengthY = std::max(1, MmToDevice(kCutMarkLengthMm, dpiY));

    for (int i = 0; i < places; ++i) {
        const QRect cell = grid.Place(i);
        const int col = i % grid.Columns;
        const int row = i / grid.Columns;
        // Free paper beside the cell: the gap to the neighbour, or the margin
        // to the page's edge.
        const int left = col > 0 ? grid.GapX : cell.left();
        const int right = col < grid.Columns - 1 ? grid.GapX : grid.PageWidth - (cell.left() + cell.width());
        const int above = row > 0 ? grid.GapY : cell.top();
        const int below = row < grid.Rows - 1 ? grid.GapY : grid.PageHeight - (cell.top() + cell.height());
        const int x0 = cell.left();
        const int x1 = cell.left() + cell.width();  // the edge line after the last column
        const int y0 = cell.top();
        const int y1 = cell.top() + cell.height();

        for (const int y : {y0, y1}) {
            const int top = y - thickY / 2;
            if (left > 0)
                AddUnique(result.Marks, QRect(x0 - std::min(lengthX, left), top, std::min(lengthX, left), thickY));
            if (right > 0)
                AddUnique(result.Marks, QRect(x1, top, std::min(lengthX, right), thickY));
        }
        for (const int x : {x0, x1}) {
            const int l = x - thickX / 2;
            if (above > 0)
                AddUnique(result.Marks, QRect(l, y0 - std::min(lengthY, above), thickX, std::min(lengthY, above)));
            if (below > 0)
                AddUnique(result.Marks, QRect(l, y1, thickX, std::min(lengthY, below)));
        }

        const QRect photo = photoInCell[static_cast<std::size_t>(i)].translated(cell.topLeft()).intersected(cell);
        if (photo == cell)
            continue;
        AddUncovered(result.Outlines, QRect(cell.left(), cell.top(), cell.width(), 1), photo);
        AddUncovered(result.Outlines, QRect(cell.left(), cell.bottom(), cell.width(), 1), photo);
        AddUncovered(result.Outlines, QRect(cell.left(), cell.top(), 1, cell.height()), photo);
        AddUncovered(result.Outlines, QRect(cell.right(), cell.top(), 1, cell.height()), photo);
    }
    // Strokes along the page's own edge would fall off the paper.
    std::vector<QRect> onPage;
    for (const QRect& m : result.Marks)
        AddUnique(onPage, m.intersected(page));
    result.Marks = std::move(onPage);
    return result;
}

void DrawCutMarks(QPainter& painter, const TCutMarks& marks)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& r : marks.Marks)
        painter.fillRect(r, kCutMarkColour);
    for (const QRect& r : marks.Outlines)
        painter.fillRect(r, kCutMarkColour);
    painter.restore();
}
