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
    jobPages_.clear();
    startPage();
}

void TTestPrinter::startPage()
{
    page_ = QImage(caps_[static_cast<std::size_t>(TDeviceCap::HorzRes)],
                   caps_[static_cast<std::size_t>(TDeviceCap::VertRes)], QImage::Format_RGB32);
    if (page_.isNull()) {
        jobPages_.clear();
        throw EPrinter(QStringLiteral("Unable to start a print job on \"%1\"").arg(name_));
    }
    page_.fill(Qt::white);
    painter_.begin(&page_);
}

void TTestPrinter::newPage()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    painter_.end();
    jobPages_.push_back(std::exchange(page_, QImage()));
    try {
        startPage();
    } catch (const EPrinter&) {
        ++aborted_;
        throw;
    }
}

void TTestPrinter::endDoc()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    painter_.end();
    jobPages_.push_back(std::exchange(page_, QImage()));
    jobs_.push_back(static_cast<int>(jobPages_.size()));
    for (QImage& page : jobPages_)
        printed_.push_back(std::move(page));
    jobPages_.clear();
}

void TTestPrinter::abort() noexcept
{
    if (!printing())
        return;
    painter_.end();
    page_ = QImage();
    jobPages_.clear();
    ++aborted_;
}

QPainter& TTestPrinter::canvas()
{
    if (!printing())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    return painter_;
}
