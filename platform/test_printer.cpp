#include "test_printer.h"

#include <utility>

TTestPrinter::TTestPrinter(int horzRes, int vertRes, int dpiX, int dpiY, int offsetX, int offsetY)
{
    SetCaps(TDeviceCap::HorzRes, horzRes);
    SetCaps(TDeviceCap::VertRes, vertRes);
    SetCaps(TDeviceCap::LogPixelsX, dpiX);
    SetCaps(TDeviceCap::LogPixelsY, dpiY);
    SetCaps(TDeviceCap::PhysicalOffsetX, offsetX);
    SetCaps(TDeviceCap::PhysicalOffsetY, offsetY);
}

TTestPrinter::~TTestPrinter()
{
    Abort();
}

void TTestPrinter::SetCaps(TDeviceCap cap, int value)
{
    FCaps[static_cast<std::size_t>(cap)] = value;
}

int TTestPrinter::Caps(TDeviceCap cap) const
{
    if (FFailWhilePrinting && Printing())
        throw EPrinter(QStringLiteral("The printer \"%1\" does not respond").arg(FName));
    return FCaps[static_cast<std::size_t>(cap)];
}

void TTestPrinter::BeginDoc()
{
    if (Printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (FFailBeginDoc)
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(FName));
    FJobPages.clear();
    startPage();
}

void TTestPrinter::startPage()
{
    FPage = QImage(FCaps[static_cast<std::size_t>(TDeviceCap::HorzRes)],
                   FCaps[static_cast<std::size_t>(TDeviceCap::VertRes)], QImage::Format_RGB32);
    if (FPage.isNull()) {
        FJobPages.clear();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(FName));
    }
    FPage.fill(Qt::white);
    FPainter.begin(&FPage);
}

void TTestPrinter::NewPage()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FPainter.end();
    FJobPages.push_back(std::exchange(FPage, QImage()));
    try {
        startPage();
    } catch (const EPrinter&) {
        ++FAborted;
        throw;
    }
}

void TTestPrinter::EndDoc()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    FPainter.end();
    FJobPages.push_back(std::exchange(FPage, QImage()));
    FJobs.push_back(static_cast<int>(FJobPages.size()));
    for (QImage& page : FJobPages)
        FPrinted.push_back(std::move(page));
    FJobPages.clear();
}

void TTestPrinter::Abort() noexcept
{
    if (!Printing())
        return;
    FPainter.end();
    FPage = QImage();
    FJobPages.clear();
    ++FAborted;
}

QPainter& TTestPrinter::Canvas()
{
    if (!Printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return FPainter;
}
