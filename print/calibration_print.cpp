#include "calibration_print.h"

#include "bitmap32.h"
#include "calibration_page.h"
#include "printer_device.h"
#include "sheet_render.h"

#include <QPainter>

namespace {

void drawOn(QPainter& canvas, const TPrinterDevice& printer)
{
    DrawCalibrationPage(canvas, printer.Caps(TDeviceCap::LogPixelsX), printer.Caps(TDeviceCap::LogPixelsY),
                        printer.Caps(TDeviceCap::PhysicalOffsetX), printer.Caps(TDeviceCap::PhysicalOffsetY));
}

}  // namespace

void PrintCalibrationPage(TPrinterDevice& Printer)
{
    TPrintJob job(Printer);
    drawOn(job.Canvas(), Printer);
    job.End();
}

void RenderCalibrationPage(const TPrinterDevice& Printer, TBitmap32& Page)
{
    Page.SetSize(Printer.Caps(TDeviceCap::HorzRes), Printer.Caps(TDeviceCap::VertRes));
    Page.Clear(clWhite32);
    if (Page.Empty())
        return;
    drawOn(Page.Canvas(), Printer);
    Page.Changed();
}

void SaveCalibrationPageAsJpeg(const TPrinterDevice& Printer, const QString& FileName)
{
    TBitmap32 page;
    RenderCalibrationPage(Printer, page);
    SavePageAsJpeg(page, FileName, Printer.Caps(TDeviceCap::LogPixelsX), Printer.Caps(TDeviceCap::LogPixelsY));
}
