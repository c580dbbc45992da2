#pragma once

#include "printer_device.h"

#include <QByteArray>
#include <QPainter>

#include <memory>

class QBuffer;
class QPdfWriter;
class QPrinter;
class QPrinterInfo;

/// An installed printer: its settings (queue, paper, orientation,
/// resolution) live in a QPrinter in high resolution, which the print dialog
/// changes. Its capabilities are read from it each time: the page is the
/// paint rectangle in device pixels, the resolution the printer's, and the
/// physical offsets the paint rectangle's distance from the paper's edges.
/// The canvas's origin is the printable area's top-left corner.
///
/// A job paints PDF pages of the printer's paper at its resolution in
/// memory; an image drawn several times is stored once. EndDoc hands the
/// finished document to the CUPS queue as one job through the client library (TCupsQueue),
/// which checks first that the queue accepts jobs and is not stopped, and
/// reports the job's id; or, when the print dialog chose a file, writes the
/// PDF there. An aborted job sends and writes nothing.
class TQtPrinter : public TPrinterDevice {
public:
    explicit TQtPrinter(const QPrinterInfo& info);
    /// Takes over a printer that is already set up (by a print dialog).
    explicit TQtPrinter(std::unique_ptr<QPrinter> printer);
    ~TQtPrinter() override;

    /// The printer itself, for a print dialog to change; not during a job.
    QPrinter& Device() { return *FPrinter; }

    int Caps(TDeviceCap cap) const override;
    QString Name() const override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() noexcept override;
    bool Printing() const override { return FPainter.isActive(); }
    QPainter& Canvas() override;

    /// The id CUPS gave the last job that EndDoc handed over; 0 when none did.
    int LastJobId() const { return FJobId; }

private:
    bool printsToFile() const;
    void discardPage() noexcept;

    std::unique_ptr<QPrinter> FPrinter;
    QByteArray FPdf;
    std::unique_ptr<QBuffer> FBuffer;
    std::unique_ptr<QPdfWriter> FWriter;
    QPainter FPainter;
    int FJobId = 0;
};
