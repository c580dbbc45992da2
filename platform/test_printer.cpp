#include "test_printer.h"

#include <utility>

TTestPrinter::TTestPrinter(int horzRes, int vertRes, int dpiX, int dpiY, int offsetX, int offsetY)
{
    setCaps(TDeviceCap::HorzRes, horzRes);
    setCaps(TDeviceCap::VertRes, vertRes);
    setCaps(TDeviceCap::LogPixelsX, dpiX);
    setCaps(TDeviceCap::LogPixelsY, dpiY);
    setCaps(TDeviceCap::PhysicalOffsetX, offsetX);
    setCaps(TDeviceCap::PhysicalOffsetY, offsetY);
}

TTestPrinter::~TTestPrinter()
{
    abort();
}

void TTestPrinter::setCaps(TDeviceCap cap, int value)
{
    caps_[static_cast<std::size_t>(cap)] = value;
}

int TTestPrinter::caps(TDeviceCap cap) const
{
    if (failWhilePrinting_ && printing())
        throw EPrinter(QStringLiteral("The printer \"%1\" does not respond").arg(name_));
    return caps_[static_cast<std::size_t>(cap)];
}

void TTestPrinter::beginDoc()
{
    if (printing())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (failBeginDoc_)
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(name_));
    page_ = QImage(caps_[static_cast<std::size_t>(TDeviceCap::HorzRes)],
                   caps_[static_cast<std::size_t>(TDeviceCap::VertRes)], QImage::Format_RGB32);
    if (page_.isNull())
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(name_));
    page_.fill(Qt::white);
    painter_.begin(&page_);
}

void TTestPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    painter_.end();
    printed_.push_back(std::exchange(page_, QImage()));
}

void TTestPrinter::abort() noexcept
{
    if (!printing())
        return;
    painter_.end();
    page_ = QImage();
    ++aborted_;
}

QPainter& TTestPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return painter_;
}
