#include "sheet_render.h"

#include "bitmap32.h"
#include "image_view.h"
#include "jpeg_image.h"
#include "printer.h"
#include "sheet_printer.h"

#include <QPainter>

#include <cmath>

TRect PhotoRectInCell(int PhotoWidth, int PhotoHeight, int CellWidth, int CellHeight)
{
    TRect r = Rect(0, 0, CellWidth, CellHeight);
    if (PhotoWidth <= 0 || PhotoHeight <= 0 || CellWidth <= 0 || CellHeight <= 0)
        return r;
    const double rw = static_cast<double>(PhotoWidth) / CellWidth;
    const double rh = static_cast<double>(PhotoHeight) / CellHeight;
    // Evaluated in long double: in doubles the 1200 x 1600 photo of a
    // 826 x 1062 cell lands on 796.5 exactly and rounds the other way.
    if (rw < rh)
        r.Right = static_cast<int>(std::nearbyintl(static_cast<long double>(CellWidth) * rw / rh));
    else
        r.Bottom = static_cast<int>(std::nearbyintl(static_cast<long double>(CellHeight) * rh / rw));
    return r;
}

void RenderPhotoCell(TCustomImage32& PhotoView, TIDPrinter& SheetPrinter)
{
    TBitmap32& cell = SheetPrinter.Cell();
    cell.Clear(clWhite32);
    const TRect r = PhotoRectInCell(PhotoView.Bitmap().Width(), PhotoView.Bitmap().Height(),
                                    cell.Width(), cell.Height());
    PhotoView.PaintTo(cell, r);
}

void RenderPage(TIDPrinter& SheetPrinter, TBitmap32& Page)
{
    TPrinterDevice& printer = Printer();
    Page.SetWidth(printer.caps(TDeviceCap::HorzRes));
    Page.SetHeight(printer.caps(TDeviceCap::VertRes));
    Page.Clear(clWhite32);
    if (Page.Empty())
        return;
    SheetPrinter.DrawSheet(Page.Canvas());
    Page.Changed();
}

void SavePageAsJpeg(const TBitmap32& Page, const QString& FileName)
{
    QImage bitmap;
    Page.AssignTo(bitmap);
    TJPEGImage jpeg;
    jpeg.Assign(bitmap);
    jpeg.SaveToFile(FileName);
}
