#pragma once

#include "printer_device.h"

#include <QPainter>

#include <memory>

class QPicture;
class QPrinter;
class QPrinterInfo;

/// An installed printer, driven through QPrinter in high resolution (the
/// CUPS backend on Linux). Its capabilities are read from the printer each
/// time: the page is the paint rectangle in device pixels, the resolution
/// the printer's, and the physical offsets the paint rectangle's distance
/// from the paper's edges. The canvas's origin is the printable area's
/// top-left corner.
///
/// The page of a job is recorded first and sent to the printer as a whole by
/// endDoc: the print engine cannot take back what it was given, and only so
/// does an aborted job send nothing.
class TQtPrinter : public TPrinterDevice {
public:
    explicit TQtPrinter(const QPrinterInfo& info);
    /// Takes over a printer that is already set up (by a print dialog).
    explicit TQtPrinter(std::unique_ptr<QPrinter> printer);
    ~TQtPrinter() override;

    /// The printer itself, for a print dialog to change; not during a job.
    QPrinter& device() { return *printer_; }

    int caps(TDeviceCap cap) const override;
    QString name() const override;
    void beginDoc() override;
    void endDoc() override;
    void abort() noexcept override;
    bool printing() const override { return painter_.isActive(); }
    QPainter& canvas() override;

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPicture> page_;
    QPainter painter_;
};
