#include "calibration_print.h"

#include "bitmap32.h"
#include "calibration_page.h"
#include "printer.h"
#include "sheet_render.h"

#include <QPainter>

namespace {

void drawOn(QPainter& canvas, const TPrinterDevice& printer)
{
    DrawCalibrationPage(canvas, printer.caps(TDeviceCap::LogPixelsX), printer.caps(TDeviceCap::LogPixelsY),
                        printer.caps(TDeviceCap::PhysicalOffsetX), printer.caps(TDeviceCap::PhysicalOffsetY));
}

}  // namespace

void PrintCalibrationPage()
{
    TPrinterDevice& printer = Printer();
    TPrintJob job(printer);
    drawOn(job.Canvas(), printer);
    job.End();
}

void RenderCalibrationPage(TBitmap32& Page)
{
    const TPrinterDevice& printer = Printer();
    Page.SetSize(printer.caps(TDeviceCap::HorzRes), printer.caps(TDeviceCap::VertRes));
    Page.Clear(clWhite32);
    if (Page.Empty())
        return;
    drawOn(Page.Canvas(), printer);
    Page.Changed();
}

void SaveCalibrationPageAsJpeg(const QString& FileName)
{
    TBitmap32 page;
    RenderCalibrationPage(page);
    const TPrinterDevice& printer = Printer();
    SavePageAsJpeg(page, FileName, printer.caps(TDeviceCap::LogPixelsX), printer.caps(TDeviceCap::LogPixelsY));
}
